// program.ini as any bytes, read by section and key, then one value written into a copy of it. A write must
// store what the next read returns and leave every other value as it read before.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FuzzFile.h"
#include "settings/IniFile.h"

namespace {

using fuzzing::Check;

const char* const kSections[] = {"Sys", "Com", "DTU", "Ports", "sys", " DTU ", ""};
const char* const kKeys[] = {"Lang",   "ComName", "BaudRate", "APN Index", "APN Str", "IP",
                             "CIPMUX", "COM1",    "apn str",  "Stop",      " Port ",  ""};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// What a read can give back unchanged: blanks at the ends and one pair of quotes are taken off on reading,
// and only the first 2047 bytes are returned.
bool ReadsBackUnchanged(const std::string& value) {
  if (value.size() > 2047) return false;
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) return false;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return false;
  return true;
}

std::string Trim(std::string text) {
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  return text.substr(std::min(text.size(), text.find_first_not_of(" \t\v\f")));
}

// A name a line can hold and a read can find again: not blank (blanks at its ends are no part of it), and for
// a key nothing that would make its line a comment or a section.
bool FindableName(std::string name, bool key) {
  name = Trim(name);
  if (name.empty()) return false;
  if (name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  if (key) return name.front() != ';' && name.front() != '[' && name.find('=') == std::string::npos;
  return name.find(']') == std::string::npos;
}

// The name as the file knows it: its outer blanks dropped, its letter case ignored.
std::string Lower(std::string text) {
  text = Trim(text);
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string PickName(FuzzedDataProvider& input, const char* const* names, size_t count) {
  if (input.ConsumeBool()) return names[input.ConsumeIntegralInRange<size_t>(0, count - 1)];
  return input.ConsumeRandomLengthString(24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::ScratchFolder folder;
  static const std::string original = folder.File("program.ini");
  static const std::string copy = folder.File("copy.ini");

  FuzzedDataProvider input(data, size);
  const std::string section = PickName(input, kSections, std::size(kSections));
  const std::string key = PickName(input, kKeys, std::size(kKeys));
  const std::string value = input.ConsumeRandomLengthString(3000);
  const std::string number = input.ConsumeRandomLengthString(16);
  const std::string text = input.ConsumeRemainingBytesAsString();
  fuzzing::WriteFile(original, text);

  const settings::IniFile ini(original);
  // Everything a read sees, per section of interest, to compare after the write.
  std::map<std::string, settings::IniPairs> before;
  for (const char* name : kSections) {
    const settings::IniPairs pairs = ini.ReadSection(name);
    for (const auto& [k, v] : pairs) {
      Check(v.size() <= 2047);
      Check(ini.ReadString(name, k, "\x01missing") == v);
    }
    before[Lower(name)] = pairs;
    for (const char* k : kKeys) (void)ini.ReadInteger(name, k, -7);
  }
  (void)ini.ReadString(section, key, "default");

  // The parser of integers: decimal text of any int reads back as that int.
  const auto parsed = settings::ParseIniInteger(number);
  if (parsed) Check(settings::ParseIniInteger(std::to_string(*parsed)) == parsed);

  fuzzing::WriteFile(copy, text);
  settings::IniFile edited(copy);
  try {
    edited.WriteString(section, key, value);
  } catch (const std::invalid_argument&) {
    Check(!FindableName(section, false) || !FindableName(key, true));
    return 0;
  }
  const std::string stored = value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
  if (FindableName(section, false) && FindableName(key, true) && ReadsBackUnchanged(stored)) {
    Check(edited.ReadString(section, key, "\x01missing") == stored);
  }
  for (const char* name : kSections) {
    if (!FindableName(name, false)) continue;
    for (const auto& [k, v] : before[Lower(name)]) {
      if (Lower(name) == Lower(section) && Lower(k) == Lower(key)) continue;
      Check(edited.ReadString(name, k, "\x01missing") == v);
    }
  }
  return 0;
}
