#include "gui/DialogView.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QShortcut>

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
  // Shortcuts come before the focused widget's own key handling, so an edit's key filter cannot swallow them.
  for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
    connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, [this] { PressEnter(); });
  }
  // Through closeEvent, as the close button: the form closes and nothing is applied.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

void DialogView::SetDefaultButton(QPushButton* button) {
  defaultButton_ = button;
  button->setDefault(true);
}

void DialogView::PressEnter() {
  if (auto* focused = qobject_cast<QAbstractButton*>(focusWidget())) {
    focused->click();
  } else if (defaultButton_) {
    defaultButton_->click();  // does nothing while the button is disabled
  }
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
