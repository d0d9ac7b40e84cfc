#include "main/UnitSettings.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "main/DtuSection.h"
#include "settings/IniFile.h"
#include "ui/DeviceFields.h"

namespace cli {
namespace {

// Loading an empty file gives every field the default the settings file would give it.
constexpr const char* kNoSettingsFile = "/dev/null";
constexpr const char* kApnIndexKey = "APN Index";
constexpr const char* kApnTextKey = "APN Str";

}  // namespace

TUnitSettings::TUnitSettings(std::optional<std::string> baseFile) : base_(std::move(baseFile)) {}

TUnitSettings::~TUnitSettings() {
  if (folder_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

std::string TUnitSettings::FileFor(const Unit& unit) {
  if (unit.values.empty()) return base_.value_or(kNoSettingsFile);
  if (folder_.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/dtu-config-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder in " + pattern);
    folder_ = pattern;
  }
  const std::string path = folder_ + "/unit-" + std::to_string(unit.number) + ".ini";
  std::string content;
  if (base_) {
    std::stringstream text;
    text << std::ifstream(*base_, std::ios::binary).rdbuf();
    content = text.str();
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  if (!std::filesystem::exists(path)) throw std::runtime_error("cannot write " + path);
  settings::IniFile ini(path);
  bool apnChosen = false;
  bool apnText = false;
  for (const auto& [key, value] : unit.values) {
    ini.WriteString(ui::kDtuSection, key, StoredForm(value));
    apnChosen = apnChosen || key == kApnIndexKey;
    apnText = apnText || key == kApnTextKey;
  }
  // The loader takes the APN text only for the other-APN entry; whoever gives an APN means that one.
  if (apnText && !apnChosen)
    ini.WriteString(ui::kDtuSection, kApnIndexKey, std::to_string(ui::kOtherApnIndex));
  return path;
}

}  // namespace cli
