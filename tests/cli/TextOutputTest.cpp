// The text the command line prints: the log converted for the terminal, and the section a read prints,
// which must load back into the same fields.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "main/Console.h"
#include "main/DtuSection.h"
#include "main/Json.h"
#include "main/Report.h"
#include "platform/TextCodec.h"
#include "platform/VirtualEventLoop.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/ScriptedDialogHost.h"

namespace {

using cli::TerminalCode;
using platform::Utf8ToGbk;

TEST(ForTerminal, ConvertsForTheCodeSetAndDefusesControlBytesFromTheLine) {
  EXPECT_EQ(cli::TerminalCodeFor("UTF-8"), TerminalCode::Utf8);
  EXPECT_EQ(cli::TerminalCodeFor("gb18030"), TerminalCode::Gbk);
  EXPECT_EQ(cli::TerminalCodeFor("ANSI_X3.4-1968"), TerminalCode::Utf8);

  const std::string gbk = Utf8ToGbk("[接收]：") + "OK\x1b[2J\x07\x7f";
  EXPECT_EQ(cli::ForTerminal(gbk, TerminalCode::Utf8), "[接收]：OK\\x1B[2J\\x07\\x7F");
  EXPECT_EQ(cli::ForTerminal(gbk, TerminalCode::Gbk), Utf8ToGbk("[接收]：") + "OK\\x1B[2J\\x07\\x7F");
}

TEST(JsonString, IsUtf8AndEscapesWhatCouldBreakTheDocument) {
  EXPECT_EQ(cli::JsonString(Utf8ToGbk("设备") + "\"\\/\r\n\x01\x7f"),
            "\"设备\\\"\\\\/\\u000d\\u000a\\u0001\\u007f\"");
  EXPECT_EQ(cli::JsonString(""), "\"\"");
}

TEST(ReportCsv, QuotesCellsThatNeedItAndLeavesUnknownValuesEmpty) {
  cli::ReportRow row{"/dev/a",
                     "",
                     cli::Action::Write,
                     cli::Outcome::Refused,
                     "the DTU refused AT+CSTT=\"x\"",
                     12,
                     "9600 8N1",
                     {{"DevID", "ID,7"}, {"IP", " padded"}}};
  const std::string csv = cli::ReportCsv({row});
  const std::string header = csv.substr(0, csv.find("\r\n"));
  EXPECT_TRUE(header.starts_with("port,adapter,action,outcome,reason,ms,line,APN Index,APN Str,IP,"))
      << header;
  EXPECT_EQ(csv.substr(header.size() + 2),
            "/dev/a,,write,refused,\"the DTU refused AT+CSTT=\"\"x\"\"\",12,9600 8N1,,,\" "
            "padded\",,,,,,,\"ID,7\",,,,,,,\r\n");
}

class PrintedSection : public testing::Test {
 protected:
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app{loop, host};
  ui::TMainFormDesign form{app};
  ui::TMainFormDesign loaded{app};
  std::string path = testing::TempDir() + "dtu-section.ini";

  void SetUp() override { settings::LoadSettings(form, "/dev/null", false); }
  void TearDown() override { std::remove(path.c_str()); }
};

TEST_F(PrintedSection, LoadsBackIntoTheSameFieldsWhateverTheirEndsHold) {
  form.cbb_APN.SetItemIndex(2);
  form.ShowOtherApn("\"cmiot\"");
  form.edt_IP.SetText(" 192.0.2.1 ");
  form.cbb_Com_BaudRate.SetItemIndex(5);
  form.cbb_Com_Stop.SetItemIndex(-1);
  form.edt_DevID.SetText(Utf8ToGbk("设备 7"));
  form.edt_HeartbeatFormat.SetText("'x'\r\nIP=evil.example");
  form.CipmuxText = "AT+CIPMUX=1";
  form.chk_DevID.SetChecked(true);

  std::ofstream(path, std::ios::binary) << cli::DtuSection(form);
  settings::LoadSettings(loaded, path, false);
  EXPECT_EQ(loaded.edt_APN_other.Text(), "\"cmiot\"");
  EXPECT_EQ(loaded.edt_IP.Text(), " 192.0.2.1 ");
  EXPECT_EQ(loaded.edt_HeartbeatFormat.Text(), "'x'") << "a line break cannot smuggle in another key";
  EXPECT_TRUE(loaded.chk_DevID.Checked());
  EXPECT_FALSE(loaded.chk_HeartbeatFormat.Checked());
  form.edt_HeartbeatFormat.SetText("'x'");
  EXPECT_EQ(cli::DtuSection(loaded), cli::DtuSection(form));
}

TEST_F(PrintedSection, HasTheKeysInTheOrderTheWindowSavesThem) {
  form.chk_HeartbeatFormat.SetChecked(true);
  settings::SaveSettings(form, path, false);
  std::string saved = "[DTU]\n";
  for (const auto& [key, value] : settings::IniFile(path).ReadSection("DTU"))
    saved += key + "=" + value + "\n";
  EXPECT_EQ(cli::DtuSection(form), saved);
}

}  // namespace
