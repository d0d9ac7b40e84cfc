#pragma once
// Message boxes, questions and modal showing on the screen.

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "ui/Application.h"
#include "ui/Form.h"
#include "winview/Win32.h"

namespace winview {

class TopWindow;

class WinDialogHost final : public ui::DialogHost {
 public:
  explicit WinDialogHost(platform::EventLoop& loop) : loop_(loop) {}

  // A message box with one OK button; timers and posted tasks keep being handled while it is open.
  void ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) override;
  // Shows the form's window modally over the window in front and handles messages until the form is hidden
  // again. A form without a window is an error: nobody could ever close it.
  void ShowModal(ui::TForm& form) override;
  // A question with the two buttons named by the texts; No is the default, and Escape answers no.
  bool Ask(const std::string& text, const std::string& caption, const std::string& yes,
           const std::string& no) override;
  // The system's Save As and Open dialogs, over the window in front; nothing when the user cancelled. They
  // override the host's file questions wherever ui::DialogHost has them.
  std::optional<std::string> AskSaveFile(const std::string& caption, const std::string& name) override;
  std::optional<std::string> AskOpenFile(const std::string& caption) override;

  // The window that draws a form; it must stay registered for as long as it lives.
  void RegisterView(ui::TForm& form, TopWindow& view) { views_[&form] = &view; }
  void UnregisterView(ui::TForm& form) { views_.erase(&form); }
  // The window message boxes belong to while no dialog is shown; none before the window exists.
  void SetMainWindow(HWND window) { main_ = window; }
  // The program's language, for the box's own OK; without it the box speaks English.
  void FollowLanguage(std::function<bool()> isChinese) { isChinese_ = std::move(isChinese); }

 private:
  HWND Owner() const;

  platform::EventLoop& loop_;
  std::map<ui::TForm*, TopWindow*> views_;
  HWND main_ = nullptr;
  std::vector<HWND> modal_;  // the modal windows shown now, the front one last
  std::function<bool()> isChinese_;
};

}  // namespace winview
