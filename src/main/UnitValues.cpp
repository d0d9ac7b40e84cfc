#include "main/UnitValues.h"

#include <algorithm>
#include <cctype>

#include "ui/DeviceFields.h"

namespace cli {
namespace {

constexpr std::string_view kNumber = "{n}";
constexpr std::string_view kSerial = "{serial}";

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

const ui::DeviceField* DtuField(std::string_view name) {
  for (const ui::DeviceField& field : ui::DeviceFields()) {
    if (std::string_view(field.section) == ui::kDtuSection && SameNoCase(field.key, name)) return &field;
  }
  return nullptr;
}

}  // namespace

std::optional<std::string> DtuKey(std::string_view name) {
  const ui::DeviceField* field = DtuField(name);
  if (field == nullptr) return std::nullopt;
  return std::string(field->key);
}

std::optional<std::string> ValueProblem(const std::string& key, const std::string& value) {
  if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    return "the value of " + key + " holds a line break";
  }
  const ui::DeviceField* field = DtuField(key);
  if (field != nullptr && field->list != nullptr &&
      (value.empty() || value.size() > 3 ||
       !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))) {
    return key + " takes the number of a list item, not '" + value + "'";
  }
  return std::nullopt;
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

}  // namespace cli
