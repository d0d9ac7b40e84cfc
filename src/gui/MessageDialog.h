#pragma once
// The program's message box: an icon, the text and an OK button. Unlike QMessageBox it never wraps a line:
// the help texts are SMS commands to be typed as shown, one per line, and a break inside one misleads.

#include <QDialog>

#include "ui/Application.h"

class QLabel;
class QPushButton;

namespace gui {

class MessageDialog : public QDialog {
  Q_OBJECT
 public:
  // The text is shown as written, never read as markup (help texts contain "<" and ">").
  MessageDialog(const QString& text, const QString& caption, ui::MessageIcon icon, QWidget* owner = nullptr);

  QString Text() const;
  QLabel* TextLabel() const { return text_; }
  ui::MessageIcon Icon() const { return icon_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  ui::MessageIcon icon_;
  QLabel* text_;
  QPushButton* ok_;
};

}  // namespace gui
