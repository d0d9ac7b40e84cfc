#pragma once
// Rows of the information log's commands: saving it to a file and its time stamps. Like the built-in rows,
// lang.txt can replace each of them by its key.

#include "lang/LangRows.h"

namespace lang {

inline constexpr LangRow lang_Menu_SaveLog{"lang_Menu_SaveLog", "保存日志...", "Save log..."};
inline constexpr LangRow lang_Menu_TimeStamps{"lang_Menu_TimeStamps", "日志显示时间",
                                              "Time stamps in the log"};
// The save dialog's caption.
inline constexpr LangRow lang_SaveLog_Title{"lang_SaveLog_Title", "保存日志", "Save log"};
// Followed by the file's path and the reason, each on a line of its own.
inline constexpr LangRow lang_SaveLog_Failed{"lang_SaveLog_Failed", "日志未能保存：",
                                             "The log could not be saved:"};

}  // namespace lang
