#include "gui/QtDialogHost.h"

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
