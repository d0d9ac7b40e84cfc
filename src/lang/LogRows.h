#pragma once
// Rows of the information log's commands (saving it to a file, its time stamps), of the command typed by
// hand, and of the configuration files. Like the built-in rows, lang.txt can replace each of them by its key.

#include "lang/LangRows.h"

namespace lang {

inline constexpr LangRow lang_Menu_SaveLog{"lang_Menu_SaveLog", "保存日志...", "Save log..."};
inline constexpr LangRow lang_Menu_TimeStamps{"lang_Menu_TimeStamps", "日志显示时间",
                                              "Show time stamps in the log"};
// The save dialog's caption.
inline constexpr LangRow lang_SaveLog_Title{"lang_SaveLog_Title", "保存日志", "Save log"};
// Followed by the file's path and the reason, each on a line of its own.
inline constexpr LangRow lang_SaveLog_Failed{"lang_SaveLog_Failed", "日志未能保存：",
                                             "The log could not be saved:"};

inline constexpr LangRow lang_Menu_SendCommand{"lang_Menu_SendCommand", "发送命令", "Send command"};
inline constexpr LangRow lang_btn_Send{"lang_btn_Send", "发送", "Send"};

inline constexpr LangRow lang_Menu_OpenConfig{"lang_Menu_OpenConfig", "打开配置...", "Open configuration..."};
inline constexpr LangRow lang_Menu_SaveConfig{"lang_Menu_SaveConfig", "保存配置...", "Save configuration..."};
// The file dialogs' captions.
inline constexpr LangRow lang_OpenConfig_Title{"lang_OpenConfig_Title", "打开配置", "Open configuration"};
inline constexpr LangRow lang_SaveConfig_Title{"lang_SaveConfig_Title", "保存配置", "Save configuration"};
// Followed by the file's path.
inline constexpr LangRow lang_Info_ConfigLoaded{"lang_Info_ConfigLoaded", "[提示]：已载入配置文件 ",
                                                "[Note]: Configuration loaded from "};
inline constexpr LangRow lang_Info_ConfigSaved{"lang_Info_ConfigSaved", "[提示]：配置已保存到 ",
                                               "[Note]: Configuration saved to "};
// Followed by the file's path, then the reason on a line of its own.
inline constexpr LangRow lang_Config_NotLoaded{"lang_Config_NotLoaded", "配置文件未能载入：",
                                               "The configuration could not be loaded:"};
inline constexpr LangRow lang_Config_NotSaved{"lang_Config_NotSaved", "配置未能保存：",
                                              "The configuration could not be saved:"};
// Followed by the field's name, ": " and the rule.
inline constexpr LangRow lang_Info_ConfigInvalid{
    "lang_Info_ConfigInvalid", "[提示]：参数有误，配置未保存：",
    "[Note]: The configuration was not saved, a value is not valid: "};
// The reason of a file that holds no [DTU] section.
inline constexpr LangRow lang_Config_NoSection{"lang_Config_NoSection", "文件中没有 [DTU] 段",
                                               "The file has no [DTU] section."};

}  // namespace lang
