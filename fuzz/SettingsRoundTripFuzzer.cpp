// program.ini as any bytes: loading gives values, saving writes them back, and loading what was saved must
// give the values the first load gave. Saved both into a new file and over the odd file itself, where the
// values are replaced where they stand.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "FuzzFile.h"
#include "settings/Settings.h"
#include "values/SettingsTable.h"

namespace {

using fuzzing::Check;

// Texts that a save and a load give back as they are. A line cannot carry a line break or a zero byte, and
// a value the save puts in quotation marks of its own must still fit the loader's 2047 characters.
bool Storable(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos && text.size() + 2 <= 2047;
}

void CheckSame(const settings::StoredSettings& first, const settings::StoredSettings& second) {
  Check(first.chinese == second.chinese);
  Check(first.com == second.com);
  for (size_t row = 0; row < values::Table().size(); ++row) {
    if (Storable(first.dtu.At(row))) Check(first.dtu.At(row) == second.dtu.At(row));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::ScratchFolder folder;
  static const std::string odd = folder.File("program.ini");
  static const std::string fresh = folder.File("fresh.ini");

  FuzzedDataProvider input(data, size);
  const bool systemChinese = input.ConsumeBool();
  const std::string text = input.ConsumeRemainingBytesAsString();
  fuzzing::WriteFile(odd, text);

  const settings::StoredSettings first = settings::LoadSettings(odd, systemChinese);

  fuzzing::RemoveFile(fresh);
  settings::SaveSettings(fresh, first);
  CheckSame(first, settings::LoadSettings(fresh, !systemChinese));

  settings::SaveSettings(odd, first);
  CheckSame(first, settings::LoadSettings(odd, !systemChinese));
  return 0;
}
