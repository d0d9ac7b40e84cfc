#include "winview/DialogWindow.h"

#include "winview/WinText.h"

namespace winview {

DialogWindow::DialogWindow(ui::Application& app, ui::TForm& form, int clientWidth, int clientHeight,
                           HWND owner)
    : TopWindow(app, L"DtuConfigDialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, owner), form_(form) {
  SetClientSize(clientWidth, clientHeight);
  binder_.Also([this] { SetWindowTextW(Handle(), ToWide(form_.Caption()).c_str()); });
}

void DialogWindow::SetDefaultButton(HWND button) {
  defaultButton_ = button;
  SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_DEFPUSHBUTTON);
}

void DialogWindow::Enter() {
  // A disabled button is not pressed.
  if (defaultButton_ != nullptr && IsWindowEnabled(defaultButton_) != FALSE)
    SendMessageW(defaultButton_, BM_CLICK, 0, 0);
}

void DialogWindow::CloseRequested() {
  // Through the form, as the close button: it closes and nothing is applied.
  binder_.UserAction([this] { form_.Close(); });
  if (!form_.Visible()) Hide();
}

}  // namespace winview
