#pragma once
// program.ini beside the program: the language, the PC port settings and the DTU's settings, read once while
// the window is created and written once when it closes. The command line reads the same sections from its
// --ini file. Only values cross this layer: the window puts them into its controls and takes them back.

#include <array>
#include <optional>
#include <string>

#include "settings/IniFile.h"
#include "values/DtuValues.h"

namespace settings {

inline constexpr const char* kSysSection = "Sys";
inline constexpr const char* kComSection = "Com";
inline constexpr const char* kDtuSection = "DTU";
// The language flag, written before every other key: "1" Chinese, "0" English.
inline constexpr const char* kLanguageKey = "Lang";
// [Com]: the stable path of the adapter chosen in the port list after COM9, written only once one was
// chosen, so that the adapter is found again wherever it appears in the list at the next start.
inline constexpr const char* kChosenDeviceKey = "Device";
// [Sys]: "0" when the window's writes end without a read-back of the DTU; written only once it was turned
// off, so that a first save keeps its 23 keys.
inline constexpr const char* kVerifyKey = "Verify";
// [Sys]: "1" when the log puts the time before each line; written only once it was turned on.
inline constexpr const char* kTimeStampsKey = "TimeStamps";

// The [Com] keys in file order: the PC port list's position, then the positions of its rate, parity,
// data-bit and stop-bit lists.
inline constexpr std::array<const char*, 5> kComKeys = {"ComName", "BaudRate", "Parity", "Byte", "Stop"};
inline constexpr std::array<int, 5> kComDefaults = {0, 10, 0, 1, 0};

// [Window]: where the user left the main window; the keys are written only once the window was moved or
// resized, so a first save keeps its 23 keys.
inline constexpr const char* kWindowSection = "Window";
struct StoredPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool maximized = false;
};

struct StoredSettings {
  bool chinese = false;
  // Positions in the five PC port lists, in kComKeys order; -1 where the file names nothing.
  std::array<int, 5> com = kComDefaults;
  values::DtuValues dtu;
  // [Com] Device: the stable path of the adapter chosen after COM9; empty when none was chosen.
  std::string chosenDevice;
  // Tools > Verify after writing.
  bool verify = true;
  // Tools > Show time stamps in the log.
  bool timeStamps = false;
  // The main window's place; empty when the file has no usable size.
  std::optional<StoredPlace> place;
};

// The full path of program.ini in platform::SettingsFolder().
std::string SettingsFilePath();

// The [DTU] section as the window loads it: each key, or its default when missing. A fixed APN position
// gives its own APN whatever the file's APN text holds; the other-APN position takes the file's text.
// A HEX flag reads as "1" for any non-zero number.
values::DtuValues ReadDtuValues(const IniFile& ini);

// Everything the window keeps in the file; a missing file, section or key gives the default. chinese is
// systemChinese when the file holds no language flag.
StoredSettings LoadSettings(const std::string& iniPath, bool systemChinese);

// Writes the language, the five [Com] keys and the [DTU] keys in their fixed order (23 keys), then each HEX
// flag that is "1" or already in the file, so that a first save of unticked boxes writes the 23 keys alone,
// and the chosen device, the verify and the time-stamp flags when they differ from their defaults or the file
// already has the key, and the window's place once it has one. The file is written once, as a whole: a save
// cut short leaves the old file or the new one, never a mix. Throws EIniWriteError ("Unable to write to <full
// path>") when the file cannot be written; the old file is then left as it was.
void SaveSettings(const std::string& iniPath, const StoredSettings& stored);

// The value as a line of the settings file holds it so that the loader gives it back: cut at a line break,
// and put in quotation marks of its own where the loader would drop blanks or quotation marks at its ends.
std::string StoredForm(const std::string& value);

}  // namespace settings
