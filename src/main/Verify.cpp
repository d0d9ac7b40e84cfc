#include "main/Verify.h"

#include <algorithm>
#include <string_view>

#include "lang/GbkText.h"
#include "ui/DeviceFields.h"

namespace cli {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Number(std::string text) {
  if (!AllDigits(text)) return text;
  const size_t first = text.find_first_not_of('0');
  return first == std::string::npos ? "0" : text.substr(first);
}

// The APN name (before its account and password, which keep their case) in capitals.
std::string Apn(const std::string& text) {
  const size_t quote = text.find('"');
  return lang::UpperAscii(text.substr(0, quote)) + (quote == std::string::npos ? "" : text.substr(quote));
}

// "AT + CIPMUX = 0" sets 0.
std::string SwitchValue(const std::string& command) {
  const size_t equals = command.find('=');
  std::string value = equals == std::string::npos ? "" : command.substr(equals + 1);
  std::erase_if(value, [](char c) { return c == ' ' || c == '\t'; });
  return value;
}

bool IsNumberField(const ui::DeviceField& field) {
  return field.edit == &ui::TMainFormDesign::edtl_HeartbeatTime ||
         field.edit == &ui::TMainFormDesign::edt_WaitTime ||
         field.edit == &ui::TMainFormDesign::edt_WaitLen ||
         field.edit == &ui::TMainFormDesign::edt_RestartTime || field.edit == &ui::TMainFormDesign::edt_Port;
}

template <typename SwitchOf>
FieldValues Fields(const app::Tfrm_Main& form, SwitchOf switchOf) {
  FieldValues values;
  for (const ui::DeviceField& field : ui::DeviceFields()) {
    if (std::string_view(field.section) != ui::kDtuSection || ui::IsApnChoice(field)) continue;
    std::string value = ui::FieldValue(field, form);
    if (ui::IsApnText(field)) value = Apn(value);
    if (IsNumberField(field)) value = Number(value);
    if (field.formText != nullptr) value = switchOf(field);
    values.emplace_back(field.key, std::move(value));
  }
  return values;
}

}  // namespace

FieldValues WrittenFields(const app::Tfrm_Main& form) {
  return Fields(form, [&form](const ui::DeviceField& field) { return SwitchValue(form.*field.formText); });
}

FieldValues ReadBackFields(const app::Tfrm_Main& form) {
  return Fields(form, [&form](const ui::DeviceField& field) {
    const auto& listed = field.formText == &ui::TMainFormDesign::CipmuxText ? form.Device.ListedCipmux
                                                                            : form.Device.ListedCipmode;
    return SwitchValue("=" + listed.value_or(""));
  });
}

std::vector<std::string> NotKept(const FieldValues& written, const FieldValues& readBack) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : written) {
    const auto back =
        std::find_if(readBack.begin(), readBack.end(), [&](const auto& kv) { return kv.first == key; });
    if (back == readBack.end() || back->second != value) keys.push_back(key);
  }
  return keys;
}

}  // namespace cli
