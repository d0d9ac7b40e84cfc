#pragma once
// What the two dialogs' views share: a fixed-size window with a close button only, centred on the screen at
// its first showing, whose close button closes its form.

#include <QWidget>

#include "gui/ModelBinder.h"
#include "ui/Form.h"

namespace gui {

class DialogView : public QWidget {
  Q_OBJECT
 public:
  DialogView(ui::Application& app, ui::TForm& form, int clientWidth, int clientHeight, QWidget* owner);

  ui::TForm& Form() { return form_; }
  ModelBinder& Binder() { return binder_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

  ModelBinder binder_;

 private:
  ui::TForm& form_;
  bool centred_ = false;
};

}  // namespace gui
