#pragma once
// The main window drawn from its model: the PC port group at top left, the device parameter group with the
// three action buttons under it, the information log on the right, and the main menu. Fixed size, client
// area 718 x 512, centred on the screen when first shown, minimise and close buttons only.

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

 private:
  void BuildPortGroup();
  void BuildParamGroup();
  void BuildActionButtons();
  void BuildLog();
  void SetFocusOrder();
  // Keeps the native control under the model control's name.
  HWND Keep(ui::Control& model, HWND control);

  ui::TMainFormDesign& form_;
  std::function<void()> onCloseRequest_;
  std::map<std::string, HWND> controls_;
  std::unique_ptr<MenuBar> menu_;
};

}  // namespace winview
