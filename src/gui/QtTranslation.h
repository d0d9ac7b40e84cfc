#pragma once
// Qt's own texts (standard buttons, the edits' context menu) in the program's language: Debian's
// translation of Qt is installed while the program speaks Chinese and removed while it speaks English. The
// language is asked again whenever the models change, so a switch at run time takes effect at once.

#include <QTranslator>
#include <functional>

#include "gui/ModelBinder.h"

namespace gui {

class QtTranslation {
 public:
  // isChinese is the program's current language; it is asked on every redraw of the views.
  QtTranslation(ui::Application& app, std::function<bool()> isChinese);
  ~QtTranslation();
  QtTranslation(const QtTranslation&) = delete;
  QtTranslation& operator=(const QtTranslation&) = delete;

  bool Installed() const { return installed_; }

 private:
  void Follow(bool chinese);

  std::function<bool()> isChinese_;
  QTranslator translator_;
  bool installed_ = false;
  bool unavailable_ = false;  // the translation could not be read; not tried again on every redraw
  ModelBinder binder_;
};

}  // namespace gui
