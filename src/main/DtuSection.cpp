#include "main/DtuSection.h"

#include <string_view>

#include "ui/DeviceFields.h"

namespace cli {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// A read that finds an APN of the DTU's own shows it in the APN field but leaves the list's choice where it
// was, and a write sends what the field holds. The loader, though, takes the field's text only for the third
// entry; so that the section brings back the APN the write would send, a field that does not match its fixed
// choice is given as the third entry.
int ApnIndex(const ui::TMainFormDesign& form) {
  const int index = form.cbb_APN.ItemIndex();
  const std::string& apn = form.edt_APN_other.Text();
  const char* fixed = ui::FixedApnAt(index);
  if (fixed != nullptr && apn == fixed) return index;
  return ui::kOtherApnIndex;
}

}  // namespace

// The value as a line of the file can hold it and as the loader gives it back. The loader drops blanks at
// either end and one pair of enclosing quotation marks; a value that would lose either is put in quotation
// marks of its own, which the loader takes off again. Nothing after a line break could be read back at all.
std::string StoredForm(const std::string& value) {
  std::string stored = value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
  if (stored.empty()) return stored;
  const char first = stored.front();
  const bool quoted = stored.size() >= 2 && (first == '"' || first == '\'') && stored.back() == first;
  if (IsBlank(first) || IsBlank(stored.back()) || quoted) stored = '"' + stored + '"';
  return stored;
}

SectionValues DtuValues(const ui::TMainFormDesign& form, CommandTexts texts) {
  SectionValues values;
  for (const ui::DeviceField& field : ui::DeviceFields()) {
    if (std::string_view(field.section) != ui::kDtuSection) continue;
    if (field.formText == &ui::TMainFormDesign::CipmuxText && !texts.cipmux) continue;
    if (field.formText == &ui::TMainFormDesign::CipmodeText && !texts.cipmode) continue;
    values.emplace_back(
        field.key, ui::IsApnChoice(field) ? std::to_string(ApnIndex(form)) : ui::FieldValue(field, form));
  }
  // Only a ticked box needs its key: the loader gives a missing one as unticked.
  for (const ui::HexBoxField& hex : ui::HexBoxFields()) {
    if ((form.*hex.box).Checked()) values.emplace_back(hex.key, "1");
  }
  return values;
}

std::string DtuSection(const ui::TMainFormDesign& form, const std::string& lineEnd, CommandTexts texts) {
  std::string section = std::string("[") + ui::kDtuSection + "]" + lineEnd;
  for (const auto& [key, value] : DtuValues(form, texts)) section += key + '=' + StoredForm(value) + lineEnd;
  return section;
}

}  // namespace cli
