// The command box under the log: one command typed by hand, sent as the DTU expects it (CR LF added), its
// answer logged like every other line; technicians need no serial terminal beside the tool.

#include "app/Tfrm_Main.h"

namespace app {

void Tfrm_Main::ShowCommandBox(bool shown) {
  N22.SetChecked(shown);
  edt_Command.SetVisible(shown);
  btn_Send.SetVisible(shown);
  if (shown) edt_Command.SetFocus();
}

void Tfrm_Main::SendTypedCommand() {
  const std::string command = edt_Command.Text();
  if (command.find_first_not_of(' ') == std::string::npos) return;
  if (!Device.SendTyped(command)) return;
  if (commandHistory_.empty() || commandHistory_.back() != command) commandHistory_.push_back(command);
  historyAt_ = commandHistory_.size();
  edt_Command.SetText("");
}

bool Tfrm_Main::CommandBoxKey(ui::TKey key) {
  switch (key) {
    case ui::TKey::Enter:
      SendTypedCommand();
      return true;
    case ui::TKey::Up:
      if (historyAt_ == 0) return true;
      edt_Command.SetText(commandHistory_[--historyAt_]);
      return true;
    case ui::TKey::Down:
      if (historyAt_ >= commandHistory_.size()) return true;
      ++historyAt_;
      edt_Command.SetText(historyAt_ < commandHistory_.size() ? commandHistory_[historyAt_] : "");
      return true;
  }
  return false;
}

}  // namespace app
