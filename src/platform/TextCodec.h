#pragma once
// The program's text is GBK (code page 936) bytes; UTF-8 appears only where text meets the screen and where
// the built-in texts (UTF-8 in our sources) enter the program. Neither direction ever throws.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Bytes that are not valid GBK become U+FFFD, one per bad byte.
std::string GbkToUtf8(std::string_view gbk);
// Characters GBK cannot hold, and bytes that are not valid UTF-8, become "?".
std::string Utf8ToGbk(std::string_view utf8);
// For text from outside the program, where a "?" must not stand in silently: nothing when a character has no
// GBK form or the bytes are not valid UTF-8.
std::optional<std::string> Utf8ToGbkExactly(std::string_view utf8);

}  // namespace platform
