#include "config/DeviceConfig.h"
#include "ui/DeviceFields.h"
#include "ui/Tags.h"

namespace config {

void TDeviceConfig::btn_ReadClick(ui::Control& Sender) {
  switch (Sender.Tag) {
    case ui::tags::kRestoreDefaults:
      RestoreDefaults();
      break;
    case ui::tags::kRead:
      StartRead();
      break;
    case ui::tags::kWriteAll:
      StartWriteAll();
      break;
    default:
      break;
  }
}

void TDeviceConfig::StartRead() {
  ReadActive = true;
  ReadStep = 1;
  readRepliesOk_ = true;
  SendQuery(1);
}

void TDeviceConfig::StartWriteAll() {
  WriteActive = true;
  WriteStep = 1;
  SendSetCommand(1);
}

void TDeviceConfig::RestoreDefaults() {
  // The APN gets its text only: the field keeps its look until the APN choice changes.
  for (const ui::DeviceField& field : ui::DeviceFields()) {
    if (ui::IsRestoredByDefaults(field)) ui::SetFieldDefault(field, form_);
  }
  // Defaults are always written to the DTU: the window wires this button to btn_ReadClick.
  form_.btn_SetAll.Click();
}

void TDeviceConfig::WriteCheck(const std::string& cleaned) {
  // A refusal ("ERROR") must end the write even though it carries capital letters that look like an OK.
  const bool accepted = cleaned.find("OK") != std::string::npos && cleaned.find("ERROR") == std::string::npos;
  if (!accepted) {
    // The reply is already in the log; the steps before it stay applied in the DTU.
    WriteActive = false;
    WriteStep = 1;
    return;
  }
  if (WriteStep < 10) {
    // Raised before the next command is built, so a reply handled during the port switch's pause already
    // belongs to the new step.
    ++WriteStep;
    SendSetCommand(WriteStep);
  } else {
    WriteActive = false;
    WriteStep = 1;
    AddInfo(lang::lang_Info_SetSuccess);
  }
}

void TDeviceConfig::ReadAdvance() {
  if (ReadStep < 3) {
    ++ReadStep;
    SendQuery(ReadStep);
    return;
  }
  ReadActive = false;
  ReadStep = 1;
  if (readRepliesOk_) AddInfo(lang::lang_Info_ReadSuccess);
}

void TDeviceConfig::SwitchPortBeforeStep(int step) {
  // The DTU answered step 8 in the old format and switches after it; step 9's answer comes at the old baud
  // rate and switches that. The PC follows one stage at a time. Setting an index from code raises no change
  // event, so the port is re-opened here once and not again by the lists' handler.
  if (step == 10) form_.cbb_Open_BaudRate.SetItemIndex(form_.cbb_Com_BaudRate.ItemIndex());
  form_.cbb_Open_Parity.SetItemIndex(form_.cbb_Com_Parity.ItemIndex());
  form_.cbb_Open_Byte.SetItemIndex(form_.cbb_Com_Byte.ItemIndex());
  form_.cbb_Open_Stop.SetItemIndex(form_.cbb_Com_Stop.ItemIndex());
  port_.OpenComPort();
  // Gives the adapter time to settle on the new line settings before the next command goes out.
  DelayWithMessages(200);
}

void TDeviceConfig::tmr_TimeOutTimer(ui::TTimer& Sender) {
  EndAllSequences();
  AddInfo(lang::lang_receive_Timeout);
  Sender.SetEnabled(false);
}

void TDeviceConfig::tmr_SendInfoTimer(ui::TTimer& Sender) {
  AddInfo(lang::lang_Info_SendInfo);
  Sender.SetEnabled(false);
}

void TDeviceConfig::EndAllSequences() {
  WriteActive = false;
  WriteStep = 1;
  ReadActive = false;
  ReadStep = 1;
}

}  // namespace config
