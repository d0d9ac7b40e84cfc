#pragma once
// The program's text is GBK; the screen's is UTF-16. These two are the only crossings.

#include <QString>
#include <string>

namespace gui {

QString ToQt(const std::string& gbk);
std::string FromQt(const QString& text);
// Message boxes and labels show CR LF as one line break.
QString ToQtMultiLine(const std::string& gbk);

}  // namespace gui
