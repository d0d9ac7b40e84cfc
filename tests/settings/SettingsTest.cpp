#include <gtest/gtest.h>

#include "config/Encoding.h"
#include "platform/ProgramFolder.h"
#include "platform/VirtualEventLoop.h"
#include "settings/Settings.h"
#include "settings/TempFolder.h"
#include "support/ScriptedDialogHost.h"

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
  // Each start builds a fresh window, as the program does.
  std::unique_ptr<ui::TMainFormDesign> NewForm() { return std::make_unique<ui::TMainFormDesign>(app); }

  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app{loop, host};
  settings_test::TempFolder folder;
  const std::string path = folder.File("program.ini");
};

TEST_F(SettingsTest, FirstStartShowsDefaultsAndClosingWritesAllKeys) {
  auto form = NewForm();
  EXPECT_TRUE(settings::LoadSettings(*form, path, true));
  EXPECT_EQ(form->cbb_Open_ComName.Text(), "COM1");
  EXPECT_EQ(form->cbb_Open_BaudRate.Text(), "115200");
  EXPECT_EQ(form->cbb_Com_Byte.Text(), "8") << "the device list's designed 7 gives way to the default";
  EXPECT_EQ(form->edt_APN_other.Text(), "CMNET");
  EXPECT_FALSE(form->edt_APN_other.Enabled());
  EXPECT_EQ(form->edt_APN_other.Color(), ui::TColor::clBtnFace);
  EXPECT_FALSE(platform::FileExists(path)) << "loading creates no file";

  settings::SaveSettings(*form, path, true);
  EXPECT_EQ(ReadBytes(path), kFirstSave);
}

struct IndexRow {
  const char* name;
  const char* file;
  int expectedIndex;  // of the PC baud-rate list
  const char* savedAs;
};

class SettingsIndexTest : public SettingsTest, public testing::WithParamInterface<IndexRow> {};

TEST_P(SettingsIndexTest, SelectsByIndexAndSavesWhatIsShown) {
  WriteBytes(path, GetParam().file);
  auto form = NewForm();
  settings::LoadSettings(*form, path, false);
  EXPECT_EQ(form->cbb_Open_BaudRate.ItemIndex(), GetParam().expectedIndex);
  settings::SaveSettings(*form, path, false);
  EXPECT_EQ(settings::IniFile(path).ReadString("Com", "BaudRate", ""), GetParam().savedAs);
  auto again = NewForm();
  settings::LoadSettings(*again, path, false);
  EXPECT_EQ(again->cbb_Open_BaudRate.ItemIndex(), GetParam().expectedIndex);
}

INSTANTIATE_TEST_SUITE_P(
    BaudRate, SettingsIndexTest,
    testing::Values(IndexRow{"Hex", "[Com]\r\nBaudRate=0x0A\r\n", 10, "10"},
                    IndexRow{"Dollar", "[com]\nbaudrate = $A\n", 10, "10"},

                    IndexRow{"LettersGiveDefault", "[Com]\nBaudRate=fast\n", 10, "10"},
                    IndexRow{"OutOfRangeSelectsNothing", "[Com]\nBaudRate=20\n", -1, "-1"},

                    IndexRow{"DeviceRateIsADifferentKey", "[DTU]\nBaudRate=3\n", 10, "10"}),
    [](const auto& p) { return std::string(p.param.name); });

// A HEX box says whether its edit holds hex digits to send as they are or text to send as hex; a restart that
// lost the box would send the hex of the digits.
struct HexBoxRow {
  const char* name;
  std::string file;
  ui::TCheckBox ui::TMainFormDesign::*box;
  ui::TEdit ui::TMainFormDesign::*edit;
  bool ticked;
  const char* text;
  int step;  // of Write All that sends the packet
  std::string savedPart;
};

class SettingsHexBoxTest : public SettingsTest, public testing::WithParamInterface<HexBoxRow> {};

TEST_P(SettingsHexBoxTest, RestartSendsTheSamePacket) {
  const HexBoxRow& row = GetParam();
  if (!row.file.empty()) WriteBytes(path, row.file);
  auto form = NewForm();
  settings::LoadSettings(*form, path, false);
  ((*form).*row.box).SetChecked(row.ticked);
  ((*form).*row.edit).SetText(row.text);
  const std::string sent = config::SetCommandText(*form, row.step);
  settings::SaveSettings(*form, path, false);
  EXPECT_NE(ReadBytes(path).find(row.savedPart), std::string::npos) << ReadBytes(path);

  auto next = NewForm();
  settings::LoadSettings(*next, path, false);
  EXPECT_EQ(((*next).*row.edit).Text(), row.text) << "loading the box converts nothing";
  EXPECT_EQ(config::SetCommandText(*next, row.step), sent);
}

using F = ui::TMainFormDesign;
INSTANTIATE_TEST_SUITE_P(
    Packets, SettingsHexBoxTest,
    testing::Values(HexBoxRow{"TickedRegistrationAfterTheTable", "", &F::chk_DevID, &F::edt_DevID, true,
                              "4C4F47494E3A37", 4, "CIPMODE=AT + CIPMODE = 1\r\nDevIDHex=1\r\n"},
                    HexBoxRow{"TickedHeartbeat", "", &F::chk_HeartbeatFormat, &F::edt_HeartbeatFormat, true,
                              "4c4f47", 3, "\r\nHeartbeatFormatHex=1\r\n"},
                    HexBoxRow{"UntickedOverATickedFile", "[DTU]\r\nDevIDHex=1\r\n", &F::chk_DevID,
                              &F::edt_DevID, false, "4C4F47", 4, "[DTU]\r\nDevIDHex=0\r\n"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SettingsTest, LanguageFlagOverridesTheLocale) {
  WriteBytes(path, "[Sys]\nLang=5\n");
  EXPECT_TRUE(settings::LoadSettings(*NewForm(), path, false));
  WriteBytes(path, "[Sys]\nLang=0\n");
  EXPECT_FALSE(settings::LoadSettings(*NewForm(), path, true));
  WriteBytes(path, "[Sys]\nLang=yes\n[Com]\nLang=0\n");
  EXPECT_TRUE(settings::LoadSettings(*NewForm(), path, true))
      << "an unreadable flag gives the locale's choice";
  EXPECT_FALSE(settings::LoadSettings(*NewForm(), path, false));
}

TEST_F(SettingsTest, ApnChoiceDecidesWhatTheFieldShows) {
  WriteBytes(path, "[DTU]\nAPN Index=1\nAPN Str=ignored\n");
  auto fixed = NewForm();
  settings::LoadSettings(*fixed, path, false);
  EXPECT_EQ(fixed->cbb_APN.ItemIndex(), 1);
  EXPECT_EQ(fixed->edt_APN_other.Text(), "UNINET");
  EXPECT_FALSE(fixed->edt_APN_other.Enabled());
  settings::SaveSettings(*fixed, path, false);
  EXPECT_EQ(settings::IniFile(path).ReadString("DTU", "APN Str", ""), "UNINET");

  WriteBytes(path, "[DTU]\nAPN Index=2\nAPN Str=\"net\",\"user\"\n");
  auto other = NewForm();
  settings::LoadSettings(*other, path, false);
  EXPECT_EQ(other->cbb_APN.ItemIndex(), 2);
  EXPECT_EQ(other->edt_APN_other.Text(), "net\",\"user");
  EXPECT_TRUE(other->edt_APN_other.Enabled());
  EXPECT_EQ(other->edt_APN_other.Color(), ui::TColor::clWindow);
  EXPECT_TRUE(host.modalForms.empty()) << "no dialog opens while loading";

  WriteBytes(path, "[DTU]\nAPN Index=3\nAPN Str=unused\n");
  auto none = NewForm();
  settings::LoadSettings(*none, path, false);
  EXPECT_EQ(none->cbb_APN.ItemIndex(), -1);
  EXPECT_EQ(none->edt_APN_other.Text(), "");
  EXPECT_TRUE(none->edt_APN_other.Enabled());
}

TEST_F(SettingsTest, CommandTextsComeBackExactlyEvenWhenEmpty) {
  WriteBytes(path, "[DTU]\r\nCIPMUX=\r\nCIPMODE=AT+CIPMODE=0\r\n");
  auto form = NewForm();
  settings::LoadSettings(*form, path, false);
  EXPECT_EQ(form->CipmuxText, "");
  EXPECT_EQ(form->CipmodeText, "AT+CIPMODE=0");
  settings::SaveSettings(*form, path, false);
  const std::string saved = ReadBytes(path);
  EXPECT_NE(saved.find("\r\nCIPMUX=\r\nCIPMODE=AT+CIPMODE=0\r\n"), std::string::npos) << saved;
}

TEST_F(SettingsTest, QuotesAndOuterBlanksAreLostAtTheNextStart) {
  auto form = NewForm();
  settings::LoadSettings(*form, path, false);
  form->edt_DevID.SetText("\"LOGIN:7\"");
  form->edt_IP.SetText("  host  ");
  form->edt_WaitLen.SetText(std::string(2100, '9'));
  settings::SaveSettings(*form, path, false);
  EXPECT_NE(ReadBytes(path).find("DevID=\"LOGIN:7\"\r\nHeartbeatFormat"), std::string::npos);

  auto next = NewForm();
  settings::LoadSettings(*next, path, false);
  EXPECT_EQ(next->edt_DevID.Text(), "LOGIN:7");
  EXPECT_EQ(next->edt_IP.Text(), "host");
  EXPECT_EQ(next->edt_WaitLen.Text(), std::string(2047, '9'));
}

TEST_F(SettingsTest, HandEditedFileKeepsEverythingElseAfterASave) {
  const std::string handEdited =
      "; written by hand\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[DTU]\r\napn index = 2\r\nNote=keep me\r\n"
      "IP = 'old.example.com'\r\n; end of device\r\n";
  WriteBytes(path, handEdited);
  auto form = NewForm();
  settings::LoadSettings(*form, path, true);
  EXPECT_EQ(form->edt_IP.Text(), "old.example.com");
  settings::SaveSettings(*form, path, true);

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

TEST_F(SettingsTest, SaveStopsAtTheFirstKeyThatCannotBeWritten) {
  auto form = NewForm();
  settings::LoadSettings(*form, path, true);
  {
    // Room for the first few keys only: a disk that fills up in the middle of the save.
    settings_test::FileSizeLimit limit(100);
    try {
      settings::SaveSettings(*form, path, true);
      FAIL() << "no error";
    } catch (const settings::EIniWriteError& error) {
      EXPECT_STREQ(error.what(), ("Unable to write to " + path).c_str());
    }
  }
  const std::string partial = ReadBytes(path);
  EXPECT_FALSE(partial.empty());
  EXPECT_LT(partial.size(), kFirstSave.size());
  EXPECT_TRUE(kFirstSave.starts_with(partial) && partial.ends_with("\r\n")) << partial;
  EXPECT_EQ(folder.EntryCount(), 1u) << "no temporary file left behind";
}

TEST_F(SettingsTest, FailedSaveKeepsTheFileSoClosingAgainRetries) {
  settings::TSettings settingsFile;
  auto form = NewForm();
  const std::string blocked = folder.File("blocked");
  WriteBytes(blocked, "");
  settingsFile.LoadSettings(*form, blocked + "/program.ini", false);
  EXPECT_THROW(settingsFile.SaveSettings(*form, false), settings::EIniWriteError);
  ASSERT_TRUE(settingsFile.SettingsFile().has_value());

  std::filesystem::remove(blocked);
  std::filesystem::create_directory(blocked);
  settingsFile.SaveSettings(*form, false);
  EXPECT_FALSE(settingsFile.SettingsFile().has_value());
  EXPECT_TRUE(platform::FileExists(blocked + "/program.ini"));
}

}  // namespace
