#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "lang/LangList.h"

namespace {

using lang::TLangList;
using lang_test::TempFolder;

struct Row {
  std::string key, chinese, english;
  bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << testing::PrintToString(row.key) << " | " << testing::PrintToString(row.chinese) << " | "
       << testing::PrintToString(row.english);
}

std::vector<Row> RowsOf(const TLangList& list) {
  EXPECT_EQ(list.Keys.size(), list.ChineseTexts.size());
  EXPECT_EQ(list.Keys.size(), list.EnglishTexts.size());
  std::vector<Row> rows;
  for (size_t i = 0; i < list.Keys.size() && i < list.ChineseTexts.size() && i < list.EnglishTexts.size();
       ++i) {
    rows.push_back({list.Keys[i], list.ChineseTexts[i], list.EnglishTexts[i]});
  }
  return rows;
}

struct FileCase {
  const char* name;
  std::string bytes;
  std::vector<Row> rows;
};

class LangFile : public testing::TestWithParam<FileCase> {};

TEST_P(LangFile, CutsEveryLineIntoOneRow) {
  const TempFolder folder;
  const TLangList list(folder.Write("lang.txt", GetParam().bytes), true);
  EXPECT_EQ(RowsOf(list), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LangFile,
    testing::Values(
        FileCase{"ThreeFields", "lang_Menu_Exit|Quit-cn|Quit\r\n", {{"lang_Menu_Exit", "Quit-cn", "Quit"}}},
        FileCase{"SingleBarLeavesChineseEmpty", "lang_Menu_Exit|Exit\r\n", {{"lang_Menu_Exit", "", "Exit"}}},
        FileCase{"FourFieldsSkipTheThird", "lang_Menu_Exit|a|b|c\r\n", {{"lang_Menu_Exit", "a", "c"}}},
        FileCase{"LineWithoutBarIsAnEmptyRow", "just words\r\n", {{"", "", ""}}},
        FileCase{"BlanksArePartOfTheFields", " lang_A | x | y \r\n", {{" lang_A ", " x ", " y "}}},
        FileCase{"CommentsAndEmptyLinesSkipped", ";k|a|b\r\n\r\n\n ;k|a|b\r\n", {{" ;k", "a", "b"}}},
        FileCase{"NewLineEscapeInTextsOnly", "k///x|a///b|c////d\r\n", {{"k///x", "a\nb", "c\n/d"}}},
        FileCase{"NewLineEscapeRepeated", "k|//////|a/////b\r\n", {{"k", "\n\n", "a\n//b"}}},
        FileCase{"ByteOrderMarkIsText",
                 "\xEF\xBB\xBF;comment\r\n\xEF\xBB\xBFlang_A|a|b\r\n",
                 {{"", "", ""}, {"\xEF\xBB\xBFlang_A", "a", "b"}}},
        FileCase{"EmptyFile", "", {}},
        FileCase{"LastLineWithoutLineEnd", "a|b|c\nd|e|f", {{"a", "b", "c"}, {"d", "e", "f"}}},
        FileCase{"LfAndCrLfBothEndLines", "a|b|c\nd|e|f\r\n", {{"a", "b", "c"}, {"d", "e", "f"}}},
        FileCase{"LoneCrStaysInTheLine", "k|x|y\rz\r\nk|x|y\r\r\n", {{"k", "x", "y\rz"}, {"k", "x", "y\r"}}},
        FileCase{"LoneCrAtTheEndOfTheFile", "k|x|y\r", {{"k", "x", "y\r"}}},
        FileCase{"RepeatedKeysAllKept", "k|1|one\r\nK|2|two\r\n", {{"k", "1", "one"}, {"K", "2", "two"}}},
        // 0x81 0x7C is one Chinese character whose second byte has the value of "|".
        FileCase{"BarByteInsideAChineseCharacter",
                 "lang_A|\x81\x7C|E\x81\x7C\r\n\x81\x7C|x|y\r\n",
                 {{"lang_A", "\x81\x7C", "E\x81\x7C"}, {"\x81\x7C", "x", "y"}}}),
    [](const testing::TestParamInfo<FileCase>& row) { return std::string(row.param.name); });

TEST(LangFile, CrLfSplitAcrossReadsStillEndsTheLine) {
  const TempFolder folder;
  // Lines of an odd length put a CR on every byte position modulo any power of two, so some CR is the last
  // byte of a read and its LF the first byte of the next one, whatever buffer size up to 64 KiB is used.
  constexpr size_t kLines = 70000;
  std::string bytes;
  for (size_t i = 0; i < kLines; ++i) bytes += "k|x|yyy\r\n";
  const TLangList list(folder.Write("lang.txt", bytes), true);
  EXPECT_EQ(RowsOf(list), std::vector<Row>(kLines, Row{"k", "x", "yyy"}));
}

TEST(LangFile, MissingOrUnreadableFileGivesNoRows) {
  const TempFolder folder;
  for (const std::string& name : {std::string(), folder.Path() + "/absent.txt", folder.Path()}) {
    const TLangList list(name, false);
    EXPECT_TRUE(list.Keys.empty()) << name;
    EXPECT_FALSE(list.IsChinese) << name;
  }
}

}  // namespace
