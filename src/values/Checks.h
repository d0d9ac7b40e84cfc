#pragma once
// Whether values can be sent: each value against its row, before anything goes to the DTU, so that a write
// never stops half-way at a value the DTU was bound to refuse.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "values/DtuValues.h"

namespace values {

enum class Rule {
  Number,     // a whole number from min to max
  ListItem,   // a position of the list: 0 to max
  HexPairs,   // pairs of hex digits
  LineBreak,  // no CR, LF or NUL
  Quote,      // no double quote (the command puts the value in quotes)
  Empty,      // not empty
  NotGbk,     // text with no GBK form (found where outside text is converted)
};

struct Problem {
  size_t row;
  Rule rule;
  int64_t min = 0;
  int64_t max = 0;
  friend bool operator==(const Problem&, const Problem&) = default;
};

// The first value, in table order, that its row does not accept; nothing when all can be sent.
std::optional<Problem> Check(const DtuValues& values);
// The same for one row's value.
std::optional<Problem> CheckRow(size_t row, const std::string& value, const DtuValues& values);

// The rule in English, for the command line's messages ("must be a whole number from 1 to 65535").
std::string DescribeRule(const Problem& problem);

}  // namespace values
