#include "config/DeviceConfig.h"

#include "config/Encoding.h"
#include "ui/Tags.h"

namespace config {

TDeviceConfig::TDeviceConfig(ui::TMainFormDesign& form, lang::TLangHolder& lang, TPortControl& port,
                             ui::Application& app)
    : form_(form), lang_(lang), port_(port), app_(app) {
  form_.tmr_TimeOut.OnTimer = [this](ui::TTimer& sender) { tmr_TimeOutTimer(sender); };
  form_.tmr_SendInfo.OnTimer = [this](ui::TTimer& sender) { tmr_SendInfoTimer(sender); };
  form_.chk_DevID.OnClick = [this](ui::Control& sender) { chk_DevIDClick(sender); };
  form_.chk_HeartbeatFormat.OnClick = [this](ui::Control& sender) { chk_DevIDClick(sender); };
  // No trap here: the reply handler catches every error of its own.
  port_.OnReceiveData = [this](const char* buffer, uint16_t length) {
    Comm1ReceiveData(&port_, buffer, length);
  };
  // A lost port answers nothing more: the running sequences end now, not at the time-out.
  port_.OnPortLost = [this] {
    form_.tmr_TimeOut.SetEnabled(false);
    EndAllSequences(TOutcome::PortClosed, port_.LastCommand());
  };
  for (ui::TButton* button : {&form_.btn_Default, &form_.btn_Read, &form_.btn_SetAll}) {
    button->OnClick = [this](ui::Control& sender) { btn_ReadClick(sender); };
  }
}

void TDeviceConfig::AddInfo(const lang::LangRow& row, const std::string& tail) {
  form_.AddInfo(lang_.Text(row) + tail);
}

void TDeviceConfig::SendSetCommand(int step) {
  if (step < 1 || step > 10) return;
  if (step == 9 || step == 10) SwitchPortBeforeStep(step);
  // Built only now: the pause before steps 9 and 10 handles messages, and the fields are the one copy.
  Send(SetCommandText(form_, step), true);
}

void TDeviceConfig::SendQuery(int step) {
  if (step < 1 || step > 3) return;
  Send(QueryText(step), false);
}

void TDeviceConfig::SetFixedApn(const std::string& text) { form_.ShowFixedApn(text); }

void TDeviceConfig::SetOtherApn(const std::string& text) {
  form_.ShowOtherApn(text);
  if (ShowApnDialog) ShowApnDialog(std::nullopt);
}

void TDeviceConfig::chk_DevIDClick(ui::Control& Sender) {
  ui::TEdit* edit = nullptr;
  if (Sender.Tag == ui::tags::kDevIdHex) edit = &form_.edt_DevID;
  if (Sender.Tag == ui::tags::kHeartbeatFormatHex) edit = &form_.edt_HeartbeatFormat;
  const auto* box = dynamic_cast<const ui::TCheckBox*>(&Sender);
  if (edit == nullptr || box == nullptr) return;
  // The conversion finishes before the edit changes, so a bad hex pair leaves the user's text in place.
  edit->SetText(box->Checked() ? AsciiToHex(edit->Text()) : HexToAscii(edit->Text()));
}

void TDeviceConfig::DelayWithMessages(uint32_t ms) { app_.Loop().WaitWithMessages(ms); }

}  // namespace config
