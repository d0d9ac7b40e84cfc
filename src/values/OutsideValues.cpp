#include "values/OutsideValues.h"

#include <algorithm>

#include "values/Commands.h"
#include "values/Replies.h"

namespace values {
namespace {

std::string WithoutLeadingZeros(const std::string& text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return text;
  const size_t first = text.find_first_not_of('0');
  return first == std::string::npos ? "0" : text.substr(first);
}

// "AT + CIPMUX = 0" and the listed "AT+CIPMUX=0" both set 0.
std::string SwitchValue(const std::string& command) {
  const size_t equals = command.find('=');
  std::string value = equals == std::string::npos ? "" : command.substr(equals + 1);
  std::erase_if(value, [](char c) { return c == ' ' || c == '\t'; });
  return value;
}

// No value that can be sent holds a NUL, so one marks what is not a plain value.
constexpr char kMark = '\0';

// The bytes a packet sends; digits that are no pairs of hex digits compare as they stand.
std::string PacketBytes(size_t row, const DtuValues& values) {
  const std::string& value = values.At(row);
  if (!values.IsHexForm(row)) return value;
  if (value.size() % 2 != 0) return kMark + value;
  try {
    return HexToAscii(value);
  } catch (const EConvertError&) {
    return kMark + value;
  }
}

// The APN name in capitals; the account and password keep their case.
std::string ApnCompared(const std::string& text) {
  const ApnParts apn = SplitApnText(text);
  return UpperAscii(apn.name) + kMark + apn.account + kMark + apn.password;
}

std::string Compared(size_t row, const DtuValues& values) {
  const Row& r = Table()[row];
  switch (r.kind) {
    case Kind::Number:
    case Kind::List:
      return WithoutLeadingZeros(values.At(row));
    case Kind::Packet:
      return PacketBytes(row, values);
    case Kind::CommandText:
      return SwitchValue(values.At(row));
    case Kind::Text:
      return r.wire == Wire::Apn ? ApnCompared(values.At(row)) : values.At(row);
    case Kind::Flag:
      break;
  }
  return values.At(row);
}

}  // namespace

std::string StoredValue(size_t row, const std::string& gbkText) {
  const Row& r = Table()[row];
  if (r.kind != Kind::List) return gbkText;
  const std::string wanted = UpperAscii(gbkText);
  for (size_t item = 0; item < r.items.size(); ++item) {
    if (UpperAscii(r.items[item]) == wanted) return std::to_string(item);
  }
  return gbkText;
}

std::vector<size_t> NotKept(const DtuValues& written, const DtuValues& readBack) {
  std::vector<size_t> rows = RowsOfQuery(0);
  const auto table = Table();
  for (size_t row = 0; row < table.size(); ++row) {
    if (table[row].kind == Kind::CommandText) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  std::vector<size_t> notKept;
  for (const size_t row : rows) {
    // The APN choice and the HEX flags are never sent: only the APN text and the packets they lead to.
    if (table[row].wire == Wire::None) continue;
    if (Compared(row, written) != Compared(row, readBack)) notKept.push_back(row);
  }
  return notKept;
}

}  // namespace values
