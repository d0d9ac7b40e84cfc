#pragma once
// Rows of the window's port list and of its configuration files. Like the built-in rows, lang.txt can
// replace each of them by its key.

#include "lang/LangRows.h"

namespace lang {

// Follows "COM3" in the port list when the device the name opens is not there.
inline constexpr LangRow lang_Port_NotPresent{"lang_Port_NotPresent", "（不存在）", " (not present)"};
// Follows the name of the adapter chosen last time when it is not plugged in now.
inline constexpr LangRow lang_Port_Missing{"lang_Port_Missing", "（未连接）", " (not connected)"};

}  // namespace lang
