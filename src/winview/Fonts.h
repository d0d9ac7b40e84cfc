#pragma once
// The fonts of the program's windows, made once from the system's message font. Chinese text reaches the
// screen through that font's links to a Chinese font, which every Chinese Windows (and a Wine prefix with
// FontLink set) has.

#include "winview/Win32.h"

namespace winview {

HFONT UiFont();
// The "(?)" help labels and the web links: underlined.
HFONT LinkFont();
// The About dialog's title: larger and bold.
HFONT TitleFont();

}  // namespace winview
