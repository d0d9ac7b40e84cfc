#pragma once
// The few widgets whose Qt counterparts lack an event the window models need or behave against the window's
// manners: a label that can be clicked, an edit that runs the model's key filter on every typed character and
// reports a click, and a drop-down list that the mouse wheel cannot change in passing.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <functional>

#include "ui/Controls.h"

class QAbstractButton;

namespace gui {

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class ModelLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;
  // Gets each typed character (one GBK byte at a time) and may change it or cancel it (set it to 0); returns
  // whether the key goes on.
  using KeyFilter = std::function<bool(char& key)>;
  void SetKeyFilter(KeyFilter filter) { filter_ = std::move(filter); }
  // Gets Up, Down, Return and Enter first; returns whether it acted on the key, which then goes no further.
  using KeyDown = std::function<bool(ui::TKey key)>;
  void SetKeyDown(KeyDown keyDown) { keyDown_ = std::move(keyDown); }

 signals:
  void clicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  KeyFilter filter_;
  KeyDown keyDown_;
};

// A drop-down list of the window. It tells its model before the list opens, and opens it as wide as its
// longest item while the box itself stays narrow. Scrolling the window's area must not choose another port
// parity or baud rate (each choice re-opens the port): the wheel changes the list only while it has the
// focus, and a click or Tab gives it the focus.
class ModelComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit ModelComboBox(QWidget* parent = nullptr);
  void SetBeforePopup(std::function<void()> hook) { beforePopup_ = std::move(hook); }
  void showPopup() override;

 protected:
  void wheelEvent(QWheelEvent* event) override;

 private:
  std::function<void()> beforePopup_;
};

// Enter presses the focused button as Space does; Qt leaves Enter to a dialog's default button otherwise.
void ClickOnEnter(QAbstractButton* button);

// Whether a key press is a typed character that a window's key filter sees: printable characters and the
// control characters a keyboard types (Backspace, Ctrl combinations), but not Delete, the arrows, Tab.
bool IsTypedCharacter(const QKeyEvent& event);

}  // namespace gui
