#pragma once
// Text that comes from outside the program (the arguments, a units file) becomes GBK here, before it is
// checked and long before it reaches a DTU. Unlike the screen's conversion, which puts "?" for a character
// GBK cannot hold, this one says so: a DTU given "?" in its registration packet would keep it silently.

#include <optional>
#include <string>
#include <string_view>

#include "main/Console.h"

namespace cli {

// Whether the bytes are well-formed UTF-8 (shortest forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(std::string_view text);

// The code set of a units file: UTF-8 when the whole text is valid UTF-8 (with or without a byte-order
// mark; plain ASCII is both), else GBK, which spreadsheets on Chinese Windows save.
TerminalCode FileTextCode(std::string_view text);

// The text, written in code, as GBK bytes; nothing when a character has no GBK form or the text is not valid
// in code. GBK text is taken as it is.
std::optional<std::string> ToGbk(std::string_view text, TerminalCode code);

}  // namespace cli
