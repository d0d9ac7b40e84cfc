#pragma once
// The main window drawn from its model: the PC port group at top left, the device parameter group with the
// three action buttons under it, the information log on the right, and the main menu. Fixed size, client
// area 718 x 512, centred on the screen when first shown, minimise and close buttons only.

#include <QMainWindow>
#include <functional>

#include "gui/ModelBinder.h"
#include "ui/MainFormDesign.h"

namespace gui {

class MainWindowView : public QMainWindow {
  Q_OBJECT
 public:
  // The model must outlive the view. onCloseRequest runs when the user closes the window by its close button
  // (the program's close handling); without one the form is simply closed.
  MainWindowView(ui::Application& app, ui::TMainFormDesign& form, std::function<void()> onCloseRequest = {});

  ui::TMainFormDesign& Form() { return form_; }
  ModelBinder& Binder() { return binder_; }
  // The widgets in keyboard focus order, for the window's own setup and for tests.
  const std::vector<QWidget*>& FocusOrder() const { return focusOrder_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildPortGroup(QWidget* client);
  void BuildParamGroup(QWidget* client);
  void BuildActionButtons(QWidget* client);
  void BuildLog(QWidget* client);
  void BuildMenu();
  void SetFocusOrder();

  ui::TMainFormDesign& form_;
  std::function<void()> onCloseRequest_;
  ModelBinder binder_;
  std::vector<QWidget*> focusOrder_;
  bool centred_ = false;
};

// Puts a top-level window in the middle of the screen it is on.
void CentreOnScreen(QWidget& window);

}  // namespace gui
