#pragma once
// The program's message box: an icon, the text and an OK button. A line wraps only between words, so an SMS
// command of the help texts (which holds no blank) is never broken; the box fits the screen, the text
// scrolling in it when it is taller, so that OK is always in reach.

#include <QDialog>

#include "ui/Application.h"

class QLabel;
class QPushButton;

namespace gui {

class MessageDialog : public QDialog {
  Q_OBJECT
 public:
  // The text is shown as written, never read as markup (help texts contain "<" and ">").
  // The box fits the area given (the owner's screen's available area when none is).
  MessageDialog(const QString& text, const QString& caption, ui::MessageIcon icon, QWidget* owner = nullptr,
                QSize area = QSize());

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
