#pragma once
// What the two dialogs' views share: a fixed-size window with a close button only, centred on the screen at
// its first showing, whose close button closes its form. As in any dialog, Escape closes it the same way and
// Enter presses the focused button, or else the default one.

#include <QWidget>

#include "gui/ModelBinder.h"
#include "ui/Form.h"

class QPushButton;

namespace gui {

class DialogView : public QWidget {
  Q_OBJECT
 public:
  DialogView(ui::Application& app, ui::TForm& form, int clientWidth, int clientHeight, QWidget* owner);

  ui::TForm& Form() { return form_; }
  ModelBinder& Binder() { return binder_; }
  // The button Enter presses while the focus is on no button (the dialog's OK).
  void SetDefaultButton(QPushButton* button);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

  ModelBinder binder_;

 private:
  void PressEnter();

  ui::TForm& form_;
  QPushButton* defaultButton_ = nullptr;
  bool centred_ = false;
};

}  // namespace gui
