#pragma once
// Message boxes and modal showing on the screen.

#include <map>

#include "ui/Application.h"
#include "ui/Form.h"

class QWidget;

namespace gui {

class QtEventLoop;

class QtDialogHost final : public ui::DialogHost {
 public:
  explicit QtDialogHost(QtEventLoop& loop) : loop_(loop) {}

  // A message box with one OK button; timers and posted tasks keep being handled while it is open.
  void ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) override;
  // Shows the form's view as a modal window and handles events until the form is hidden again. A form
  // without a view is an error: nobody could ever close it.
  void ShowModal(ui::TForm& form) override;
  // The toolkit's save dialog.
  std::optional<std::string> AskSaveFile(const std::string& caption, const std::string& name) override;
  std::optional<std::string> AskOpenFile(const std::string& caption) override;
  // A question box with the two buttons named by the texts; No is the default, and Escape answers no.
  bool Ask(const std::string& text, const std::string& caption, const std::string& yes,
           const std::string& no) override;

  // The view that draws a form; it must stay registered for as long as it lives.
  void RegisterView(ui::TForm& form, QWidget& view) { views_[&form] = &view; }
  void UnregisterView(ui::TForm& form) { views_.erase(&form); }

 private:
  QtEventLoop& loop_;
  std::map<ui::TForm*, QWidget*> views_;
};

}  // namespace gui
