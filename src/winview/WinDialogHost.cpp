#include "winview/WinDialogHost.h"

#include <stdexcept>

#include "winview/FileDialogs.h"
#include "winview/MessageWindow.h"
#include "winview/TopWindow.h"
#include "winview/WinText.h"

namespace winview {

HWND WinDialogHost::Owner() const { return modal_.empty() ? main_ : modal_.back(); }

void WinDialogHost::ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) {
  // What the handler changed before its message must be on the screen while the message waits for OK.
  WinBinder::RefreshAll();
  const wchar_t* picture = icon == ui::MessageIcon::Error         ? IDI_ERROR
                           : icon == ui::MessageIcon::Information ? IDI_INFORMATION
                                                                  : nullptr;
  const bool chinese = isChinese_ && isChinese_();
  const MessageChoice ok{{chinese ? L"\u786E\u5B9A" : L"OK"}, 0, 0};
  ShowMessageWindow(loop_, Owner(), ToWideLines(text), ToWide(caption), picture, ok);
}

bool WinDialogHost::Ask(const std::string& text, const std::string& caption, const std::string& yes,
                        const std::string& no) {
  WinBinder::RefreshAll();
  // Overwriting a DTU is never what a stray Enter means: No is the default.
  const MessageChoice question{{ToWide(yes), ToWide(no)}, 1, 1};
  return ShowMessageWindow(loop_, Owner(), ToWideLines(text), ToWide(caption), IDI_QUESTION, question) == 0;
}

std::optional<std::string> WinDialogHost::AskSaveFile(const std::string& caption, const std::string& name) {
  WinBinder::RefreshAll();
  return AskSavePath(Owner(), caption, name);
}

std::optional<std::string> WinDialogHost::AskOpenFile(const std::string& caption) {
  WinBinder::RefreshAll();
  return AskOpenPath(Owner(), caption);
}

void WinDialogHost::ShowModal(ui::TForm& form) {
  const auto found = views_.find(&form);
  if (found == views_.end()) throw std::logic_error("No window to show " + form.Name);
  TopWindow& view = *found->second;
  WinBinder::RefreshAll();
  HWND owner = Owner();
  const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner) != FALSE;
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  modal_.push_back(view.Handle());
  struct HideAtEnd {
    WinDialogHost& host;
    TopWindow& view;
    HWND owner;
    bool enable;
    ~HideAtEnd() {
      host.modal_.pop_back();
      // The owner is enabled again before the dialog goes, so that the system activates it and no other
      // program's window.
      if (enable) EnableWindow(owner, TRUE);
      view.Hide();
      if (owner != nullptr) SetForegroundWindow(owner);
    }
  } hideAtEnd{*this, view, owner, ownerWasEnabled};
  view.Show();
  loop_.RunUntil([&form] { return !form.Visible(); });
}

}  // namespace winview
