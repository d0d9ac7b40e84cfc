#include "main/UnitValues.h"

#include "values/OutsideValues.h"

namespace cli {
namespace {

constexpr std::string_view kNumber = "{n}";
constexpr std::string_view kSerial = "{serial}";

}  // namespace

std::optional<std::string> DtuKey(std::string_view name) {
  const auto row = values::FindRow(name);
  if (!row) return std::nullopt;
  return std::string(values::Table()[*row].key);
}

std::string WithPlaceholders(std::string_view value, int number, const std::string& serial) {
  std::string result;
  size_t i = 0;
  while (i < value.size()) {
    if (value.substr(i).starts_with(kNumber)) {
      result += std::to_string(number);
      i += kNumber.size();
    } else if (value.substr(i).starts_with(kSerial)) {
      result += serial;
      i += kSerial.size();
    } else {
      result += value[i++];
    }
  }
  return result;
}

values::DtuValues WithGivenValues(values::DtuValues values, const KeyValues& given) {
  bool apnChosen = false;
  bool apnText = false;
  for (const auto& [key, value] : given) {
    const size_t row = values::RowOf(key);
    values.SetAt(row, values::StoredValue(row, value));
    apnChosen = apnChosen || key == values::kApnIndex;
    apnText = apnText || key == values::kApnStr;
  }
  if (apnText && !apnChosen) values.Set(values::kApnIndex, std::to_string(values::kOtherApnIndex));
  if (const char* fixed = values::FixedApnAt(values.IndexOf(values::kApnIndex)))
    values.Set(values::kApnStr, fixed);
  return values;
}

}  // namespace cli
