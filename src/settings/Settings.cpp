#include "settings/Settings.h"

#include "platform/ProgramFolder.h"
#include "ui/DeviceFields.h"

namespace settings {
namespace {

// The APN text is read only for the other-APN entry; a fixed entry shows its own APN whatever the file holds,
// and no selection leaves the field's designed look.
void LoadApnText(const IniFile& ini, const ui::DeviceField& field, ui::TMainFormDesign& form) {
  const int index = form.cbb_APN.ItemIndex();
  if (const char* fixed = ui::FixedApnAt(index)) {
    form.ShowFixedApn(fixed);
  } else if (index == ui::kOtherApnIndex) {
    form.ShowOtherApn(ini.ReadString(field.section, field.key, field.defaultText));
  }
}

}  // namespace

std::string SettingsFilePath() { return platform::SettingsFolder() + "program.ini"; }

bool LoadSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool systemChinese) {
  const IniFile ini(iniPath);
  const bool savedLanguage = ini.ReadInteger(ui::kSysSection, ui::kLanguageKey, systemChinese ? 1 : 0) != 0;
  for (const ui::DeviceField& field : ui::DeviceFields()) {
    if (field.list != nullptr) {
      (form.*field.list).SetItemIndex(ini.ReadInteger(field.section, field.key, field.defaultIndex));
    } else if (ui::IsApnText(field)) {
      LoadApnText(ini, field, form);
    } else {
      ui::SetFieldText(field, form, ini.ReadString(field.section, field.key, field.defaultText));
    }
  }
  for (const ui::HexBoxField& hex : ui::HexBoxFields())
    (form.*hex.box).SetChecked(ini.ReadInteger(ui::kDtuSection, hex.key, 0) != 0);
  return savedLanguage;
}

void SaveSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool isChinese) {
  IniFile ini(iniPath);
  ini.WriteString(ui::kSysSection, ui::kLanguageKey, isChinese ? "1" : "0");
  for (const ui::DeviceField& field : ui::DeviceFields())
    ini.WriteString(field.section, field.key, ui::FieldValue(field, form));
  for (const ui::HexBoxField& hex : ui::HexBoxFields()) {
    const bool ticked = (form.*hex.box).Checked();
    if (ticked || ini.HasKey(ui::kDtuSection, hex.key))
      ini.WriteString(ui::kDtuSection, hex.key, ticked ? "1" : "0");
  }
}

bool TSettings::LoadSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool systemChinese) {
  settingsFile_.emplace(iniPath);
  savedLanguage_ = settings::LoadSettings(form, settingsFile_->FileName(), systemChinese);
  return savedLanguage_;
}

void TSettings::SaveSettings(ui::TMainFormDesign& form, bool isChinese) {
  if (!settingsFile_) return;
  settings::SaveSettings(form, settingsFile_->FileName(), isChinese);
  settingsFile_.reset();
}

}  // namespace settings
