#pragma once
// The language list: the rows in use (read from lang.txt, then registered by lookups) and the current
// language. Every text the program shows is asked of it by key. Texts are GBK bytes.

#include <string>
#include <string_view>
#include <vector>

#include "lang/LangRows.h"

namespace lang {

// lang.txt: one row per line, "key|Chinese|English"; a line starting with LangComment is a comment, and
// LangNewLine inside a text stands for a line break.
constexpr char LangSeparator = '|';
constexpr std::string_view LangNewLine = "///";
constexpr char LangComment = ';';

class TLangList {
 public:
  // Reads FileName (empty: no file) and then takes IsChinese from the argument. Never throws for a missing,
  // unreadable or malformed file: the rows read before a failure are kept.
  TLangList(const std::string& FileName, bool isChinese);

  std::vector<std::string> Keys;
  std::vector<std::string> ChineseTexts;
  std::vector<std::string> EnglishTexts;
  bool IsChinese = true;

  // The row's text in the current language; a key not held yet is registered with the texts given (GBK).
  std::string GetLangText(const std::string& Key, const std::string& ChineseText,
                          const std::string& EnglishText);
  // The same for a built-in row (its UTF-8 texts become GBK when the row is registered).
  std::string GetLangText(const LangRow& row);

  // Keys and texts are compared with ASCII letters folded to one case and GBK characters byte for byte;
  // the first held row that matches wins.
  std::string ChineseToEnglish(const std::string& Text) const;
  std::string EnglishToChinese(const std::string& Text) const;
  std::string TranslateText(const std::string& Text) const;

 private:
  void LoadFromFile(const std::string& FileName);
  void AddLine(std::string_view line);
  void AddRow(std::string key, std::string chineseText, std::string englishText);
};

// Whether the user's locale is simplified Chinese ("CHS").
bool IsSystemChinese();
// One locale information string of the user's default locale; only the abbreviated language name
// (LOCALE_SABBREVLANGNAME, 3) is known here.
constexpr int LOCALE_SABBREVLANGNAME = 3;
std::string GetLocaleString(int LCType);

}  // namespace lang
