#pragma once
// Rows of the dialogue's own verdicts and notes: a cancelled or refused action, a DTU that restarted during a
// write, fields the DTU did not keep, lines set aside. Like the built-in rows, lang.txt can replace each.

#include "lang/LangRows.h"

namespace lang {

// Tools > Cancel, which ends the running action with lang_Info_Cancelled.
inline constexpr LangRow lang_Menu_Cancel{"lang_Menu_Cancel", "取消当前操作", "Cancel current action"};
inline constexpr LangRow lang_Info_Cancelled{"lang_Info_Cancelled", "[提示]：操作已取消。",
                                             "[Note]: Cancelled."};
// An action started while another runs.
inline constexpr LangRow lang_Info_Busy{"lang_Info_Busy", "[提示]：上一个操作尚未结束，本次操作未执行。",
                                        "[Note]: Another action is still running; this one was not started."};
inline constexpr LangRow lang_Info_Restarted{
    "lang_Info_Restarted", "[提示]：DTU在写入过程中重新启动，未保存的参数已丢失，请重新写入。",
    "[Note]: The DTU restarted during the write; settings it had not yet saved were lost. Write them again."};
// Followed by the names of the fields.
inline constexpr LangRow lang_Info_NotKept{"lang_Info_NotKept", "[提示]：DTU接受但未保存：",
                                           "[Note]: The DTU accepted but did not save: "};
// Followed by the command.
inline constexpr LangRow lang_Info_NoAnswer{"lang_Info_NoAnswer", "[提示]：DTU未及时应答命令：",
                                            "[Note]: The DTU did not answer the command in time: "};
// Followed by the line: something the DTU sent that answers no command.
inline constexpr LangRow lang_Info_SetAside{"lang_Info_SetAside", "[提示]：非应答数据，已忽略：",
                                            "[Note]: Ignored, not an answer to a command: "};

}  // namespace lang
