#include "values/Commands.h"

#include <array>

#include "values/ListMeanings.h"

namespace values {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr std::string_view kApnSeparator = "\",\"";

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsGbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

std::string ItemText(const Row& row, int index) {
  if (index < 0 || static_cast<size_t>(index) >= row.items.size()) return {};
  return row.items[static_cast<size_t>(index)];
}

// The text a row puts at its placeholder.
std::string Encoded(size_t row, const DtuValues& values) {
  const Row& r = Table()[row];
  const std::string& value = values.At(row);
  switch (r.wire) {
    case Wire::AsIs:
    case Wire::Apn:
    case Wire::Switch:
      return value;
    case Wire::ItemText:
      return ItemText(r, values.IndexOf(r.key));
    case Wire::IcfFormat: {
      const IcfFormatRows rows = FormatRows();
      return std::to_string(DtuFormatCode(values.IndexOf(Table()[rows.dataBits].key),
                                          values.IndexOf(Table()[rows.stopBits].key)));
    }
    case Wire::IcfParity:
      return std::to_string(DtuParityCode(values.IndexOf(r.key)));
    case Wire::Hex:
      // Digits in hex form go out untouched (no case change): the user typed what the DTU should store.
      return values.IsHexForm(row) ? value : AsciiToHex(value);
    case Wire::None:
      break;
  }
  return {};
}

// The first row (in table order) that fills placeholder position of step.
std::string Placeholder(int step, int position, const DtuValues& values) {
  const auto table = Table();
  for (size_t row = 0; row < table.size(); ++row) {
    if (table[row].step == step && table[row].position == position) return Encoded(row, values);
  }
  return {};
}

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (size_t pos = 0; pos < upper.size(); ++pos) {
    char& c = upper[pos];
    if (IsGbkLead(static_cast<unsigned char>(c))) {
      ++pos;
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

std::string AsciiToHex(const std::string& text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  return hex;
}

std::string HexToAscii(const std::string& hex) {
  std::string text;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    const int high = HexDigitValue(hex[i]);
    const int low = HexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) throw EConvertError("'$" + hex.substr(i, 2) + "' is not a valid integer value");
    text.push_back(static_cast<char>(high * 16 + low));
  }
  return text;
}

std::string ComposeApnText(const ApnParts& apn) {
  std::string text = apn.name;
  if (!apn.account.empty()) {
    text += std::string(kApnSeparator) + apn.account;
    if (!apn.password.empty()) text += std::string(kApnSeparator) + apn.password;
  }
  return text;
}

ApnParts SplitApnText(const std::string& text) {
  ApnParts apn;
  std::string* parts[] = {&apn.name, &apn.account, &apn.password};
  size_t from = 0;
  for (size_t part = 0; part < 2; ++part) {
    const size_t at = text.find(kApnSeparator, from);
    if (at == std::string::npos) break;
    *parts[part] = text.substr(from, at - from);
    from = at + kApnSeparator.size();
    *parts[part + 1] = text.substr(from);
  }
  if (from == 0) apn.name = text;
  return apn;
}

std::string CommandText(int step, const DtuValues& values) {
  const std::string_view pattern = CommandTemplate(step);
  if (pattern.empty()) return {};
  std::string text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string_view::npos;
    if (close == std::string_view::npos) {
      text.push_back(pattern[i]);
      continue;
    }
    int position = 0;
    for (size_t digit = i + 1; digit < close; ++digit) position = position * 10 + (pattern[digit] - '0');
    text += Placeholder(step, position, values);
    i = close;
  }
  return text + kCrLf;
}

std::string QueryText(int query) {
  static constexpr std::array<const char*, 3> kQueries = {"AT+CIPR?", "AT+ICF?", "AT+CIPSCONT?"};
  if (query < 1 || query > static_cast<int>(kQueries.size())) return {};
  return std::string(kQueries[static_cast<size_t>(query - 1)]) + kCrLf;
}

}  // namespace values
