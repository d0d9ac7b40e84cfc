#pragma once
// The few widgets whose Qt counterparts lack an event the window models need: a label that can be clicked and
// an edit that runs the model's key filter on every typed character and reports a click.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <functional>

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

// A drop-down list that tells its model before the list opens, and opens it as wide as its longest item
// while the box itself stays narrow.
class ModelComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void SetBeforePopup(std::function<void()> hook) { beforePopup_ = std::move(hook); }
  void showPopup() override;

 private:
  std::function<void()> beforePopup_;
};

class ModelLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;
  // Gets each typed character (one GBK byte at a time) and may change it or cancel it (set it to 0); returns
  // whether the key goes on.
  using KeyFilter = std::function<bool(char& key)>;
  void SetKeyFilter(KeyFilter filter) { filter_ = std::move(filter); }

 signals:
  void clicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  KeyFilter filter_;
};

// Whether a key press is a typed character that a window's key filter sees: printable characters and the
// control characters a keyboard types (Backspace, Ctrl combinations), but not Delete, the arrows, Tab.
bool IsTypedCharacter(const QKeyEvent& event);

}  // namespace gui
