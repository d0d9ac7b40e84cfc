// The text the command line prints: the log converted for the terminal, and the section a read prints,
// which must load back into the same fields.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "main/Console.h"
#include "settings/DtuSection.h"
#include "main/Json.h"
#include "main/OutsideText.h"
#include "main/Report.h"
#include "platform/TextCodec.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

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

TEST(OutsideText, BecomesGbkOrIsRefused) {
  EXPECT_EQ(cli::ToGbk("设备", TerminalCode::Utf8), "\xC9\xE8\xB1\xB8");
  EXPECT_EQ(cli::ToGbk("\xC9\xE8", TerminalCode::Gbk), "\xC9\xE8") << "a GBK terminal's text is GBK already";
  EXPECT_EQ(cli::ToGbk("\xC9\xE8", TerminalCode::Utf8), std::nullopt) << "not UTF-8 at all";
  EXPECT_EQ(cli::ToGbk("id \xF0\x9F\x98\x80", TerminalCode::Utf8), std::nullopt) << "no GBK form";
  EXPECT_FALSE(cli::IsUtf8("\xC0\xAF")) << "an overlong slash";
  EXPECT_FALSE(cli::IsUtf8("\xED\xA0\x80")) << "a surrogate";
  EXPECT_EQ(cli::FileTextCode("\xEF\xBB\xBFport,DevID\n/dev/a,设备\n"), TerminalCode::Utf8);
  EXPECT_EQ(cli::FileTextCode("port,DevID\n/dev/a,\xC9\xE8\xB1\xB8\n"), TerminalCode::Gbk);
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
  const std::string header = cli::ReportCsvHeader();
  EXPECT_TRUE(header.starts_with("port,adapter,action,outcome,reason,ms,line,APN Index,APN Str,IP,"))
      << header;
  EXPECT_EQ(cli::ReportCsvRow(row),
            "/dev/a,,write,refused,\"the DTU refused AT+CSTT=\"\"x\"\"\",12,9600 8N1,,,\" "
            "padded\",,,,,,,\"ID,7\",,,,,,,,,\r\n")
      << "every key of the table has its cell, the HEX flags too";
}

class PrintedSection : public testing::Test {
 protected:
  values::DtuValues values;
  std::string path = testing::TempDir() + "dtu-section.ini";

  void TearDown() override { std::remove(path.c_str()); }
};

TEST_F(PrintedSection, LoadsBackIntoTheSameValuesWhateverTheirEndsHold) {
  values.Set("APN Index", "2");
  values.Set("APN Str", "\"cmiot\"");
  values.Set("IP", " 192.0.2.1 ");
  values.Set("BaudRate", "5");
  values.Set("DevID", "C9E8B1B8");
  values.Set("DevIDHex", "1");
  values.Set("HeartbeatFormat", "'x'\r\nIP=evil.example");
  values.Set("CIPMUX", "AT+CIPMUX=1");

  const std::string section = settings::DtuSection(values, settings::AllRows());
  EXPECT_NE(section.find("\n; "), std::string::npos) << "a comment explains the list positions";
  std::ofstream(path, std::ios::binary) << section;
  const values::DtuValues loaded = settings::ReadDtuValues(settings::IniFile(path));
  values.Set("HeartbeatFormat", "'x'");
  EXPECT_EQ(loaded, values) << "a line break cannot smuggle in another key";
}

TEST_F(PrintedSection, HasTheKeysInTheOrderTheWindowSavesThemAndWhatTheReadTold) {
  values.Set("HeartbeatFormatHex", "1");
  settings::StoredSettings stored;
  stored.dtu = values;
  settings::SaveSettings(path, stored);
  std::string saved = "[DTU]\n";
  for (const auto& [key, value] : settings::IniFile(path).ReadSection("DTU"))
    saved += key + "=" + value + "\n";
  std::string printed;
  std::istringstream lines(settings::DtuSection(values, settings::AllRows()));
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with(";")) printed += line + "\n";
  }
  EXPECT_EQ(printed, saved);

  const size_t cipmode = values::RowOf("CIPMODE");
  const std::string told = settings::DtuSection(values, settings::RowsTold({cipmode}));
  EXPECT_EQ(told.find("CIPMUX="), std::string::npos) << "the DTU did not list it";
  EXPECT_NE(told.find("CIPMODE="), std::string::npos);
}

}  // namespace
