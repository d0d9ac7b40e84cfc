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

void CopyFile(const std::optional<std::string>& from, const std::string& to) {
  std::string content;
  if (from) {
    std::stringstream text;
    text << std::ifstream(*from, std::ios::binary).rdbuf();
    content = text.str();
  }
  std::ofstream(to, std::ios::binary | std::ios::trunc) << content;
  if (!std::filesystem::exists(to)) throw std::runtime_error("cannot write " + to);
}

}  // namespace

TUnitSettings::TUnitSettings(std::optional<std::string> baseFile) : base_(std::move(baseFile)) {}

TUnitSettings::~TUnitSettings() {
  if (folder_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

const std::string& TUnitSettings::Folder() {
  if (folder_.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/dtu-config-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder in " + pattern);
    folder_ = pattern;
  }
  return folder_;
}

std::string TUnitSettings::FileFor(const Unit& unit) {
  if (unit.values.empty()) return base_.value_or(kNoSettingsFile);
  const std::string path = Folder() + "/unit-" + std::to_string(unit.number) + ".ini";
  CopyFile(base_, path);
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

std::string TUnitSettings::FileWithLine(const std::string& iniPath, const Unit& unit,
                                        const config::LineChoice& line) {
  const std::string path = Folder() + "/line-" + std::to_string(unit.number) + ".ini";
  CopyFile(iniPath, path);
  settings::IniFile ini(path);
  for (const auto& [key, value] : settings::IniFile(TryFile(line)).ReadSection(ui::kComSection)) {
    ini.WriteString(ui::kComSection, key, value);
  }
  return path;
}

std::string TUnitSettings::TryFile(const config::LineChoice& line) {
  // Every port of a run tries the same settings: one file each serves them all.
  std::string& path = tryFiles_[config::Describe(line)];
  if (path.empty()) {
    path = Folder() + "/try-" + std::to_string(tryFiles_.size()) + ".ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << config::ComSection(line);
  }
  return path;
}

}  // namespace cli
