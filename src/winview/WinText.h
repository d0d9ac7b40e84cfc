#pragma once
// The program's text is GBK (code page 936); the screen's is UTF-16. These are the only crossings, done by
// the system's own code page 936 so that what the window shows is what the DTU and program.ini hold.

#include <string>
#include <string_view>

namespace winview {

std::wstring ToWide(std::string_view gbk);
// Characters code page 936 cannot hold become "?".
std::string FromWide(std::wstring_view text);
// Edits and message boxes break lines only at CR LF: a lone LF or CR from the language file or the DTU
// becomes CR LF.
std::wstring ToWideLines(std::string_view gbk);

}  // namespace winview
