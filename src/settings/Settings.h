#pragma once
// program.ini beside the program: the language, the PC port settings and every device field of the main
// window, read once while the window is created and written once when it closes.

#include <optional>
#include <string>

#include "settings/IniFile.h"
#include "ui/MainFormDesign.h"

namespace settings {

// The full path of program.ini in platform::SettingsFolder().
std::string SettingsFilePath();

// Fills the PC port lists, the device fields, the HEX boxes (without converting their edits), CipmuxText and
// CipmodeText from the file at iniPath; a missing file, section or key gives each field its default. Lists
// are selected by index without change events; an index outside a list selects nothing. The APN field is
// shown fixed with the entry's own APN or, for the third entry, as the other APN read from the file's APN
// text; no dialog opens. Returns the saved language flag (true = Chinese), systemChinese when the file holds
// none. Uses neither the language list nor the dialogs.
bool LoadSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool systemChinese);

// Writes all 23 keys in their fixed order, then the key of each HEX box that is ticked or already in the file
// (ui::HexBoxFields), so that a first save of unticked boxes writes the 23 keys alone. Stops at the first key
// that cannot be written and throws EIniWriteError ("Unable to write to <full path>"); the keys before it are
// then already stored.
void SaveSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool isChinese);

// The window's hold on the settings file for one run: created by LoadSettings, released by the first
// SaveSettings that succeeds. A failed save keeps it, so that closing again tries again.
class TSettings {
 public:
  bool LoadSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool systemChinese);
  // Does nothing when LoadSettings has not run or the settings were already saved.
  void SaveSettings(ui::TMainFormDesign& form, bool isChinese);

  // The language flag read by LoadSettings, for the language list that is created after it.
  bool SavedLanguage() const { return savedLanguage_; }
  const std::optional<IniFile>& SettingsFile() const { return settingsFile_; }

 private:
  std::optional<IniFile> settingsFile_;
  bool savedLanguage_ = false;
};

}  // namespace settings
