#include "gui/QtDialogHost.h"

#include <QMessageBox>
#include <QWidget>
#include <stdexcept>

#include "gui/ModelBinder.h"
#include "gui/QtEventLoop.h"
#include "gui/QtText.h"

namespace gui {

void QtDialogHost::ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) {
  QMessageBox box;
  box.setWindowTitle(ToQt(caption));
  // Help texts contain "<" and ">"; they are never markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQtMultiLine(text));
  box.setIcon(icon == ui::MessageIcon::Error         ? QMessageBox::Critical
              : icon == ui::MessageIcon::Information ? QMessageBox::Information
                                                     : QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
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
