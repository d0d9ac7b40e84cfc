#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"
#include "lang/GbkText.h"
#include "lang/LangList.h"
#include "platform/TextCodec.h"

namespace {

using lang::TLangList;
using lang_test::TempFolder;
using platform::Utf8ToGbk;

const std::string kOpenGbk = "\xB4\xF2 \xBF\xAA";  // 打 开

TEST(LangLookup, FirstRegistrationOfAKeyWins) {
  TLangList list("", true);
  EXPECT_EQ(list.GetLangText("lang_X", "first-cn", "first-en"), "first-cn");
  EXPECT_EQ(list.GetLangText("LANG_x", "second-cn", "second-en"), "first-cn");
  list.IsChinese = false;
  EXPECT_EQ(list.GetLangText("lang_X", "third-cn", "third-en"), "first-en");
  EXPECT_EQ(list.Keys.size(), 1u);
}

TEST(LangLookup, BuiltInRowEntersAsGbkAtItsFirstLookup) {
  TLangList list("", false);
  EXPECT_EQ(list.GetLangText(lang::lang_Command_Open), "Open");
  list.IsChinese = true;
  EXPECT_EQ(list.GetLangText(lang::lang_Command_Open), kOpenGbk);
  ASSERT_EQ(list.Keys.size(), 1u);
  EXPECT_EQ(list.Keys[0], "lang_Command_Open");
}

TEST(LangLookup, EveryBuiltInRowIsHeldOnceWhateverTheCaseOfLaterLookups) {
  TLangList list("", true);
  for (const lang::LangRow* row : lang::kAllRows) list.GetLangText(*row);
  for (const lang::LangRow* row : lang::kAllRows) {
    std::string upper(row->Key);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(list.GetLangText(upper, "other", "other"), Utf8ToGbk(row->Chinese)) << upper;
  }
  EXPECT_EQ(list.Keys.size(), 81u);
}

TEST(LangLookup, FileRowsTakePrecedenceOverBuiltInRows) {
  const TempFolder folder;
  const std::string file = folder.Write("lang.txt",
                                        "LANG_MENU_FILE|F-cn|F-en\r\n"
                                        "lang_Menu_File|later-cn|later-en\r\n"
                                        "lang_Menu_Exit|Exit\r\n"
                                        "lang_Menu_Help |H-cn|H-en\r\n");
  TLangList list(file, true);
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_File), "F-cn");
  // An empty text is shown empty: no fallback to the other language or the built-in row.
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_Exit), "");
  // A blank after the key makes it another key, so the built-in row is registered beside it.
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_Help), Utf8ToGbk("帮助(&H)"));
  list.IsChinese = false;
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_File), "F-en");
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_Exit), "Exit");
  EXPECT_EQ(list.Keys.size(), 5u);
}

TEST(LangLookup, RowsWithoutKeyMatchNoBuiltInKey) {
  const TempFolder folder;
  TLangList list(folder.Write("lang.txt", "no bar here\r\n"), false);
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_Exit), "Exit");
}

// A lang.txt as someone writes it in a text editor saving code page 936 with CR LF line ends.
TEST(LangLookup, HandWrittenGbkFileReplacesTheTextsItNames) {
  const TempFolder folder;
  const std::string file = folder.Write("lang.txt", Utf8ToGbk("; 菜单文字\r\n"
                                                              "lang_Menu_Exit|关闭程序|Quit\r\n"
                                                              "\r\n"
                                                              "lang_Lbl_Info|信息///提示|Info///area\r\n"));
  TLangList list(file, true);
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_Exit), Utf8ToGbk("关闭程序"));
  EXPECT_EQ(list.GetLangText(lang::lang_Lbl_Info), Utf8ToGbk("信息\n提示"));
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_File), Utf8ToGbk("文件(&F)"));
  list.IsChinese = false;
  EXPECT_EQ(list.GetLangText(lang::lang_Menu_Exit), "Quit");
  EXPECT_EQ(list.GetLangText(lang::lang_Lbl_Info), "Info\narea");
  EXPECT_EQ(list.TranslateText(Utf8ToGbk("关闭程序")), "Quit");
}

TEST(LangTranslate, OpenConvertsBothWaysOnceTheRowIsHeld) {
  TLangList list("", true);
  EXPECT_EQ(list.TranslateText("Open"), "Open");
  list.GetLangText(lang::lang_Command_Open);
  EXPECT_EQ(list.TranslateText("Open"), kOpenGbk);
  EXPECT_EQ(list.TranslateText("OPEN"), kOpenGbk);
  EXPECT_EQ(list.TranslateText(kOpenGbk), kOpenGbk);
  EXPECT_EQ(list.TranslateText("Opened"), "Opened");
  // Each direction only works towards the current language.
  EXPECT_EQ(list.ChineseToEnglish(kOpenGbk), kOpenGbk);
  list.IsChinese = false;
  EXPECT_EQ(list.TranslateText(kOpenGbk), "Open");
  EXPECT_EQ(list.TranslateText("Open"), "Open");
  EXPECT_EQ(list.EnglishToChinese("Open"), "Open");
}

// 0x81 0x41 and 0x81 0x61 are two different characters; their second bytes look like "A" and "a".
TEST(LangTranslate, GbkTrailBytesAreNeverCaseFolded) {
  TLangList list("", false);
  list.GetLangText("lang_A", "\x81\x41", "upper");
  list.GetLangText("lang_B", "\x81\x61", "lower");
  list.GetLangText("lang_\x81\x41", "x", "key-upper");
  EXPECT_EQ(list.TranslateText("\x81\x61"), "lower");
  EXPECT_EQ(list.TranslateText("\x81\x41"), "upper");
  EXPECT_EQ(list.GetLangText("LANG_\x81\x61", "y", "key-lower"), "key-lower");
  EXPECT_EQ(list.Keys.size(), 4u);
}

struct SameTextCase {
  const char* name;
  std::string a, b;
  bool same;
};

class GbkSameText : public testing::TestWithParam<SameTextCase> {};

TEST_P(GbkSameText, FoldsAsciiLettersOnly) {
  EXPECT_EQ(lang::SameText(GetParam().a, GetParam().b), GetParam().same);
  EXPECT_EQ(lang::SameText(GetParam().b, GetParam().a), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(Pairs, GbkSameText,
                         testing::Values(SameTextCase{"AsciiCase", "lang_Menu_File", "LANG_menu_FILE", true},
                                         SameTextCase{"DifferentLength", "Open", "Open ", false},
                                         SameTextCase{"TrailLikeLetter", "\x81\x41", "\x81\x61", false},
                                         SameTextCase{"LettersAfterAChineseCharacter",
                                                      "\x81\x41"
                                                      "Ab",
                                                      "\x81\x41"
                                                      "aB",
                                                      true},
                                         SameTextCase{"NonLettersNotFolded", "[@]", "[`]", false},
                                         SameTextCase{"LoneLeadByteAtTheEnd", "a\x81", "A\x81", true},
                                         SameTextCase{"HighBytesCompareExactly", "\xC0", "\xE0", false}),
                         [](const testing::TestParamInfo<SameTextCase>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
