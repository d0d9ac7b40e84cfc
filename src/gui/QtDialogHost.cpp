#include "gui/QtDialogHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <stdexcept>

#include "gui/MessageDialog.h"
#include "gui/ModelBinder.h"
#include "gui/QtEventLoop.h"
#include "gui/QtText.h"

namespace gui {

void QtDialogHost::ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) {
  // What the handler changed before its message must be on the screen while the message waits for OK.
  ModelBinder::RefreshAll();
  MessageDialog box(ToQtMultiLine(text), ToQt(caption), icon);
  box.exec();
}

bool QtDialogHost::Ask(const std::string& text, const std::string& caption, const std::string& yes,
                       const std::string& no) {
  ModelBinder::RefreshAll();
  QMessageBox box(QMessageBox::Question, ToQt(caption), ToQtMultiLine(text),
                  QMessageBox::Yes | QMessageBox::No);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Yes)->setText(ToQt(yes));
  box.button(QMessageBox::No)->setText(ToQt(no));
  // Overwriting a DTU is never what a stray Enter means.
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogHost::AskSaveFile(const std::string& caption, const std::string& name) {
  ModelBinder::RefreshAll();
  const QString path =
      QFileDialog::getSaveFileName(QApplication::activeWindow(), ToQt(caption), QString::fromStdString(name));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> QtDialogHost::AskOpenFile(const std::string& caption) {
  ModelBinder::RefreshAll();
  const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), ToQt(caption));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

void QtDialogHost::ShowModal(ui::TForm& form) {
  const auto found = views_.find(&form);
  if (found == views_.end()) throw std::logic_error("No window to show " + form.Name);
  QWidget& view = *found->second;
  ModelBinder::RefreshAll();
  view.setWindowModality(Qt::ApplicationModal);
  view.show();
  view.raise();
  view.activateWindow();
  struct HideAtEnd {
    QWidget& view;
    ~HideAtEnd() { view.hide(); }
  } hideAtEnd{view};
  loop_.RunUntil([&form] { return !form.Visible(); });
}

}  // namespace gui
