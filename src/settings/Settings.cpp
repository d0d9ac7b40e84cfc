#include "settings/Settings.h"

#include <iterator>

#include "platform/ProgramFolder.h"
#include "values/SettingsTable.h"

namespace settings {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

}  // namespace

std::string SettingsFilePath() { return platform::SettingsFolder() + "program.ini"; }

values::DtuValues ReadDtuValues(const IniFile& ini) {
  values::DtuValues dtu;
  const auto table = values::Table();
  for (size_t row = 0; row < table.size(); ++row) {
    const values::Row& field = table[row];
    if (field.kind == values::Kind::Flag) {
      dtu.SetAt(row, ini.ReadInteger(kDtuSection, field.key, 0) != 0 ? "1" : "0");
    } else if (field.kind == values::Kind::List) {
      // A list position is an integer as the file writes integers ("$0A" too); anything else names nothing.
      dtu.SetAt(row, std::to_string(ini.ReadInteger(kDtuSection, field.key, std::stoi(field.defaultValue))));
    } else {
      dtu.SetAt(row, ini.ReadString(kDtuSection, field.key, field.defaultValue));
    }
  }
  // The APN text is read only for the other-APN position; a fixed position stands for its own APN whatever
  // the file holds.
  if (const char* fixed = values::FixedApnAt(dtu.IndexOf(values::kApnIndex))) dtu.Set(values::kApnStr, fixed);
  return dtu;
}

namespace {

constexpr const char* kPlaceKeys[] = {"Left", "Top", "Width", "Height", "Maximized"};

// A place needs a size; a window of no size or a hand-edited absurd one is shown as designed instead.
std::optional<StoredPlace> ReadPlace(const IniFile& ini) {
  StoredPlace place;
  place.width = ini.ReadInteger(kWindowSection, kPlaceKeys[2], 0);
  place.height = ini.ReadInteger(kWindowSection, kPlaceKeys[3], 0);
  if (place.width <= 0 || place.height <= 0 || place.width > 100000 || place.height > 100000) return {};
  place.left = ini.ReadInteger(kWindowSection, kPlaceKeys[0], 0);
  place.top = ini.ReadInteger(kWindowSection, kPlaceKeys[1], 0);
  place.maximized = ini.ReadInteger(kWindowSection, kPlaceKeys[4], 0) != 0;
  return place;
}

}  // namespace

StoredSettings LoadSettings(const std::string& iniPath, bool systemChinese) {
  const IniFile ini(iniPath);
  StoredSettings stored;
  stored.chinese = ini.ReadInteger(kSysSection, kLanguageKey, systemChinese ? 1 : 0) != 0;
  for (size_t i = 0; i < kComKeys.size(); ++i)
    stored.com[i] = ini.ReadInteger(kComSection, kComKeys[i], kComDefaults[i]);
  stored.dtu = ReadDtuValues(ini);
  stored.chosenDevice = ini.ReadString(kComSection, kChosenDeviceKey, "");
  stored.verify = ini.ReadInteger(kSysSection, kVerifyKey, 1) != 0;
  stored.timeStamps = ini.ReadInteger(kSysSection, kTimeStampsKey, 0) != 0;
  stored.place = ReadPlace(ini);
  return stored;
}

void SaveSettings(const std::string& iniPath, const StoredSettings& stored) {
  IniFile ini(iniPath);
  std::vector<IniWrite> writes;
  writes.push_back({kSysSection, kLanguageKey, stored.chinese ? "1" : "0"});
  for (size_t i = 0; i < kComKeys.size(); ++i) {
    writes.push_back({kComSection, kComKeys[i], std::to_string(stored.com[i])});
  }
  const auto table = values::Table();
  for (size_t row = 0; row < table.size(); ++row) {
    const values::Row& field = table[row];
    // A HEX flag is written once ticked, and then kept: a file that never had a ticked box keeps its 23 keys.
    if (field.kind == values::Kind::Flag && stored.dtu.At(row) != "1" &&
        !ini.HasKey(kDtuSection, field.key)) {
      continue;
    }
    writes.push_back({kDtuSection, field.key, StoredForm(stored.dtu.At(row))});
  }
  // Only a file that once had an adapter chosen gains the key.
  if (!stored.chosenDevice.empty() || ini.HasKey(kComSection, kChosenDeviceKey)) {
    writes.push_back({kComSection, kChosenDeviceKey, stored.chosenDevice});
  }
  if (!stored.verify || ini.HasKey(kSysSection, kVerifyKey)) {
    writes.push_back({kSysSection, kVerifyKey, stored.verify ? "1" : "0"});
  }
  if (stored.timeStamps || ini.HasKey(kSysSection, kTimeStampsKey)) {
    writes.push_back({kSysSection, kTimeStampsKey, stored.timeStamps ? "1" : "0"});
  }
  if (stored.place) {
    const StoredPlace& p = *stored.place;
    const int numbers[] = {p.left, p.top, p.width, p.height, p.maximized ? 1 : 0};
    for (size_t i = 0; i < std::size(kPlaceKeys); ++i)
      writes.push_back({kWindowSection, kPlaceKeys[i], std::to_string(numbers[i])});
  }
  ini.WriteStrings(writes);
}

// The loader drops blanks at either end and one pair of enclosing quotation marks; a value that would lose
// either is put in quotation marks of its own, which the loader takes off again. Nothing after a line break
// could be read back at all.
std::string StoredForm(const std::string& value) {
  std::string stored = value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
  if (stored.empty()) return stored;
  const char first = stored.front();
  const bool quoted = stored.size() >= 2 && (first == '"' || first == '\'') && stored.back() == first;
  if (IsBlank(first) || IsBlank(stored.back()) || quoted) stored = '"' + stored + '"';
  return stored;
}

}  // namespace settings
