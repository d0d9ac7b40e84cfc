#pragma once
// What the two dialogs share: a fixed-size window with a close button only, owned by the main window,
// centred on the screen at its first showing, whose close button closes its form. As in any dialog, Escape
// closes it the same way and Enter presses the focused button, or else the default one.

#include "ui/Form.h"
#include "winview/TopWindow.h"

namespace winview {

class DialogWindow : public TopWindow {
 public:
  DialogWindow(ui::Application& app, ui::TForm& form, int clientWidth, int clientHeight, HWND owner);

  ui::TForm& Form() { return form_; }
  void Escape() override { CloseRequested(); }
  void Enter() override;

 protected:
  // The button Enter presses while the focus is on no button (the dialog's OK).
  void SetDefaultButton(HWND button);
  void CloseRequested() override;

 private:
  ui::TForm& form_;
  HWND defaultButton_ = nullptr;
};

}  // namespace winview
