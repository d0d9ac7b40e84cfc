// lang.txt as any bytes: the list must hold three columns of one length, never grow by more than one row per
// line of the file, and answer lookups and translations of any text without failing.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "lang/LangList.h"
#include "lang/LangRows.h"

namespace {

void CheckColumns(const lang::TLangList& list) {
  fuzzing::Check(list.Keys.size() == list.ChineseTexts.size());
  fuzzing::Check(list.Keys.size() == list.EnglishTexts.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::ScratchFolder folder;
  static const std::string path = folder.File("lang.txt");

  FuzzedDataProvider input(data, size);
  const bool chinese = input.ConsumeBool();
  const std::string probe = input.ConsumeRandomLengthString(256);
  // A few built-in rows per input: looking up all of them makes every run quadratic and the fuzzer slow.
  std::vector<const lang::LangRow*> rows;
  for (int i = 0; i < 6; ++i) {
    rows.push_back(lang::kAllRows[input.ConsumeIntegralInRange<size_t>(0, std::size(lang::kAllRows) - 1)]);
  }
  const std::string file = input.ConsumeRemainingBytesAsString();
  fuzzing::WriteFile(path, file);

  lang::TLangList list(path, chinese);
  CheckColumns(list);
  const size_t lines = static_cast<size_t>(std::count(file.begin(), file.end(), '\n')) + 1;
  fuzzing::Check(list.Keys.size() <= lines);
  const size_t fromFile = list.Keys.size();
  for (size_t i = 0; i < fromFile; ++i) {
    // A row's texts never carry the line break of the file: only "///" makes one inside a text.
    fuzzing::Check(list.Keys[i].find('\n') == std::string::npos);
  }

  for (const lang::LangRow* row : rows) {
    const std::string first = list.GetLangText(*row);
    // The first registration of a key is the one that counts, whatever is asked later.
    fuzzing::Check(list.GetLangText(std::string(row->Key), "x", "y") == first);
  }
  CheckColumns(list);
  fuzzing::Check(list.Keys.size() <= fromFile + rows.size());

  const size_t held = list.Keys.size();
  list.GetLangText(probe, probe, probe);
  fuzzing::Check(list.Keys.size() <= held + 1);
  for (bool language : {true, false}) {
    list.IsChinese = language;
    (void)list.TranslateText(probe);
    (void)list.TranslateText(list.EnglishTexts.front());
    (void)list.ChineseToEnglish(probe);
    (void)list.EnglishToChinese(probe);
  }
  CheckColumns(list);
  return 0;
}
