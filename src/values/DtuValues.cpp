#include "values/DtuValues.h"

#include <algorithm>
#include <charconv>

namespace values {

DtuValues::DtuValues() {
  for (const Row& row : Table()) values_.emplace_back(row.defaultValue);
}

int DtuValues::IndexOf(std::string_view key) const {
  const std::string& text = Get(key);
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  int index = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  return error == std::errc() && end == text.data() + text.size() ? index : -1;
}

bool DtuValues::IsHexForm(size_t packetRow) const {
  const char* flagKey = Table()[packetRow].flagKey;
  return flagKey != nullptr && Get(flagKey) == "1";
}

bool IsRestoredByDefaults(size_t row) { return Table()[row].kind != Kind::CommandText; }

DtuValues WithDefaults(DtuValues values) {
  const auto table = Table();
  for (size_t row = 0; row < table.size(); ++row) {
    if (IsRestoredByDefaults(row)) values.SetAt(row, table[row].defaultValue);
  }
  return values;
}

}  // namespace values
