#include <gtest/gtest.h>

#include <tuple>

#include "platform/ProgramFolder.h"
#include "settings/Settings.h"
#include "settings/TempFolder.h"
#include "values/Commands.h"

namespace {

using settings_test::ReadBytes;
using settings_test::WriteBytes;

// clang-format off
const std::string kFirstSave =
    "[Sys]\r\nLang=1\r\n"
    "[Com]\r\nComName=0\r\nBaudRate=10\r\nParity=0\r\nByte=1\r\nStop=0\r\n"
    "[DTU]\r\nAPN Index=0\r\nAPN Str=CMNET\r\nIP=dtu.example.com\r\nPort=2317\r\nProtocol=0\r\n"
    "BaudRate=10\r\nParity=0\r\nByte=1\r\nStop=0\r\nDevID=LOGIN:1001\r\nHeartbeatFormat=LOG\r\n"
    "HeartbeatTime=50\r\nWaitTime=10\r\nWaitLength=200\r\nRestartTime=1800\r\n"
    "CIPMUX=AT + CIPMUX = 0\r\nCIPMODE=AT + CIPMODE = 1\r\n";
// clang-format on

class SettingsTest : public testing::Test {
 protected:
  settings::StoredSettings Load(bool systemChinese = false) {
    return settings::LoadSettings(path, systemChinese);
  }
  // Saves what the file gives, as the window does when nothing was changed in between.
  void SaveAsLoaded(bool systemChinese = false) { settings::SaveSettings(path, Load(systemChinese)); }

  settings_test::TempFolder folder;
  const std::string path = folder.File("program.ini");
};

TEST_F(SettingsTest, FirstStartGivesDefaultsAndClosingWritesTheTwentyThreeKeys) {
  const settings::StoredSettings stored = Load(true);
  EXPECT_TRUE(stored.chinese);
  EXPECT_EQ(stored.com, settings::kComDefaults);
  EXPECT_EQ(stored.dtu, values::DtuValues());
  EXPECT_FALSE(platform::FileExists(path)) << "loading creates no file";

  settings::SaveSettings(path, stored);
  EXPECT_EQ(ReadBytes(path), kFirstSave);
}

struct IndexRow {
  const char* name;
  const char* file;
  int expectedIndex;  // of the PC baud-rate list
  const char* savedAs;
};

class SettingsIndexTest : public SettingsTest, public testing::WithParamInterface<IndexRow> {};

TEST_P(SettingsIndexTest, ReadsThePositionAndSavesItAsANumber) {
  WriteBytes(path, GetParam().file);
  EXPECT_EQ(Load().com[1], GetParam().expectedIndex);
  SaveAsLoaded();
  EXPECT_EQ(settings::IniFile(path).ReadString("Com", "BaudRate", ""), GetParam().savedAs);
  EXPECT_EQ(Load().com[1], GetParam().expectedIndex);
}

INSTANTIATE_TEST_SUITE_P(BaudRate, SettingsIndexTest,
                         testing::Values(IndexRow{"Hex", "[Com]\r\nBaudRate=0x0A\r\n", 10, "10"},
                                         IndexRow{"Dollar", "[com]\nbaudrate = $A\n", 10, "10"},
                                         IndexRow{"LettersGiveDefault", "[Com]\nBaudRate=fast\n", 10, "10"},
                                         IndexRow{"OutOfRangeIsKept", "[Com]\nBaudRate=20\n", 20, "20"},
                                         IndexRow{"DeviceRateIsADifferentKey", "[DTU]\nBaudRate=3\n", 10,
                                                  "10"}),
                         [](const auto& p) { return std::string(p.param.name); });

// A HEX flag says whether its packet holds hex digits to send as they are or text to send as hex; a restart
// that lost the flag would send the hex of the digits. A flag key is written only once its box was ticked.
struct HexFlagRow {
  const char* name;
  std::string file;
  const char* flagKey;
  const char* flag;
  const char* packetKey;
  const char* packet;
  int step;  // of Write All that sends the packet
  std::string savedPart;
};

class SettingsHexFlagTest : public SettingsTest, public testing::WithParamInterface<HexFlagRow> {};

TEST_P(SettingsHexFlagTest, RestartSendsTheSamePacket) {
  const HexFlagRow& row = GetParam();
  if (!row.file.empty()) WriteBytes(path, row.file);
  settings::StoredSettings stored = Load();
  stored.dtu.Set(row.flagKey, row.flag);
  stored.dtu.Set(row.packetKey, row.packet);
  settings::SaveSettings(path, stored);
  EXPECT_NE(ReadBytes(path).find(row.savedPart), std::string::npos) << ReadBytes(path);

  const settings::StoredSettings next = Load();
  EXPECT_EQ(next.dtu, stored.dtu);
  EXPECT_EQ(values::CommandText(row.step, next.dtu), values::CommandText(row.step, stored.dtu));
}

INSTANTIATE_TEST_SUITE_P(
    Packets, SettingsHexFlagTest,
    testing::Values(HexFlagRow{"TickedRegistrationAfterTheTable", "", "DevIDHex", "1", "DevID",
                               "4C4F47494E3A37", 4, "CIPMODE=AT + CIPMODE = 1\r\nDevIDHex=1\r\n"},
                    HexFlagRow{"TickedHeartbeat", "", "HeartbeatFormatHex", "1", "HeartbeatFormat", "4c4f47",
                               3, "\r\nHeartbeatFormatHex=1\r\n"},
                    HexFlagRow{"UntickedOverATickedFile", "[DTU]\r\nDevIDHex=1\r\n", "DevIDHex", "0", "DevID",
                               "4C4F47", 4, "[DTU]\r\nDevIDHex=0\r\n"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SettingsTest, AFlagThatWasNeverTickedIsNotWritten) {
  WriteBytes(path, "[DTU]\r\nHeartbeatFormatHex=7\r\n");
  SaveAsLoaded();
  const std::string saved = ReadBytes(path);
  EXPECT_EQ(saved.find("DevIDHex"), std::string::npos) << saved;
  EXPECT_NE(saved.find("HeartbeatFormatHex=1\r\n"), std::string::npos) << "any non-zero number is ticked";
}

// The window's options: verify on unless the file says 0, time stamps off unless it says 1, and each key
// written only once the option left its default.
struct VerifyRow {
  const char* name;
  const char* file;
  bool loaded;
  bool saved;
  const char* savedPart;  // nullptr: no key at all
  bool settings::StoredSettings::*option = &settings::StoredSettings::verify;
  const char* key = "Verify";
};

class SettingsVerifyTest : public SettingsTest, public testing::WithParamInterface<VerifyRow> {};

TEST_P(SettingsVerifyTest, TheKeyIsWrittenOnlyWhenNeeded) {
  const VerifyRow& row = GetParam();
  WriteBytes(path, row.file);
  settings::StoredSettings stored = Load();
  EXPECT_EQ(stored.*row.option, row.loaded);
  stored.*row.option = row.saved;
  settings::SaveSettings(path, stored);
  const std::string saved = ReadBytes(path);
  if (row.savedPart == nullptr) {
    EXPECT_EQ(saved.find(row.key), std::string::npos) << saved;
  } else {
    EXPECT_NE(saved.find(row.savedPart), std::string::npos) << saved;
  }
  EXPECT_EQ(Load().*row.option, row.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Option, SettingsVerifyTest,
    testing::Values(VerifyRow{"OnByDefault", "", true, true, nullptr},
                    VerifyRow{"TurnedOff", "", true, false, "[Sys]\r\nLang=0\r\nVerify=0\r\n"},
                    VerifyRow{"OffInTheFile", "[Sys]\r\nVerify=0\r\n", false, false, "Verify=0\r\n"},
                    VerifyRow{"TurnedBackOnKeepsTheKey", "[Sys]\r\nVerify=0\r\n", false, true,
                              "Verify=1\r\n"},
                    VerifyRow{"StampsOffByDefault", "", false, false, nullptr,
                              &settings::StoredSettings::timeStamps, "TimeStamps"},
                    VerifyRow{"StampsTurnedOn", "", false, true, "[Sys]\r\nLang=0\r\nTimeStamps=1\r\n",
                              &settings::StoredSettings::timeStamps, "TimeStamps"},
                    VerifyRow{"StampsTurnedBackOffKeepTheKey", "[Sys]\r\nTimeStamps=1\r\n", true, false,
                              "TimeStamps=0\r\n", &settings::StoredSettings::timeStamps, "TimeStamps"}),
    [](const auto& p) { return std::string(p.param.name); });

// The window's place: no keys until it has one, then all five, read back; a file without a usable size
// gives none, so the window comes up as designed.
TEST_F(SettingsTest, TheWindowsPlaceIsKeptOnceItHasOne) {
  settings::StoredSettings stored = Load();
  EXPECT_FALSE(stored.place);
  settings::SaveSettings(path, stored);
  EXPECT_EQ(ReadBytes(path).find("[Window]"), std::string::npos);
  stored.place = settings::StoredPlace{-1200, 40, 1000, 700, true};
  settings::SaveSettings(path, stored);
  EXPECT_NE(
      ReadBytes(path).find("[Window]\r\nLeft=-1200\r\nTop=40\r\nWidth=1000\r\nHeight=700\r\nMaximized=1\r\n"),
      std::string::npos);
  const auto loaded = Load().place;
  ASSERT_TRUE(loaded);
  EXPECT_EQ(std::make_tuple(loaded->left, loaded->top, loaded->width, loaded->height, loaded->maximized),
            std::make_tuple(-1200, 40, 1000, 700, true));
  for (const char* file : {"[Window]\r\nLeft=5\r\nTop=5\r\n", "[Window]\r\nWidth=0\r\nHeight=700\r\n",
                           "[Window]\r\nWidth=wide\r\nHeight=700\r\n"}) {
    WriteBytes(path, file);
    EXPECT_FALSE(Load().place) << file;
  }
}

TEST_F(SettingsTest, LanguageFlagOverridesTheLocale) {
  WriteBytes(path, "[Sys]\nLang=5\n");
  EXPECT_TRUE(Load(false).chinese);
  WriteBytes(path, "[Sys]\nLang=0\n");
  EXPECT_FALSE(Load(true).chinese);
  WriteBytes(path, "[Sys]\nLang=yes\n[Com]\nLang=0\n");
  EXPECT_TRUE(Load(true).chinese) << "an unreadable flag gives the locale's choice";
  EXPECT_FALSE(Load(false).chinese);
}

TEST_F(SettingsTest, TheApnTextIsReadOnlyForTheOtherApnPosition) {
  WriteBytes(path, "[DTU]\nAPN Index=1\nAPN Str=ignored\n");
  EXPECT_EQ(Load().dtu.Get(values::kApnStr), "UNINET");
  SaveAsLoaded();
  EXPECT_EQ(settings::IniFile(path).ReadString("DTU", "APN Str", ""), "UNINET");

  WriteBytes(path, "[DTU]\nAPN Index=2\nAPN Str=\"net\",\"user\"\n");
  const values::DtuValues other = Load().dtu;
  EXPECT_EQ(other.Get(values::kApnIndex), "2");
  EXPECT_EQ(other.Get(values::kApnStr), "net\",\"user");
}

TEST_F(SettingsTest, CommandTextsComeBackExactlyEvenWhenEmpty) {
  WriteBytes(path, "[DTU]\r\nCIPMUX=\r\nCIPMODE=AT+CIPMODE=0\r\n");
  const values::DtuValues loaded = Load().dtu;
  EXPECT_EQ(loaded.Get(values::kCipmux), "");
  EXPECT_EQ(loaded.Get(values::kCipmode), "AT+CIPMODE=0");
  SaveAsLoaded();
  const std::string saved = ReadBytes(path);
  EXPECT_NE(saved.find("\r\nCIPMUX=\r\nCIPMODE=AT+CIPMODE=0\r\n"), std::string::npos) << saved;
}

// What the loader would change is put in quotation marks of its own, so the next start gets it back.
struct StoredFormRow {
  const char* name;
  std::string value;
  std::string stored;
  std::string loaded;
};

class SettingsStoredFormTest : public SettingsTest, public testing::WithParamInterface<StoredFormRow> {};

TEST_P(SettingsStoredFormTest, TheNextStartReadsWhatWasSaved) {
  const StoredFormRow& row = GetParam();
  EXPECT_EQ(settings::StoredForm(row.value), row.stored);
  settings::StoredSettings stored = Load();
  stored.dtu.Set("DevID", row.value);
  settings::SaveSettings(path, stored);
  EXPECT_NE(ReadBytes(path).find("DevID=" + row.stored + "\r\nHeartbeatFormat"), std::string::npos);
  EXPECT_EQ(Load().dtu.Get("DevID"), row.loaded);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsStoredFormTest,
                         testing::Values(StoredFormRow{"Plain", "LOGIN:7", "LOGIN:7", "LOGIN:7"},
                                         StoredFormRow{"Quoted", "\"LOGIN:7\"", "\"\"LOGIN:7\"\"",
                                                       "\"LOGIN:7\""},
                                         StoredFormRow{"InSingleQuotes", "'x'", "\"'x'\"", "'x'"},
                                         StoredFormRow{"OuterBlanks", "  host\t", "\"  host\t\"", "  host\t"},
                                         StoredFormRow{"OneQuoteOnly", "\"abc", "\"abc", "\"abc"},
                                         StoredFormRow{"CutAtALineBreak", "ID\r\nnext", "ID", "ID"},
                                         StoredFormRow{"TooLongForALine", std::string(2100, '9'),
                                                       std::string(2100, '9'), std::string(2047, '9')}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(SettingsTest, HandEditedFileKeepsEverythingElseAfterASave) {
  const std::string handEdited =
      "; written by hand\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[DTU]\r\napn index = 2\r\nNote=keep me\r\n"
      "IP = 'old.example.com'\r\n; end of device\r\n";
  WriteBytes(path, handEdited);
  EXPECT_EQ(Load(true).dtu.Get("IP"), "old.example.com");
  SaveAsLoaded(true);

  const std::string saved = ReadBytes(path);
  EXPECT_TRUE(
      saved.starts_with("; written by hand\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[DTU]\r\n"
                        "apn index = 2\r\nNote=keep me\r\nIP = old.example.com\r\nAPN Str=CMNET\r\n"))
      << saved;
  EXPECT_EQ(saved.find("APN Index"), std::string::npos) << "the existing spelling is kept, not doubled";
  EXPECT_NE(saved.find("CIPMODE=AT + CIPMODE = 1\r\n; end of device\r\n[Sys]\r\nLang=1\r\n[Com]\r\n"),
            std::string::npos)
      << saved;
  EXPECT_EQ(settings::IniFile(path).ReadSection("Ports"), (settings::IniPairs{{"COM1", "/dev/ttyUSB0"}}));
}

TEST_F(SettingsTest, ASaveThatCannotBeWrittenWholeLeavesTheOldFile) {
  settings::StoredSettings stored = Load(true);
  settings::SaveSettings(path, stored);
  const std::string old = ReadBytes(path);
  stored.dtu.Set("IP", std::string(200, 'h'));
  {
    // A disk that fills up in the middle of the save.
    settings_test::FileSizeLimit limit(old.size() + 20);
    if (!limit.Active()) GTEST_SKIP() << "this system cannot limit the size of a file";
    try {
      settings::SaveSettings(path, stored);
      FAIL() << "no error";
    } catch (const settings::EIniWriteError& error) {
      EXPECT_STREQ(error.what(), ("Unable to write to " + path).c_str());
    }
  }
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(folder.EntryCount(), 1u) << "no temporary file left behind";
}

}  // namespace
