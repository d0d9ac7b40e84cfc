#pragma once
// Rows that tell the user why a value cannot be sent: a line names the field, then the rule it breaks. Like
// the built-in rows, lang.txt can replace each of them by its key.

#include "lang/LangRows.h"

namespace lang {

// Followed by the field's name, ": " and the rule.
inline constexpr LangRow lang_Info_NotSent{"lang_Info_NotSent", "[提示]：参数有误，未发送任何命令：",
                                           "[Note]: Nothing was sent because a value is not valid: "};
// Followed by the lowest number, lang_Rule_To and the highest.
inline constexpr LangRow lang_Rule_Number{"lang_Rule_Number", "应为整数，范围 ",
                                          "must be a whole number from "};
inline constexpr LangRow lang_Rule_To{"lang_Rule_To", " 至 ", " to "};
// Followed by the last position.
inline constexpr LangRow lang_Rule_List{"lang_Rule_List", "应为列表中的一项，序号 0 至 ",
                                        "must be a list position from 0 to "};
inline constexpr LangRow lang_Rule_Hex{"lang_Rule_Hex", "应为成对的十六进制数字",
                                       "must be pairs of hex digits"};
inline constexpr LangRow lang_Rule_LineBreak{"lang_Rule_LineBreak", "不能含有回车、换行或空字符",
                                             "must not contain a line break or a NUL character"};
inline constexpr LangRow lang_Rule_Quote{"lang_Rule_Quote", "不能含有双引号",
                                         "must not contain a double quotation mark"};
inline constexpr LangRow lang_Rule_Empty{"lang_Rule_Empty", "不能为空", "must not be empty"};
inline constexpr LangRow lang_Rule_NotGbk{"lang_Rule_NotGbk", "含有GBK无法表示的字符",
                                          "contains characters that GBK cannot represent"};

}  // namespace lang
