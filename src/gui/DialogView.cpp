#include "gui/DialogView.h"

#include <QCloseEvent>

#include "gui/MainWindowView.h"
#include "gui/QtText.h"

namespace gui {

DialogView::DialogView(ui::Application& app, ui::TForm& form, int clientWidth, int clientHeight,
                       QWidget* owner)
    : QWidget(owner), binder_(app), form_(form) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setObjectName(QString::fromStdString(form.Name));
  setFixedSize(clientWidth, clientHeight);
  binder_.Also([this] { setWindowTitle(ToQt(form_.Caption())); });
}

void DialogView::closeEvent(QCloseEvent* event) {
  binder_.UserAction([this] { form_.Close(); });
  event->setAccepted(!form_.Visible());
}

void DialogView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(*this);
  }
}

}  // namespace gui
