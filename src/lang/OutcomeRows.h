#pragma once
// Rows that tell how a conversation with the DTU ended when it did not succeed, and the command line's last
// line for each port. Like the built-in rows, lang.txt can replace each of them by its key.

#include "lang/LangRows.h"

namespace lang {

// Followed by the command the DTU refused (its line end left off).
inline constexpr LangRow lang_Info_Refused{"lang_Info_Refused", "[提示]：DTU拒绝了命令：",
                                           "[Note]: The DTU refused the command: "};
// Followed by the command whose reply could not be read, and for a read by lang_Info_Unchanged.
inline constexpr LangRow lang_Info_ReplyUnread{"lang_Info_ReplyUnread",
                                               "[提示]：无法识别DTU对以下命令的应答：",
                                               "[Note]: Could not read the DTU's reply to the command: "};
// Followed by the captions of the fields that the read left as they were.
inline constexpr LangRow lang_Info_Unchanged{"lang_Info_Unchanged", "；未改变的参数：",
                                             "; fields left unchanged: "};

inline constexpr LangRow lang_Cli_Succeeded{"lang_Cli_Succeeded", "成功", "succeeded"};
inline constexpr LangRow lang_Cli_Failed{"lang_Cli_Failed", "失败，", "failed, "};
inline constexpr LangRow lang_Cli_Interrupted{"lang_Cli_Interrupted", "已中断", "interrupted"};
// Followed by the command.
inline constexpr LangRow lang_Cli_Refused{"lang_Cli_Refused", "DTU拒绝了 ", "the DTU refused "};
inline constexpr LangRow lang_Cli_Timeout{"lang_Cli_Timeout", "DTU未及时应答",
                                          "no reply from the DTU in time"};
// Followed by the command, and for a read by lang_Info_Unchanged and the fields.
inline constexpr LangRow lang_Cli_Unread{"lang_Cli_Unread", "无法识别DTU对以下命令的应答：",
                                         "could not read the DTU's reply to "};
inline constexpr LangRow lang_Cli_NotReopened{
    "lang_Cli_NotReopened", "无法以DTU的新参数重新打开串口",
    "the port could not be opened again with the DTU's new settings"};
inline constexpr LangRow lang_Cli_PortLost{"lang_Cli_PortLost", "串口已断开（设备被拔出或挂断）",
                                           "the port was lost (the device was unplugged or hung up)"};
// Followed by the reason of lang_Info_ComDenied and its siblings, when one is known.
inline constexpr LangRow lang_Cli_NotOpened{"lang_Cli_NotOpened", "无法打开串口",
                                            "the port could not be opened"};
inline constexpr LangRow lang_Cli_NothingSent{"lang_Cli_NothingSent", "操作在发送命令之前就结束了",
                                              "the action ended before it sent a command"};
// Around the number of seconds of --timeout.
inline constexpr LangRow lang_Cli_NoResult{"lang_Cli_NoResult", "在 ", "no result within "};
inline constexpr LangRow lang_Cli_NoResultEnd{"lang_Cli_NoResultEnd", " 秒内没有结果", " s"};
// write --verify: followed by the keys of the fields the DTU accepted but reported otherwise when read back.
inline constexpr LangRow lang_Cli_NotKept{"lang_Cli_NotKept", "DTU接受但未保存：",
                                          "the DTU accepted but did not save "};
// scan, --baud auto: followed by the line settings of the next try ("9600 8N1").
inline constexpr LangRow lang_Cli_Trying{"lang_Cli_Trying", "尝试串口参数 ", "trying "};
inline constexpr LangRow lang_Cli_NoLine{"lang_Cli_NoLine", "DTU在所有串口参数下都未应答",
                                         "the DTU did not answer at any line setting"};

// The window's search for the line settings a DTU answers at. Followed by the port's name.
inline constexpr LangRow lang_Info_Searching{"lang_Info_Searching", "[提示]：正在查找DTU的串口参数：",
                                             "[Note]: Looking for the DTU's line settings on "};
// Followed by the settings found, e.g. "9600 8N1".
inline constexpr LangRow lang_Info_SearchFound{"lang_Info_SearchFound", "[提示]：DTU在以下串口参数应答：",
                                               "[Note]: The DTU answers at "};
// Followed by the line settings of the try, e.g. "9600 8N1".
inline constexpr LangRow lang_Info_SearchTry{"lang_Info_SearchTry", "[提示]：尝试串口参数 ",
                                             "[Note]: Trying "};
inline constexpr LangRow lang_Info_SearchNone{"lang_Info_SearchNone", "[提示]：DTU在所有串口参数下均无应答。",
                                              "[Note]: The DTU did not answer at any line setting."};
inline constexpr LangRow lang_Menu_Tools{"lang_Menu_Tools", "工具(&T)", "Tools(&T)"};
inline constexpr LangRow lang_Menu_FindLine{"lang_Menu_FindLine", "查找DTU串口参数",
                                            "Find the DTU's line settings"};
inline constexpr LangRow lang_Menu_Verify{"lang_Menu_Verify", "写入后回读校验", "Verify after writing"};

}  // namespace lang
