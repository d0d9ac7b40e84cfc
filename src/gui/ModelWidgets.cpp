#include "gui/ModelWidgets.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <optional>

#include "gui/QtText.h"

namespace gui {
namespace {

class EnterClicks final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat() ||
        (key->modifiers() & ~Qt::KeypadModifier))
      return false;
    static_cast<QAbstractButton*>(watched)->click();
    return true;
  }
};

}  // namespace

void ClickOnEnter(QAbstractButton* button) { button->installEventFilter(new EnterClicks(button)); }

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

ModelComboBox::ModelComboBox(QWidget* parent) : QComboBox(parent) { setFocusPolicy(Qt::StrongFocus); }

void ModelComboBox::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    event->ignore();  // passed on to the window behind the list
    return;
  }
  QComboBox::wheelEvent(event);
}

bool IsTypedCharacter(const QKeyEvent& event) {
  if (event.text().isEmpty()) return false;
  switch (event.key()) {
    // These produce text on X11 (DEL, TAB) but no typed character in a window's edit: Delete edits, Tab moves
    // the focus.
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    default:
      return true;
  }
}

void ModelLineEdit::keyPressEvent(QKeyEvent* event) {
  if (keyDown_ && event->modifiers() == Qt::NoModifier) {
    std::optional<ui::TKey> key;
    if (event->key() == Qt::Key_Up) key = ui::TKey::Up;
    if (event->key() == Qt::Key_Down) key = ui::TKey::Down;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) key = ui::TKey::Enter;
    if (key && keyDown_(*key)) {
      event->accept();
      return;
    }
  }
  if (!filter_ || !IsTypedCharacter(*event)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const std::string typed = FromQt(event->text());
  std::string passed;
  for (char key : typed) {
    if (!filter_(key)) {
      event->accept();  // cancelled: the field does not change
      return;
    }
    passed.push_back(key);
  }
  if (passed == typed) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  // The filter typed another character in place of this one.
  insert(ToQt(passed));
  emit textEdited(text());
  event->accept();
}

void ModelLineEdit::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void ModelComboBox::showPopup() {
  if (beforePopup_) beforePopup_();
  view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
  QComboBox::showPopup();
}

}  // namespace gui
