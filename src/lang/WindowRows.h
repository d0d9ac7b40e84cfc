#pragma once
// Rows of the window's question before Write default and of its Send command box. Like the built-in rows,
// lang.txt can replace each of them by its key.

#include "lang/LangRows.h"

namespace lang {

// Asked before Write default sends anything; the two answers are the box's buttons.
inline constexpr LangRow lang_Ask_Default{"lang_Ask_Default", "恢复默认配置将覆盖DTU中的全部参数，是否继续？",
                                          "Write default will overwrite every setting on the DTU. Continue?"};
inline constexpr LangRow lang_Ask_Yes{"lang_Ask_Yes", "是(&Y)", "&Yes"};
inline constexpr LangRow lang_Ask_No{"lang_Ask_No", "否(&N)", "&No"};

}  // namespace lang
