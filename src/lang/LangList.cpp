#include "lang/LangList.h"

#include <cstddef>
#include <fstream>
#include <utility>

#include "lang/GbkText.h"
#include "platform/FilePath.h"
#include "platform/Locale.h"
#include "platform/TextCodec.h"

namespace lang {
namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// Linear and first match wins: lang.txt may hold a key twice, and its first line is the one that counts.
std::size_t IndexOf(const std::vector<std::string>& list, std::string_view text) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (SameText(list[i], text)) return i;
  }
  return kNotFound;
}

std::string ExpandNewLines(std::string_view text) {
  std::string result;
  std::size_t pos = 0;
  for (std::size_t found = text.find(LangNewLine); found != std::string_view::npos;
       found = text.find(LangNewLine, pos)) {
    result.append(text.substr(pos, found - pos));
    result.push_back('\n');
    pos = found + LangNewLine.size();
  }
  result.append(text.substr(pos));
  return result;
}

// Grows by doubling, as push_back would, so that a long lang.txt is still read in linear time.
void MakeRoomForOneMore(std::vector<std::string>& list) {
  if (list.size() == list.capacity()) list.reserve(list.empty() ? 16 : list.size() * 2);
}

}  // namespace

TLangList::TLangList(const std::string& FileName, bool isChinese) {
  LoadFromFile(FileName);
  IsChinese = isChinese;
}

void TLangList::LoadFromFile(const std::string& FileName) {
  if (FileName.empty()) return;
  try {
    std::ifstream file(platform::NativePath(FileName), std::ios::binary);
    if (!file.is_open()) return;
    std::string pending;
    char buffer[4096];
    for (;;) {
      file.read(buffer, sizeof buffer);
      // A read error drops only the line it cut short; the rows before it stay.
      if (file.bad()) return;
      const auto count = file.gcount();
      if (count == 0) break;
      std::string_view chunk(buffer, static_cast<std::size_t>(count));
      for (std::size_t lineFeed = chunk.find('\n'); lineFeed != std::string_view::npos;
           lineFeed = chunk.find('\n')) {
        pending.append(chunk.substr(0, lineFeed));
        // Only CR LF and LF end a line; a CR elsewhere is text.
        if (!pending.empty() && pending.back() == '\r') pending.pop_back();
        AddLine(pending);
        pending.clear();
        chunk.remove_prefix(lineFeed + 1);
      }
      pending.append(chunk);
    }
    // A last line without a line end is a row like any other.
    AddLine(pending);
  } catch (...) {
    // Out of memory while reading: keep what was read, as for any other failure of the file.
  }
}

void TLangList::AddLine(std::string_view line) {
  if (line.empty() || line.front() == LangComment) return;
  const std::size_t first = FindChar(line, LangSeparator);
  if (first == std::string_view::npos) {
    AddRow({}, {}, {});
    return;
  }
  const std::size_t second = FindChar(line, LangSeparator, first + 1);
  const std::size_t last = FindLastChar(line, LangSeparator);
  const std::string_view chinese =
      second == std::string_view::npos ? std::string_view() : line.substr(first + 1, second - first - 1);
  AddRow(std::string(line.substr(0, first)), ExpandNewLines(chinese), ExpandNewLines(line.substr(last + 1)));
}

void TLangList::AddRow(std::string key, std::string chineseText, std::string englishText) {
  // Room first, so that a failed allocation cannot leave the three lists of different lengths.
  MakeRoomForOneMore(Keys);
  MakeRoomForOneMore(ChineseTexts);
  MakeRoomForOneMore(EnglishTexts);
  Keys.push_back(std::move(key));
  ChineseTexts.push_back(std::move(chineseText));
  EnglishTexts.push_back(std::move(englishText));
}

std::string TLangList::GetLangText(const std::string& Key, const std::string& ChineseText,
                                   const std::string& EnglishText) {
  std::size_t index = IndexOf(Keys, Key);
  if (index == kNotFound) {
    AddRow(Key, ChineseText, EnglishText);
    index = Keys.size() - 1;
  }
  return IsChinese ? ChineseTexts[index] : EnglishTexts[index];
}

std::string TLangList::GetLangText(const LangRow& row) {
  const std::size_t index = IndexOf(Keys, row.Key);
  if (index != kNotFound) return IsChinese ? ChineseTexts[index] : EnglishTexts[index];
  // Converted only when the row is registered: a row held already keeps its texts.
  return GetLangText(std::string(row.Key), platform::Utf8ToGbk(row.Chinese),
                     platform::Utf8ToGbk(row.English));
}

std::string TLangList::ChineseToEnglish(const std::string& Text) const {
  if (IsChinese) return Text;
  const std::size_t index = IndexOf(ChineseTexts, Text);
  return index == kNotFound ? Text : EnglishTexts[index];
}

std::string TLangList::EnglishToChinese(const std::string& Text) const {
  if (!IsChinese) return Text;
  const std::size_t index = IndexOf(EnglishTexts, Text);
  return index == kNotFound ? Text : ChineseTexts[index];
}

std::string TLangList::TranslateText(const std::string& Text) const {
  return IsChinese ? EnglishToChinese(Text) : ChineseToEnglish(Text);
}

bool IsSystemChinese() { return GetLocaleString(LOCALE_SABBREVLANGNAME) == "CHS"; }

std::string GetLocaleString(int LCType) {
  if (LCType == LOCALE_SABBREVLANGNAME) return platform::UserLanguageAbbreviation();
  return {};
}

}  // namespace lang
