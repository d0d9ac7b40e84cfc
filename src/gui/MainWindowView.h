#pragma once
// The main window drawn from its model: the PC port group at top left, the device parameter group with the
// three action buttons under it, the information log on the right, and the main menu. The client area is
// 718 x 512 at least; a larger window gives the log the room, the parameter column keeping its size. The
// window comes up where the user left it (the form's Place), else in the middle of the screen.

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
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPortGroup(QWidget* client);
  void BuildParamGroup(QWidget* client);
  void BuildActionButtons(QWidget* client);
  void BuildLog(QWidget* client);
  void BuildMenu();
  void SetFocusOrder();
  void FitLogToClient();
  // Shows the window at the form's Place, kept on a screen that is there.
  void ShowAtPlace();
  // Records where the window is into the form's Place once it is away from where it first came up.
  void KeepPlace();

  ui::TMainFormDesign& form_;
  std::function<void()> onCloseRequest_;
  ModelBinder binder_;
  std::vector<QWidget*> focusOrder_;
  QWidget* clear_ = nullptr;
  QWidget* log_ = nullptr;
  QWidget* command_ = nullptr;
  QWidget* send_ = nullptr;
  bool placed_ = false;
  ui::WindowPlace designedPlace_;
};

// Puts a top-level window in the middle of the screen it is on.
void CentreOnScreen(QWidget& window);

}  // namespace gui
