#pragma once
// The main window drawn from its model: the PC port group at top left, the device parameter group with the
// three action buttons under it, the information log on the right with the command box under it, and the
// main menu. The client area is 718 x 512 at least; a larger window gives the log the room, the parameter
// column keeping its size. The window comes up where the user left it (the form's Place), else in the middle
// of the screen.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/MainFormDesign.h"
#include "winview/MenuBar.h"
#include "winview/TopWindow.h"

namespace winview {

class MainWindow final : public TopWindow {
 public:
  // The model must outlive the window. onCloseRequest runs when the user closes the window by its close
  // button (the program's close handling); without one the form is simply closed.
  MainWindow(ui::Application& app, ui::TMainFormDesign& form, std::function<void()> onCloseRequest = {});

  ui::TMainFormDesign& Form() { return form_; }
  // The native control drawing the named model control; nullptr for none.
  HWND Control(const std::string& name) const;

  // Escape ends what runs (Tools > Cancel), from whichever control has the focus.
  void Escape() override;

 protected:
  void CloseRequested() override;
  void FirstPlace() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildPortGroup();
  void BuildParamGroup();
  void BuildActionButtons();
  void BuildLog();
  void SetFocusOrder();
  // Gives the log what the client area has beyond the designed size, less the command box's row when shown.
  void FitLogToClient();
  // Records where the window is into the form's Place once it is away from where it first came up.
  void KeepPlace();
  // The window's place when not maximised, and whether it is maximised.
  ui::WindowPlace NormalPlace() const;
  // Keeps the native control under the model control's name.
  HWND Keep(ui::Control& model, HWND control);

  ui::TMainFormDesign& form_;
  std::function<void()> onCloseRequest_;
  std::map<std::string, HWND> controls_;
  std::unique_ptr<MenuBar> menu_;
  SIZE smallest_{};  // the designed window size: the least the frame may be dragged to
  bool placed_ = false;
  ui::WindowPlace designedPlace_;
};

}  // namespace winview
