#include "values/Checks.h"

#include <algorithm>

#include "values/Commands.h"

namespace values {
namespace {

// The longest decimal text the number rows take: the largest fits in a signed 32-bit integer.
constexpr size_t kMaxDigits = 10;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool IsDecimal(const std::string& text) {
  return !text.empty() && text.size() <= kMaxDigits && std::all_of(text.begin(), text.end(), IsDigit);
}

std::optional<Problem> InRange(size_t row, const std::string& value, Rule rule, int64_t min, int64_t max) {
  if (IsDecimal(value)) {
    const int64_t number = std::stoll(value);
    if (number >= min && number <= max) return std::nullopt;
  }
  return Problem{row, rule, min, max};
}

// A text the command puts inside quotes.
std::optional<Problem> QuotedText(size_t row, const std::string& text, bool mayBeEmpty) {
  if (!mayBeEmpty && text.empty()) return Problem{row, Rule::Empty};
  if (text.find('"') != std::string::npos) return Problem{row, Rule::Quote};
  return std::nullopt;
}

}  // namespace

std::optional<Problem> CheckRow(size_t row, const std::string& value, const DtuValues& values) {
  const Row& r = Table()[row];
  if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
    return Problem{row, Rule::LineBreak};
  switch (r.kind) {
    case Kind::Number:
      return InRange(row, value, Rule::Number, r.min, r.max);
    case Kind::List:
      return InRange(row, value, Rule::ListItem, 0, static_cast<int64_t>(r.items.size()) - 1);
    case Kind::Flag:
      return InRange(row, value, Rule::ListItem, 0, 1);
    case Kind::Packet:
      // Plain text goes out in hex, so any bytes can be sent; digits go out as they are.
      if (values.IsHexForm(row) &&
          (value.size() % 2 != 0 || !std::all_of(value.begin(), value.end(), IsHexDigit)))
        return Problem{row, Rule::HexPairs};
      return std::nullopt;
    case Kind::Text:
      if (r.wire == Wire::Apn) {
        const ApnParts apn = SplitApnText(value);
        for (const auto& [part, mayBeEmpty] :
             {std::pair{&apn.name, false}, std::pair{&apn.account, true}, std::pair{&apn.password, true}}) {
          if (auto problem = QuotedText(row, *part, mayBeEmpty)) return problem;
        }
        return std::nullopt;
      }
      return QuotedText(row, value, false);
    case Kind::CommandText:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<Problem> Check(const DtuValues& values) {
  for (size_t row = 0; row < Table().size(); ++row) {
    if (auto problem = CheckRow(row, values.At(row), values)) return problem;
  }
  return std::nullopt;
}

std::string DescribeRule(const Problem& problem) {
  switch (problem.rule) {
    case Rule::Number:
      return "must be a whole number from " + std::to_string(problem.min) + " to " +
             std::to_string(problem.max);
    case Rule::ListItem:
      return "must be one of the positions " + std::to_string(problem.min) + " to " +
             std::to_string(problem.max);
    case Rule::HexPairs:
      return "must be pairs of hex digits";
    case Rule::LineBreak:
      return "must not hold a line break or NUL";
    case Rule::Quote:
      return "must not contain a double quotation mark";
    case Rule::Empty:
      return "must not be empty";
    case Rule::NotGbk:
      return "has characters with no GBK form";
  }
  return {};
}

}  // namespace values
