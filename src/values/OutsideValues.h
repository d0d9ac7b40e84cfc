#pragma once
// Values given from outside the program (command-line arguments, a units file): a list setting may be named
// by its item ("BaudRate=9600", "Parity=even", "Protocol=UDP", "Stop=1") or, as program.ini names it, by its
// position; an item's text wins where both could be meant ("Stop=1" is one stop bit).

#include <optional>
#include <string>
#include <variant>

#include "values/Checks.h"

namespace values {

// The value as program.ini holds it for the row: a list item named by its text (without regard to case) is
// given as its position; everything else is kept. gbkText is already GBK.
std::string StoredValue(size_t row, const std::string& gbkText);

// What a read's comparison of written and read-back values must ignore: numbers without leading zeros, APN
// names in any case, packets compared as the bytes they send, command texts by their value. The rows whose
// read-back differs from what was written, in table order; rows the read does not report are skipped.
std::vector<size_t> NotKept(const DtuValues& written, const DtuValues& readBack);

}  // namespace values
