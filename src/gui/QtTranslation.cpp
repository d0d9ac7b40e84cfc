#include "gui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace gui {

QtTranslation::QtTranslation(ui::Application& app, std::function<bool()> isChinese)
    : isChinese_(std::move(isChinese)), binder_(app) {
  binder_.Also([this] { Follow(isChinese_ && isChinese_()); });
  binder_.Refresh(true);
}

QtTranslation::~QtTranslation() { Follow(false); }

void QtTranslation::Follow(bool chinese) {
  if (chinese == installed_) return;
  if (!chinese) {
    QCoreApplication::removeTranslator(&translator_);
    installed_ = false;
    return;
  }
  // Without the translations package Qt's texts simply stay English; nothing else depends on them.
  if (unavailable_) return;
  if (translator_.isEmpty() &&
      !translator_.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    unavailable_ = true;
    return;
  }
  installed_ = QCoreApplication::installTranslator(&translator_);
}

}  // namespace gui
