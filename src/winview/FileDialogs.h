#pragma once
// The system's Save As and Open dialogs. Paths are the program's path text (UTF-8 on Windows, see
// platform/FilePath.h); captions are GBK.

#include <optional>
#include <string>

#include "winview/Win32.h"

namespace winview {

// Where to save, offering the name given (a file name or a whole path); nothing when the user cancelled.
// Asks before a file that exists is replaced.
std::optional<std::string> AskSavePath(HWND owner, const std::string& caption, const std::string& name);
// Which existing file to open; nothing when the user cancelled.
std::optional<std::string> AskOpenPath(HWND owner, const std::string& caption);

}  // namespace winview
