// The text the command line prints: the log converted for the terminal, and the section a read prints,
// which must load back into the same fields.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "main/Console.h"
#include "main/DtuSection.h"
#include "platform/TextCodec.h"
#include "platform/VirtualEventLoop.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/ScriptedDialogHost.h"
#include "ui/MainFormDesign.h"

namespace {

using cli::TerminalCode;
using platform::Utf8ToGbk;

struct CodesetCase {
  const char* codeset;
  TerminalCode code;
};

class Codesets : public testing::TestWithParam<CodesetCase> {};

TEST_P(Codesets, DecideHowTheLogIsConverted) {
  EXPECT_EQ(cli::TerminalCodeFor(GetParam().codeset), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Codesets,
    testing::Values(CodesetCase{"UTF-8", TerminalCode::Utf8}, CodesetCase{"GBK", TerminalCode::Gbk},
                    CodesetCase{"GB18030", TerminalCode::Gbk}, CodesetCase{"gb18030", TerminalCode::Gbk},
                    CodesetCase{"ANSI_X3.4-1968", TerminalCode::Utf8}, CodesetCase{"", TerminalCode::Utf8}));

TEST(ForTerminal, ConvertsChineseAndDefusesControlBytesFromTheLine) {
  const std::string gbk = Utf8ToGbk("[接收]：") + "OK\x1b[2J\x07\x7f";
  EXPECT_EQ(cli::ForTerminal(gbk, TerminalCode::Utf8), "[接收]：OK\\x1B[2J\\x07\\x7F");
  EXPECT_EQ(cli::ForTerminal(gbk, TerminalCode::Gbk), Utf8ToGbk("[接收]：") + "OK\\x1B[2J\\x07\\x7F")
      << "a GBK terminal gets the program's bytes unchanged";
}

class SectionRoundTrip : public testing::Test {
 protected:
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app{loop, host};
  std::string path = testing::TempDir() + "dtu-section.ini";

  void TearDown() override { std::remove(path.c_str()); }

  void LoadPrinted(const ui::TMainFormDesign& from, ui::TMainFormDesign& into) {
    std::ofstream(path, std::ios::binary) << cli::DtuSection(from);
    settings::LoadSettings(into, path, false);
  }
};

TEST_F(SectionRoundTrip, EveryFieldComesBackAsItWasEvenWithBlanksAndQuotesAtItsEnds) {
  ui::TMainFormDesign form(app);
  form.cbb_APN.SetItemIndex(2);
  form.ShowOtherApn("\"cmiot\"");
  form.edt_IP.SetText(" 192.0.2.1 ");
  form.edt_Port.SetText("5000");
  form.cbb_NetProtocol.SetItemIndex(1);
  form.cbb_Com_BaudRate.SetItemIndex(5);
  form.cbb_Com_Parity.SetItemIndex(2);
  form.cbb_Com_Byte.SetItemIndex(0);
  form.cbb_Com_Stop.SetItemIndex(1);
  form.edt_DevID.SetText(Utf8ToGbk("设备 7"));
  form.edt_HeartbeatFormat.SetText("'x'");
  form.edtl_HeartbeatTime.SetText("70");
  form.edt_WaitTime.SetText("20");
  form.edt_WaitLen.SetText("512");
  form.edt_RestartTime.SetText("3600");
  form.CipmuxText = "AT+CIPMUX=1";
  form.CipmodeText = "AT + CIPMODE = 0";

  ui::TMainFormDesign loaded(app);
  LoadPrinted(form, loaded);
  EXPECT_EQ(loaded.cbb_APN.ItemIndex(), 2);
  EXPECT_EQ(loaded.edt_APN_other.Text(), "\"cmiot\"");
  EXPECT_TRUE(loaded.edt_APN_other.Enabled());
  EXPECT_EQ(loaded.edt_IP.Text(), " 192.0.2.1 ");
  EXPECT_EQ(loaded.edt_Port.Text(), "5000");
  EXPECT_EQ(loaded.cbb_NetProtocol.ItemIndex(), 1);
  EXPECT_EQ(loaded.cbb_Com_BaudRate.ItemIndex(), 5);
  EXPECT_EQ(loaded.cbb_Com_Parity.ItemIndex(), 2);
  EXPECT_EQ(loaded.cbb_Com_Byte.ItemIndex(), 0);
  EXPECT_EQ(loaded.cbb_Com_Stop.ItemIndex(), 1);
  EXPECT_EQ(loaded.edt_DevID.Text(), Utf8ToGbk("设备 7"));
  EXPECT_EQ(loaded.edt_HeartbeatFormat.Text(), "'x'");
  EXPECT_EQ(loaded.edtl_HeartbeatTime.Text(), "70");
  EXPECT_EQ(loaded.edt_WaitTime.Text(), "20");
  EXPECT_EQ(loaded.edt_WaitLen.Text(), "512");
  EXPECT_EQ(loaded.edt_RestartTime.Text(), "3600");
  EXPECT_EQ(loaded.CipmuxText, "AT+CIPMUX=1");
  EXPECT_EQ(loaded.CipmodeText, "AT + CIPMODE = 0");
}

TEST_F(SectionRoundTrip, ALineBreakInAFieldCannotSmuggleInAKey) {
  ui::TMainFormDesign form(app);
  settings::LoadSettings(form, "/dev/null", false);
  form.edt_DevID.SetText("ID1\r\nIP=evil.example");
  ui::TMainFormDesign loaded(app);
  LoadPrinted(form, loaded);
  EXPECT_EQ(loaded.edt_DevID.Text(), "ID1");
  EXPECT_EQ(loaded.edt_IP.Text(), form.edt_IP.Text());
}

TEST_F(SectionRoundTrip, KeysComeInTheOrderTheWindowSavesThem) {
  ui::TMainFormDesign form(app);
  settings::LoadSettings(form, "/dev/null", false);
  settings::SaveSettings(form, path, false);
  std::vector<std::string> saved;
  for (const auto& [key, value] : settings::IniFile(path).ReadSection("DTU"))
    saved.push_back(key + "=" + value);

  std::vector<std::string> printed;
  std::istringstream lines(cli::DtuSection(form));
  for (std::string line; std::getline(lines, line);) printed.push_back(line);
  ASSERT_FALSE(printed.empty());
  EXPECT_EQ(printed.front(), "[DTU]");
  printed.erase(printed.begin());
  EXPECT_EQ(printed, saved);
}

}  // namespace
