#include <gtest/gtest.h>

#include <cstdio>

#include "settings/IniFile.h"
#include "settings/TempFolder.h"

namespace {

using settings::IniFile;
using settings::IniWrite;
using settings_test::ReadBytes;
using settings_test::TempFolder;
using settings_test::WriteBytes;

// ---- Reading a file written elsewhere, with each kind of line end ----

// Lines of a file as an editor or the Windows tool may leave it; joined with the line end under test.
const std::vector<std::string> kHandMadeLines = {
    "Orphan=before any section",
    "[sys]",
    "  LANG =  1  ",
    "lang=2",
    "; Lang=9",
    "[ DTU ]",
    "apn index\t=\t2",
    "APN Str = \"my apn\"",
    "IP='10.0.0.1'",
    "DevID=\"half'",
    "Bare",
    "Bare=shadowed",
    "Port=",
    "[dtu]",
    "WaitTime=from the second section",
    "[ Unclosed ",
    "Key=under the unclosed section",
};

struct ReadRow {
  const char* name;
  const char* section;
  const char* key;
  const char* expected;
  const char* defaultValue = "default";
};

const ReadRow kReadRows[] = {
    {"NamesIgnoreCaseAndBlanks", "SYS", "Lang", "1"},
    {"KeyWithBlanks", "DTU", "APN Index", "2"},
    {"DoubleQuotesRemoved", "DTU", "APN Str", "my apn"},
    {"SingleQuotesRemoved", "DTU", "IP", "10.0.0.1"},
    {"UnmatchedQuotesKept", "DTU", "DevID", "\"half'"},

    {"EmptyValueIsNotTheDefault", "DTU", "Port", ""},
    {"KeyWithoutEqualsGivesDefaultAndHidesLaterOne", "DTU", "Bare", "default"},
    {"SecondSectionOfSameNameIgnored", "DTU", "WaitTime", "default"},
    {"KeyBeforeAnySectionBelongsToNone", "", "Orphan", "default"},
    {"SectionWithoutClosingBracketStillOpens", "Unclosed", "Key", "under the unclosed section"},
    {"GivenNamesLoseTheirOuterBlanks", " DTU\t", " IP ", "10.0.0.1"},
    {"DefaultLosesTrailingBlanks", "DTU", "Missing", "  default", "  default \t "},

};

class IniReadTest : public testing::TestWithParam<std::string> {};

TEST_P(IniReadTest, FileWrittenElsewhereReadsAsOnWindows) {
  TempFolder folder;
  std::string text;
  for (const auto& line : kHandMadeLines) text += line + GetParam();
  WriteBytes(folder.File("program.ini"), text);
  const IniFile ini(folder.File("program.ini"));
  for (const ReadRow& row : kReadRows) {
    EXPECT_EQ(ini.ReadString(row.section, row.key, row.defaultValue), row.expected) << row.name;
  }
}

INSTANTIATE_TEST_SUITE_P(LineEnds, IniReadTest, testing::Values("\r\n", "\n", "\r"), [](const auto& p) {
  return p.param == "\r\n" ? std::string("CrLf") : p.param == "\n" ? "Lf" : "Cr";
});

// ---- Integers ----

struct IntegerRow {
  const char* name;
  const char* text;
  std::optional<int> expected;
};

class IniIntegerTest : public testing::TestWithParam<IntegerRow> {};

TEST_P(IniIntegerTest, Parses) { EXPECT_EQ(settings::ParseIniInteger(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Forms, IniIntegerTest,
                         testing::Values(IntegerRow{"Decimal", "10", 10}, IntegerRow{"Minus", "-1", -1},
                                         IntegerRow{"HexPrefix", "0x0A", 10}, IntegerRow{"Dollar", "$A", 10},
                                         IntegerRow{"NegativeDollar", "-$A", -10},
                                         IntegerRow{"HexAllOnesIsMinusOne", "$FFFFFFFF", -1},
                                         IntegerRow{"DecimalOverflow", "2147483648", std::nullopt},
                                         IntegerRow{"Letters", "abc", std::nullopt},
                                         IntegerRow{"TrailingLetters", "12abc", std::nullopt},
                                         IntegerRow{"PrefixOnly", "0x", std::nullopt},
                                         IntegerRow{"Empty", "", std::nullopt}),
                         [](const auto& p) { return std::string(p.param.name); });

// ---- Long values ----

TEST(IniFileTest, LongValuesAreCutAt2047BytesWithoutSplittingAChineseCharacter) {
  TempFolder folder;
  const std::string chinese = "\xD6\xD0";  // one GBK character
  WriteBytes(folder.File("a.ini"), "[DTU]\r\nIP=" + std::string(3000, 'a') + "\r\nDevID=\"" +
                                       std::string(2046, 'b') + chinese + "c\"\r\n");
  const IniFile ini(folder.File("a.ini"));
  EXPECT_EQ(ini.ReadString("DTU", "IP", ""), std::string(2047, 'a'));
  EXPECT_EQ(ini.ReadString("DTU", "DevID", ""), std::string(2046, 'b'));
}

// ---- Sections as lists ----

TEST(IniFileTest, ReadSectionListsEachKeyOnceInFileOrder) {
  TempFolder folder;
  WriteBytes(folder.File("a.ini"),
             "[Ports]\nCOM3 = /dev/ttyUSB1\n;COM1=/dev/null\nCOM1=\"/dev/ttyUSB0\"\ncom3=/dev/ttyS9\nCOM2\n"
             "[Other]\nCOM4=x\n");
  const settings::IniPairs expected = {{"COM3", "/dev/ttyUSB1"}, {"COM1", "/dev/ttyUSB0"}};
  EXPECT_EQ(IniFile(folder.File("a.ini")).ReadSection("ports"), expected);
  EXPECT_TRUE(IniFile(folder.File("missing.ini")).ReadSection("Ports").empty());
}

TEST(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
  TempFolder folder;
  const IniFile ini(folder.File("a.ini"));
  EXPECT_EQ(ini.ReadString("Sys", "Lang", "none"), "none");
  WriteBytes(folder.File("a.ini"), "[Sys]\nLang=0\n");
  EXPECT_EQ(ini.ReadString("Sys", "Lang", "none"), "0");
}

// ---- Writing into an existing file ----

struct WriteRow {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
  std::vector<settings::IniWrite> more = {};  // further writes saved with the first one, in order
};

class IniWriteTest : public testing::TestWithParam<WriteRow> {};

TEST_P(IniWriteTest, ChangesOnlyWhatItMust) {
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  if (!GetParam().before.empty()) WriteBytes(path, GetParam().before);
  IniFile ini(path);
  if (GetParam().more.empty()) {
    ini.WriteString(GetParam().section, GetParam().key, GetParam().value);
  } else {
    std::vector<settings::IniWrite> writes = {{GetParam().section, GetParam().key, GetParam().value}};
    writes.insert(writes.end(), GetParam().more.begin(), GetParam().more.end());
    ini.WriteStrings(writes);
  }
  EXPECT_EQ(ReadBytes(path), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWriteTest,
    testing::Values(
        WriteRow{"NewFile", "", "Sys", "Lang", "1", "[Sys]\r\nLang=1\r\n"},
        WriteRow{"ReplacedWhereItStandsKeepingSpelling", "; mine\r\n[dtu]\r\napn index = 1 \r\nX=y\r\n",
                 "DTU", "APN Index", "2", "; mine\r\n[dtu]\r\napn index = 2\r\nX=y\r\n"},
        WriteRow{"KeyWithoutEqualsGetsOne", "[DTU]\nIP\nIP=old\n", "DTU", "IP", "h", "[DTU]\nIP=h\nIP=old\n"},
        WriteRow{"NewKeyAfterLastKeyNotAfterTrailingComment", "[Com]\nA=1\n;note\n\n[DTU]\nB=2\n", "Com", "C",
                 "3", "[Com]\nA=1\nC=3\n;note\n\n[DTU]\nB=2\n"},
        WriteRow{"NewKeyAtEndOfFileWithoutLineEnd", "[Com]\rA=1", "Com", "B", "2", "[Com]\rA=1\rB=2\r"},
        WriteRow{"NewKeyAfterLoneHeaderGetsCrLf", "[Com]", "Com", "B", "2", "[Com]\r\nB=2\r\n"},
        WriteRow{"LastLineWithoutLineEndGetsOne", "[DTU]\nIP=a", "DTU", "IP", "b", "[DTU]\nIP=b\n"},
        WriteRow{"UnclosedSectionIsWrittenNotRepeated", "[DTU \r\nIP=a\r\n", "DTU", "IP", "b",
                 "[DTU \r\nIP=b\r\n"},
        WriteRow{"NamesMatchWithoutOuterBlanks", "[DTU]\r\nA=1\r\n", " dtu ", "\tIP ", "h",
                 "[DTU]\r\nA=1\r\nIP=h\r\n"},
        WriteRow{"NamesWrittenWithoutOuterBlanks", "", " DTU ", " IP ", "h", "[DTU]\r\nIP=h\r\n"},
        WriteRow{"OnlyFirstOfTwoSectionsWritten", "[DTU]\nA=1\n[DTU]\nB=2\n", "DTU", "B", "3",
                 "[DTU]\nA=1\nB=3\n[DTU]\nB=2\n"},
        WriteRow{"NewSectionAppendedInFilesLineEnd", "[Ports]\nCOM1=/dev/ttyUSB0", "DTU", "IP", "h",
                 "[Ports]\nCOM1=/dev/ttyUSB0\n[DTU]\nIP=h\n"},
        WriteRow{"LineBreakInValueCannotAddLines", "[DTU]\r\nIP=a\r\n", "DTU", "IP",
                 "evil\r\n[Sys]\r\nLang=0", "[DTU]\r\nIP=evil\r\n"},
        // A save of several values: each write sees the ones before it.
        WriteRow{"SaveAddsToSectionsAndKeysItMade",
                 "",
                 "Sys",
                 "Lang",
                 "1",
                 "[Sys]\r\nLang=0\r\n[DTU]\r\nIP=a\r\nPort=5\r\n",
                 {{"DTU", "IP", "a"}, {"sys", "LANG", "0"}, {"DTU", "Port", "5"}}},
        WriteRow{"SaveKeepsOtherLinesAndOrdersNewKeys",
                 "[Com]\nA=1\nB\n;note\n[DTU]\nIP=h\n",
                 "Com",
                 "C",
                 "3",
                 "[Com]\nA=1\nB=2\nC=3\nD=4\n;note\n[DTU]\nIP=k\n",
                 {{"DTU", "IP", "k"}, {"com", "b", "2"}, {"Com", "D", "4"}}},
        WriteRow{"SaveOfAKeyThatReadsAsASection",
                 "[DTU]\nA=1\n;end\n",
                 "DTU",
                 "[x",
                 "v",
                 "[DTU]\nA=1\nB=2\n[x=v\nC=3\n;end\n",
                 {{"DTU", "B", "2"}, {"x=v", "C", "3"}}},
        // The new line's CR and the empty line's LF read as one line end from then on.
        WriteRow{"SaveIntoCrFileBeforeEmptyLfLine",
                 "[S]\rA=1\n\n",
                 "S",
                 "B",
                 "2",
                 "[S]\rA=1\nB=2\r\nC=3\r",
                 {{"S", "C", "3"}}}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- Writes that fail ----

TEST(IniFileTest, ReadOnlyFolderGivesTheErrorAndKeepsTheOldFile) {
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  const std::string old = "[Sys]\r\nLang=1\r\n";
  WriteBytes(path, old);
  WriteBytes(folder.File(".program.ini.tmp-a1B2c3"), "left by a killed save");
  if (!folder.MakeReadOnly()) GTEST_SKIP() << "this file system cannot make a folder read-only for root";
  IniFile ini(path);
  EXPECT_THROW(ini.WriteString("Sys", "Lang", "0"), settings::EIniWriteError);
  EXPECT_NO_THROW(ini.WriteString("Sys", "Lang", "1")) << "an unchanged value needs no write";
  EXPECT_NO_THROW(ini.RemoveStaleTemporaries());
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(folder.EntryCount(), 2u);
}

TEST(IniFileTest, SaveWithANameNoLineCanHoldWritesNothing) {
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  WriteBytes(path, "[Sys]\nLang=1\n");
  EXPECT_THROW(IniFile(path).WriteStrings({{"Sys", "Lang", "0"}, {"DTU", "a=b", "x"}}),
               std::invalid_argument);
  EXPECT_EQ(ReadBytes(path), "[Sys]\nLang=1\n");
}

// ---- Saves that were killed ----

TEST(IniFileTest, CleanUpRemovesOnlyWhatKilledSavesLeft) {
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  WriteBytes(path, "[Sys]\r\nLang=1\r\n");
  const struct {
    const char* name;
    bool removed;
  } files[] = {
      {".program.ini.tmp-a1B2c3", true},   {".program.ini.4242.7", true},
      {".program.ini.tmp-running", false}, {".program.ini.tmp-a1B2c", false},
      {".program.ini.tmp-a1B2c3x", false}, {".program.ini.tmp-a1B2-3", false},
      {".other.ini.tmp-a1B2c3", false},    {"program.ini.tmp-a1B2c3", false},
      {".program.ini.bak", false},         {".program.ini.4242.", false},
      {".program.ini..7", false},
  };
  for (const auto& file : files) WriteBytes(folder.File(file.name), "x");
  // A save still running holds the lock on its file (this name does not fit the pattern: that is checked
  // apart).
  std::rename(folder.File(".program.ini.tmp-running").c_str(),
              folder.File(".program.ini.tmp-RUN123").c_str());
  {
    const settings_test::RunningSave running(folder.File(".program.ini.tmp-RUN123"));
    ASSERT_TRUE(running.Holds());
    IniFile(path).RemoveStaleTemporaries();
  }
  EXPECT_EQ(ReadBytes(path), "[Sys]\r\nLang=1\r\n");
  EXPECT_TRUE(std::filesystem::exists(folder.File(".program.ini.tmp-RUN123")));
  for (const auto& file : files) {
    if (std::string(file.name) == ".program.ini.tmp-running") continue;
    EXPECT_EQ(std::filesystem::exists(folder.File(file.name)), !file.removed) << file.name;
  }
}

}  // namespace
