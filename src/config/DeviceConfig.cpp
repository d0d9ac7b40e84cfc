#include "config/DeviceConfig.h"

#include "config/Encoding.h"
#include "ui/Tags.h"

namespace config {

TDeviceConfig::TDeviceConfig(ui::TMainFormDesign& form, std::unique_ptr<lang::TLangList>& langList,
                             serial::CommandPort& port, ui::Application& app)
    : form_(form), langList_(langList), port_(port), app_(app) {
  form_.tmr_TimeOut.OnTimer = [this](ui::TTimer& sender) { tmr_TimeOutTimer(sender); };
  form_.tmr_SendInfo.OnTimer = [this](ui::TTimer& sender) { tmr_SendInfoTimer(sender); };
  form_.chk_DevID.OnClick = [this](ui::Control& sender) { chk_DevIDClick(sender); };
  form_.chk_HeartbeatFormat.OnClick = [this](ui::Control& sender) { chk_DevIDClick(sender); };
}

std::string TDeviceConfig::Text(const lang::LangRow& row) { return langList_->GetLangText(row); }

void TDeviceConfig::AddInfo(const lang::LangRow& row) { form_.AddInfo(Text(row)); }

void TDeviceConfig::SendSetCommand(int step) {
  if (step < 1 || step > 10) return;
  if (step == 9 || step == 10) SwitchPortBeforeStep(step);
  // Built only now: the pause before steps 9 and 10 handles messages, and the fields are the one copy.
  port_.SendCommand(SetCommandText(form_, step));
}

void TDeviceConfig::SendQuery(int step) {
  if (step < 1 || step > 3) return;
  port_.SendCommand(QueryText(step));
}

void TDeviceConfig::SetFixedApn(const std::string& text) { form_.ShowFixedApn(text); }

void TDeviceConfig::SetOtherApn(const std::string& text) {
  form_.ShowOtherApn(text);
  if (ShowApnDialog) ShowApnDialog();
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
