#include "gui/QtText.h"

#include "platform/TextCodec.h"

namespace gui {

QString ToQt(const std::string& gbk) { return QString::fromStdString(platform::GbkToUtf8(gbk)); }

std::string FromQt(const QString& text) { return platform::Utf8ToGbk(text.toStdString()); }

QString ToQtMultiLine(const std::string& gbk) {
  QString text = ToQt(gbk);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace gui
