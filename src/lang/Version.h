#pragma once
// The program's version as the main window caption and the About dialog show it.

#include <string>

namespace lang {

// The four numbers of the program's version joined by "." (major.minor.release.build), e.g. "1.7.3.0".
std::string GetAppVersion();

}  // namespace lang
