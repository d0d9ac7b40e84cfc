// The command line against simulated DTUs on pseudo-terminals: whole runs of read, write and defaults,
// their outcomes and exit statuses, several ports at once, and stopping by signal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>

#include "CliTestSupport.h"
#include "dtu-sim/PtyDtu.h"
#include "platform/UniqueFd.h"
#include "platform/VirtualEventLoop.h"
#include "support/ProgramFixture.h"

namespace {

using cli_testing::LineStartingWith;
using cli_testing::RunChild;
using cli_testing::RunInProcess;
using dtusim::DtuSimulator;
using dtusim::PtyDtu;

DtuSimulator WithFaults(const std::function<void(DtuSimulator&)>& change) {
  DtuSimulator sim;
  change(sim);
  return sim;
}

class CommandLineE2E : public testing::Test {
 protected:
  // Keeps lang.txt and program.ini of the build folder out of the runs.
  testing_support::ProgramFolder folder;

  std::string WriteIni(const std::string& name, const std::string& text) {
    folder.Write(name, text);
    return (folder.Path() / name).string();
  }
};

TEST_F(CommandLineE2E, ASectionReadFromOneDtuAndEditedIsWrittenToAnother) {
  PtyDtu first(WithFaults([](DtuSimulator& sim) {
    sim.settings.server = "192.0.2.7";
    sim.settings.port = "5000";
    sim.settings.protocol = "UDP";
    sim.settings.apn = "iot.example";  // not one of the two fixed APNs: the window would ask in a dialog
    sim.settings.registrationPacketHex = "49443A3432";  // ID:42
    sim.settings.apnAccount = "user";
    sim.settings.apnPassword = "pw";
  }));
  PtyDtu second;

  const auto read = RunInProcess({"read", "--port", first.SlavePath(), "--lang", "en"});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(LineStartingWith(read.err, first.SlavePath() + ":"), first.SlavePath() + ": succeeded");
  EXPECT_NE(read.err.find("  [Note]:Parameter read successfully."), std::string::npos);
  EXPECT_EQ(read.out.find('\r'), std::string::npos) << "lines end in LF alone";
  EXPECT_EQ(LineStartingWith(read.out, "APN Index="), "APN Index=2");
  EXPECT_EQ(LineStartingWith(read.out, "APN Str="), "APN Str=iot.example\",\"user\",\"pw")
      << "the APN with its account and password";
  EXPECT_EQ(LineStartingWith(read.out, "DevID="), "DevID=ID:42");

  const std::string edited = std::regex_replace(read.out, std::regex("HeartbeatTime=50"), "HeartbeatTime=90");
  ASSERT_NE(edited, read.out);
  const std::string ini = WriteIni("edited.ini", edited);
  const auto write = RunInProcess({"write", "--port", second.SlavePath(), "--ini", ini, "--lang", "zh"});
  ASSERT_EQ(write.status, 0) << write.err;
  EXPECT_NE(write.err.find("[提示]：参数设置成功。"), std::string::npos)
      << "the log is UTF-8 for this terminal";
  EXPECT_TRUE(second.Settings().saved);

  const auto back = RunInProcess({"read", "--port", second.SlavePath(), "--lang", "en"});
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.out, edited);
  EXPECT_EQ(second.Settings().apn, "iot.example") << "the APN the first DTU uses, not the list's CMNET";
  EXPECT_EQ(second.Settings().apnAccount, "user");
  EXPECT_EQ(second.Settings().apnPassword, "pw");
  EXPECT_EQ(second.Settings().server, "192.0.2.7");
}

TEST_F(CommandLineE2E, APortLostWhileFollowingTheDtusNewSettingsFailsInsteadOfWaitingForEver) {
  // COM4 leads to the DTU until the DTU has taken its new format; then the mapping, read at every open,
  // leads nowhere, so the port cannot be opened again before step 9.
  PtyDtu::Options options;
  options.logger = [this](PtyDtu::LogKind kind, std::string_view text) {
    if (kind == PtyDtu::LogKind::FromTool && text.starts_with("AT+ICF=")) {
      folder.Write("program.ini", "[Ports]\nCOM4=/nonexistent/ttyUSB9\n");
    }
  };
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) { sim.faults.replyDelayMs = 50; }), options);
  folder.Write("program.ini", "[Ports]\nCOM4=" + dtu.SlavePath() + "\n");
  const auto result = RunInProcess({"defaults", "--port", "COM4", "--lang", "en"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(LineStartingWith(result.err, "COM4:"),
            "COM4: failed, the port could not be opened again with the DTU's new settings");
  EXPECT_EQ(dtu.Received().size(), 8u);
}

TEST_F(CommandLineE2E, ADevicePulledOutMidWayEndsThatPortWithTheReason) {
  // The scan's DTU listens at 9600 baud, so the pull comes while the search waits at its first settings.
  for (const std::string action : {"read", "scan"}) {
    SCOPED_TRACE(action);
    const size_t pullAfter = action == "read" ? 2 : 1;
    std::atomic<PtyDtu*> device{nullptr};
    std::atomic<bool> pulled{false};
    PtyDtu::Options options;
    options.logger = [&](PtyDtu::LogKind kind, std::string_view) {
      PtyDtu* dtu = device.load();
      if (kind != PtyDtu::LogKind::FromTool || dtu == nullptr || pulled || dtu->Received().size() < pullAfter)
        return;
      pulled = true;
      dtu->Unplug();
    };
    PtyDtu dtu(
        WithFaults([&](DtuSimulator& sim) { sim.settings.baudRate = action == "read" ? 115200 : 9600; }),
        options);
    device = &dtu;
    const std::string path = dtu.SlavePath();
    const auto result = RunInProcess({action, "--port", path, "--lang", "en"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(LineStartingWith(result.err, path + ": failed"),
              path + ": failed, the port was lost (the device was unplugged or hung up)");
    EXPECT_EQ(result.err.find("no reply from the DTU in time"), std::string::npos);
    EXPECT_EQ(result.err.find("trying 9600"), std::string::npos) << "the search stops at the loss";
  }
}

TEST_F(CommandLineE2E, ARefusedStepEndsTheWriteThereAndNamesTheCommand) {
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) { sim.faults.refuse = {"CIPPACK"}; }));
  const auto result = RunInProcess({"defaults", "--port", dtu.SlavePath(), "--lang", "en"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(LineStartingWith(result.err, dtu.SlavePath() + ":"),
            dtu.SlavePath() + ": failed, the DTU refused AT+CIPPACK=0,\"4C4F47\"");
  EXPECT_EQ(dtu.Received().size(), 3u) << "nothing is sent after the refusal";
  EXPECT_EQ(result.err.find("Parameter set successfully"), std::string::npos);
  EXPECT_FALSE(dtu.Settings().saved);
}

TEST_F(CommandLineE2E, ADtuThatAnswersWithTheTextOfTheSuccessMessageHasNotSaidOk) {
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) {
    sim.faults.answer = {{"CIPPACK", "\r\n  [Note]: Parameter set successfully.\r\n"}};
  }));
  // A line that is no final result answers nothing: the command is still unanswered when the time runs out.
  const auto result = RunInProcess({"defaults", "--port", dtu.SlavePath(), "--lang", "en"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(LineStartingWith(result.err, dtu.SlavePath() + ":"),
            dtu.SlavePath() + ": failed, no reply from the DTU in time");
}

TEST_F(CommandLineE2E, AReadThatWasNotToldEveryFieldFailsPrintsNothingAndSaysWhyInTheChosenLanguage) {
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) { sim.faults.answer = {{"CIPR", "\r\nOK\r\n"}}; }));
  const auto english = RunInProcess({"read", "--port", dtu.SlavePath(), "--lang", "en"});
  EXPECT_EQ(english.status, 1);
  EXPECT_EQ(english.out, "");
  EXPECT_EQ(
      LineStartingWith(english.err, dtu.SlavePath() + ":")
          .rfind(dtu.SlavePath() +
                     ": failed, could not read the DTU's reply to AT+CIPR?; fields left unchanged: ",
                 0),
      0u)
      << english.err;
  const auto chinese = RunInProcess({"read", "--port", dtu.SlavePath(), "--lang", "zh"});
  EXPECT_EQ(chinese.status, 1);
  EXPECT_EQ(LineStartingWith(chinese.err, dtu.SlavePath() + ":"),
            dtu.SlavePath() + ": 失败，无法识别DTU对以下命令的应答：AT+CIPR?；未改变的参数：BaudRate")
      << "fields by their keys, as the command line names them";
}

TEST_F(CommandLineE2E, APortThatCannotBeOpenedFailsAtOnce) {
  PtyDtu dtu;
  const auto result =
      RunInProcess({"read", "--port", "/nonexistent/ttyUSB9", "--port", dtu.SlavePath(), "--lang", "en"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("/nonexistent/ttyUSB9:   [Note]: Com is in use or not existing"),
            std::string::npos)
      << "with several ports, each log line names its port";
  EXPECT_NE(result.err.find("/nonexistent/ttyUSB9: failed, the port could not be opened: no such device."),
            std::string::npos);
  EXPECT_NE(result.err.find(dtu.SlavePath() + ": succeeded"), std::string::npos)
      << "the other port carries on";
  EXPECT_EQ(result.out.find("; /nonexistent"), std::string::npos);
  EXPECT_NE(result.out.find("; " + dtu.SlavePath() + "\n[DTU]\n"), std::string::npos);
}

TEST_F(CommandLineE2E, SettingsFilesThatCannotServeAWriteAreUsageErrors) {
  PtyDtu dtu;
  const std::string noDtu = WriteIni("com-only.ini", "[Com]\nBaudRate=10\n");
  EXPECT_EQ(RunInProcess({"write", "--port", dtu.SlavePath(), "--ini", noDtu}).status, 2)
      << "without a [DTU] section the DTU would silently get the defaults";
  EXPECT_EQ(RunInProcess({"write", "--port", dtu.SlavePath(), "--ini", noDtu + ".missing"}).status, 2);
  EXPECT_TRUE(dtu.Received().empty());
}

// Time-outs run on the virtual clock: the DTU is real but silent, so nothing can arrive while the clock
// jumps ahead.
TEST_F(CommandLineE2E, ASilentDtuTimesOutOnTheReplyTimeoutOrTheOverallLimitWhicheverComesFirst) {
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) { sim.faults.silent = true; }));
  cli::CliOptions options;
  options.ports = {dtu.SlavePath()};
  options.chinese = false;
  platform::VirtualEventLoop replyLoop;
  const auto reply = cli_testing::RunBatch(replyLoop, options);
  EXPECT_EQ(reply.status, 1);
  EXPECT_NE(reply.err.find("  [Note]: Receive data timeout!\n"), std::string::npos);
  EXPECT_NE(reply.err.find(": failed, no reply from the DTU in time"), std::string::npos);
  EXPECT_EQ(replyLoop.Now() / 1000, 3u) << "the reply time-out at 115200 baud";
  EXPECT_TRUE(reply.out.empty());

  options.timeoutSeconds = 1;
  platform::VirtualEventLoop overallLoop;
  const auto overall = cli_testing::RunBatch(overallLoop, options);
  EXPECT_EQ(overall.status, 1);
  EXPECT_NE(overall.err.find(": failed, no result within 1 s"), std::string::npos) << overall.err;
}

TEST_F(CommandLineE2E, FourPortsTakeAboutAsLongAsOne) {
  using Clock = std::chrono::steady_clock;
  std::vector<std::unique_ptr<PtyDtu>> dtus;
  std::vector<std::string> args{"defaults", "--lang", "en"};
  for (int i = 0; i < 4; ++i) {
    dtus.push_back(std::make_unique<PtyDtu>());
    args.insert(args.end(), {"--port", dtus.back()->SlavePath()});
  }
  const auto start = Clock::now();
  ASSERT_EQ(RunInProcess({"defaults", "--port", dtus[0]->SlavePath(), "--lang", "en"}).status, 0);
  const auto middle = Clock::now();
  const auto four = RunInProcess(args);
  const auto end = Clock::now();
  ASSERT_EQ(four.status, 0) << four.err;
  for (const auto& dtu : dtus) {
    EXPECT_NE(four.err.find(dtu->SlavePath() + ":   [Note]: Parameter set successfully."), std::string::npos);
  }
  const auto ms = [](auto d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
  std::printf("write-all: one port %lld ms, four ports %lld ms\n", static_cast<long long>(ms(middle - start)),
              static_cast<long long>(ms(end - middle)));
  EXPECT_LT(end - middle, (middle - start) * 5 / 2) << "the ports run side by side, not one after another";
}

TEST_F(CommandLineE2E, HelpAndUsageErrorsFromTheProgram) {
  const auto help = RunChild({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: dtu-config"));
  EXPECT_TRUE(help.err.empty());
  const auto version = RunChild({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "dtu-config 1.7.3.0\n");

  const auto bad = RunChild({"read", "--port", "/dev/ttyUSB0", "--baud", "12345"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_TRUE(bad.out.empty());
  EXPECT_NE(bad.err.find("--baud 12345"), std::string::npos);
  EXPECT_NE(bad.err.find("usage: dtu-config"), std::string::npos);
}

// Without arguments the program opens its window; on a machine without a display it says so and names the
// command line instead of letting the toolkit abort.
TEST_F(CommandLineE2E, WithoutADisplayTheWindowlessStartNamesTheCommandLine) {
  std::map<std::string, std::string> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (const char* value = std::getenv(name)) saved[name] = value;
    unsetenv(name);
  }
  const auto result = RunChild({});
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(result.out.empty());
  // One line that points to the command line (a build without the window says that it has none).
  EXPECT_TRUE(result.err.starts_with("dtu-config: ")) << result.err;
  EXPECT_NE(result.err.find("dtu-config --help"), std::string::npos) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

std::string Hex(const std::string& text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const unsigned char c : text) hex += {kDigits[c >> 4], kDigits[c & 0x0F]};
  return hex;
}

TEST_F(CommandLineE2E, EachUnitGetsItsOwnValuesFromTheUnitsFileAndSet) {
  PtyDtu first;
  PtyDtu second;
  PtyDtu third;
  const auto alias = folder.Path() / "second-dtu";
  std::filesystem::create_symlink(second.SlavePath(), alias);
  const std::string ini = WriteIni("base.ini", "[DTU]\nIP=198.51.100.1\nPort=2000\n");
  const std::string units = WriteIni("units.csv", "port,IP,DevID\n" + first.SlavePath() + ",192.0.2.1,\n\"" +
                                                      alias.string() + "\",,\"ID,{n}\"\n");
  const auto result =
      RunInProcess({"write", "--ini", ini, "--units", units, "--port", third.SlavePath(), "--port",
                    first.SlavePath(), "--set", "devid=LOGIN:{n}", "--set", "Port=5001", "--lang", "en"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find(alias.string() + ": succeeded"), std::string::npos)
      << "named as the row names it";
  EXPECT_EQ(first.Settings().server, "192.0.2.1");
  EXPECT_EQ(first.Settings().registrationPacketHex, Hex("LOGIN:1"));
  EXPECT_EQ(second.Settings().server, "198.51.100.1") << "an empty cell leaves the settings file's value";
  EXPECT_EQ(second.Settings().registrationPacketHex, Hex("ID,2")) << "the row beats --set";
  EXPECT_EQ(third.Settings().registrationPacketHex, Hex("LOGIN:3"))
      << "ports no row names come after the rows";
  for (const PtyDtu* dtu : {&first, &second, &third}) EXPECT_EQ(dtu->Settings().port, "5001");
  EXPECT_EQ(first.Received().size(), 10u) << "a --port that a row names is one unit, not two";
}

struct BadBatchCase {
  const char* name;
  const char* units;  // $DTU stands for the DTU's path
  // $UNITS, $INI and $DIR stand for the units file, the --ini file and the scratch folder.
  std::vector<std::string> args;
  const char* complaint;
  const char* dtuSection = nullptr;  // the [DTU] section of an --ini file
  const char* stdoutTo = nullptr;    // where standard output goes, as args name it
};

class BadBatch : public CommandLineE2E, public testing::WithParamInterface<BadBatchCase> {};

TEST_P(BadBatch, IsAUsageErrorAndOpensNoPort) {
  PtyDtu dtu;
  PtyDtu other;
  std::filesystem::create_symlink(dtu.SlavePath(), folder.Path() / "alias");
  const auto replaced = [&](std::string text) {
    const std::vector<std::pair<std::string, std::string>> names{
        {"$DTU", dtu.SlavePath()},
        {"$ALIAS", (folder.Path() / "alias").string()},
        {"$UNITS", (folder.Path() / "units.csv").string()},
        {"$INI", (folder.Path() / "b.ini").string()},
        {"$DIR", folder.Path().string()}};
    for (const auto& [name, path] : names) {
      for (size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), path);
    }
    return text;
  };
  const std::string units = WriteIni("units.csv", replaced(GetParam().units));
  std::filesystem::create_hard_link(units, folder.Path() / "units-link.csv");
  std::vector<std::string> args{"defaults", "--units", units, "--port", other.SlavePath()};
  for (const std::string& arg : GetParam().args) args.push_back(replaced(arg));
  if (GetParam().dtuSection != nullptr) {
    args.insert(args.end(), {"--ini", WriteIni("b.ini", std::string("[DTU]\n") + GetParam().dtuSection)});
  }
  const std::string before = folder.Read("b.ini");
  const auto result =
      RunChild(args, {}, GetParam().stdoutTo != nullptr ? replaced(GetParam().stdoutTo) : std::string());
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find(replaced(GetParam().complaint)), std::string::npos) << result.err;
  EXPECT_TRUE(dtu.Received().empty());
  EXPECT_TRUE(other.Received().empty()) << "not even the ports without a mistake are touched";
  EXPECT_EQ(folder.Read("units.csv"), replaced(GetParam().units)) << "an input is left as it was";
  EXPECT_EQ(folder.Read("b.ini"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadBatch,
    testing::Values(
        BadBatchCase{"UnknownKey", "port,Server\n$DTU,a\n", {}, "unknown key 'Server'"},
        BadBatchCase{"RowWithoutPort", "port,IP\n$DTU,a\n,b\n", {}, "line 3: the row has no port"},
        BadBatchCase{"TwoRowsForOnePort", "port\n$DTU\n$DTU\n", {}, "a second row"},
        BadBatchCase{"TwoNamesOfOnePort", "port\n$DTU\n$ALIAS\n", {}, "a second row"},
        BadBatchCase{"PortNotPresent", "port\n$DTU\n/dev/serial/by-id/gone\n", {}, "not present"},
        BadBatchCase{"BareByIdNameNotPresent", "port\nusb-gone-if00\n", {}, "not present"},
        BadBatchCase{"LineBreakInAValue", "port,DevID\n$DTU,\"a\nb\"\n", {}, "line break"},
        // Values the DTU could not take, refused before the first command rather than half-way.
        BadBatchCase{"PortOutOfRange",
                     "port\n$DTU\n",
                     {"--set", "Port=70000"},
                     ": Port must be a whole number from 1 to 65535"},
        BadBatchCase{"PortNotANumber", "port\n$DTU\n", {"--set", "Port=abc"}, "Port must be a whole number"},
        BadBatchCase{"EmptyIp", "port\n$DTU\n", {"--set", "IP="}, "IP must not be empty"},
        BadBatchCase{
            "HexTextNotHex", "port,DevID,DevIDHex\n$DTU,XYZ1,1\n", {}, "DevID must be pairs of hex digits"},
        BadBatchCase{"RateBeyondTheList",
                     "port\n$DTU\n",
                     {"--set", "BaudRate=11"},
                     "BaudRate must be one of the positions"},
        BadBatchCase{
            "ProtocolBeyondTheList", "port\n$DTU\n", {"--set", "Protocol=2"}, "Protocol must be one of"},
        BadBatchCase{"DataBitsNoItemNames", "port,Byte\n$DTU,9\n", {}, "Byte must be one of"},
        BadBatchCase{"ApnChoiceGiven", "port\n$DTU\n", {"--set", "APN Index=5"}, "APN Index must be one of"},
        BadBatchCase{"ApnChoiceInTheFile", "port\n$DTU\n", {}, "APN Index must be one of", "APN Index=3\n"},
        BadBatchCase{"NoGbkFormGiven",
                     "port\n$DTU\n",
                     {"--set", "DevID=ID \xF0\x9F\x98\x80"},
                     "DevID has characters with no GBK form"},
        BadBatchCase{"NoGbkFormInTheFile",
                     "port,IP\n$DTU,\xF0\x9F\x98\x80.example\n",
                     {},
                     "IP has characters with no GBK form"},
        // Each unit would get the same value where each was meant to get its own.
        BadBatchCase{"SerialOfAPortWithoutOne",
                     "port,IP\n$DTU,\n",
                     {"--set", "DevID=ID-{serial}"},
                     "DevID uses {serial}, but $DTU has no serial number"},
        BadBatchCase{"HeaderWithoutARow", "port,DevID\n", {}, "units.csv names no DTU"},
        // An output that is also an input would be emptied before it is read.
        BadBatchCase{"ReportIsTheUnitsFile",
                     "port\n$DTU\n",
                     {"--report", "$UNITS"},
                     "$UNITS is the units file $UNITS"},
        BadBatchCase{"ReportIsTheUnitsFileByAHardLink",
                     "port\n$DTU\n",
                     {"--report", "$DIR/units-link.csv"},
                     "the report file $DIR/units-link.csv is the units file"},
        BadBatchCase{"ReportIsTheSettingsFileByAnotherPath",
                     "port\n$DTU\n",
                     {"--report", "$DIR/./b.ini"},
                     "the report file $DIR/./b.ini is the settings file $INI",
                     "IP=192.0.2.1\n"},
        BadBatchCase{"StandardOutputIsTheSettingsFile",
                     "port\n$DTU\n",
                     {},
                     "standard output is the settings file $INI",
                     "IP=192.0.2.1\n",
                     "$INI"},
        BadBatchCase{"StandardOutputIsTheUnitsFile",
                     "port\n$DTU\n",
                     {},
                     "standard output is the units file $UNITS",
                     nullptr,
                     "$DIR/units-link.csv"},
        BadBatchCase{"ReportIsStandardOutput",
                     "port\n$DTU\n",
                     {"--report", "$DIR/out.txt"},
                     "the report file $DIR/out.txt is also standard output",
                     nullptr,
                     "$DIR/out.txt"}),
    [](const testing::TestParamInfo<BadBatchCase>& row) { return std::string(row.param.name); });

struct VerifyCase {
  const char* name;
  std::set<std::string> forget;
  const char* dtuSection;  // nullptr: defaults
  const char* verdict;     // after "PORT: "
  std::vector<std::string> args = {};
  const char* sent = nullptr;  // a command the DTU must have received
};

class VerifiedWrite : public CommandLineE2E, public testing::WithParamInterface<VerifyCase> {};

TEST_P(VerifiedWrite, ReadsTheDtuBackAndNamesTheFieldsItDidNotKeep) {
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) {
    sim.faults.forget = GetParam().forget;
    sim.settings.heartbeatTime = "90";
  }));
  std::vector<std::string> args{"defaults", "--verify", "--port", dtu.SlavePath(), "--lang", "en"};
  if (GetParam().dtuSection != nullptr) {
    args[0] = "write";
    args.insert(args.end(), {"--ini", WriteIni("w.ini", std::string("[DTU]\n") + GetParam().dtuSection)});
  }
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const auto result = RunInProcess(args);
  const bool kept = std::string(GetParam().verdict) == "succeeded";
  EXPECT_EQ(result.status, kept ? 0 : 1);
  EXPECT_EQ(LineStartingWith(result.err, dtu.SlavePath() + ":"), dtu.SlavePath() + ": " + GetParam().verdict)
      << result.err;
  const auto received = dtu.Received();
  ASSERT_EQ(received.size(), 13u) << "ten settings, then the three queries of a read";
  EXPECT_EQ(received[10], "AT+CIPR?\r\n");
  if (GetParam().sent != nullptr) {
    EXPECT_NE(std::find(received.begin(), received.end(), GetParam().sent), received.end())
        << GetParam().sent;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, VerifiedWrite,
    testing::Values(
        VerifyCase{"AllKept", {}, "IP=192.0.2.9\nDevID=ID:7\n", "succeeded"},
        VerifyCase{"ServerForgotten",
                   {"CIPSCONT"},
                   "IP=192.0.2.9\n",
                   "failed, the DTU accepted but did not save IP"},
        VerifyCase{"BothPacketsForgotten",
                   {"CIPPACK"},
                   "DevID=ID:7\nHeartbeatFormat=HB\n",
                   "failed, the DTU accepted but did not save DevID, HeartbeatFormat"},
        VerifyCase{"ForgottenButAlreadyTheSame", {"CIPSCONT"}, "Port=2317\n", "succeeded"},
        // The DTU keeps numbers as integers and the window reads APNs in capitals: neither is a lost value.
        VerifyCase{"SameValueInAnotherForm",
                   {},
                   "HeartbeatTime=0050\nAPN Index=2\nAPN Str=iot.example\nCIPMUX=AT + CIPMUX = 1\n",
                   "succeeded"},
        VerifyCase{"DefaultsForgotten",
                   {"CIPCFG"},
                   nullptr,
                   "failed, the DTU accepted but did not save HeartbeatTime"},
        VerifyCase{"SwitchForgotten",
                   {"CIPMUX"},
                   "CIPMUX=AT+CIPMUX=1\n",
                   "failed, the DTU accepted but did not save CIPMUX"},
        // Given as the user writes them: list items by their text, Chinese in the terminal's UTF-8.
        VerifyCase{"PlainAndChineseValues",
                   {},
                   "IP=192.0.2.9\n",
                   "succeeded",
                   {"--set", "DevID=设备", "--set", "Protocol=udp", "--set", "Stop=1"},
                   "AT+CIPPACK=1,\"C9E8B1B8\"\r\n"}),
    [](const testing::TestParamInfo<VerifyCase>& row) { return std::string(row.param.name); });

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST_F(CommandLineE2E, TheReportHasARowPerPortWithItsOutcomeAndTheValuesWritten) {
  PtyDtu good;
  PtyDtu refusing(WithFaults([](DtuSimulator& sim) { sim.faults.refuse = {"CIPSCONT"}; }));
  const std::string report = (folder.Path() / "report.csv").string();
  const auto result = RunInProcess({"write", "--ini", WriteIni("w.ini", "[DTU]\nIP=192.0.2.9\n"), "--port",
                                    good.SlavePath(), "--port", refusing.SlavePath(), "--set", "DevID=ID,{n}",
                                    "--report", report, "--lang", "en"});
  EXPECT_EQ(result.status, 1);
  const std::string csv = FileText(report);
  const std::regex goodRow("\r\n" + good.SlavePath() +
                           ",,write,succeeded,,[0-9]+,,0,CMNET,192\\.0\\.2\\.9,2317,0,10,0,1,0,\"ID,1\",");
  EXPECT_TRUE(std::regex_search(csv, goodRow)) << csv;
  EXPECT_NE(csv.find("\r\n" + refusing.SlavePath() +
                     ",,write,refused,\"the DTU refused AT+CIPSCONT=0,\"\"TCP\"\","),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("\"ID,2\""), std::string::npos) << "what it tried to write";
}

TEST_F(CommandLineE2E, AReadAsJsonIsUtf8AndEscapedForScripts) {
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) {
    sim.settings.registrationPacketHex = "C9E8B1B8225C";  // GBK 设备 with a quotation mark and a backslash
  }));
  const std::string report = (folder.Path() / "report.json").string();
  const auto result = RunInProcess(
      {"read", "--port", dtu.SlavePath(), "--format", "json", "--report", report, "--lang", "en"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("[\n  {\"port\": \"" + dtu.SlavePath() +
                                     "\", \"values\": {\"APN Index\": \"0\", "))
      << result.out;
  EXPECT_NE(result.out.find("\"DevID\": \"设备\\\"\\\\\""), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\"CIPMUX\": \"AT+CIPMUX=0\""), std::string::npos) << "as the DTU listed it";
  EXPECT_TRUE(result.out.ends_with("}}\n]\n")) << result.out;
  EXPECT_EQ(result.out.find("[DTU]"), std::string::npos);
  const std::string json = FileText(report);
  EXPECT_TRUE(std::regex_search(
      json, std::regex("\"action\": \"read\", \"outcome\": \"succeeded\", \"reason\": "
                       "\"\", \"ms\": [0-9]+, \"line\": \"\", \"values\": \\{\"APN Index\"")))
      << json;
}

TEST_F(CommandLineE2E, AReportThatCannotBeWrittenStopsTheRunBeforeAnyPortOpens) {
  PtyDtu dtu;
  for (const auto& [path, reason] :
       {std::pair<std::string, std::string>{"/nonexistent/r.csv", "No such file"},
        {"/dev/full", "No space left on device"}}) {
    const auto result = RunInProcess({"defaults", "--port", dtu.SlavePath(), "--report", path});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("dtu-config: cannot write report file " + path + ": " + reason),
              std::string::npos)
        << result.err;
  }
  EXPECT_TRUE(dtu.Received().empty());
}

// A reader that goes away is a write that fails on the spot, at a moment the test chooses.
TEST_F(CommandLineE2E, ReportRowsGoOutAsEachPortEndsAndAFailedWriteMakesTheRunFail) {
  PtyDtu quick;
  PtyDtu slow(WithFaults([](DtuSimulator& sim) { sim.faults.replyDelayMs = 300; }));
  const std::string fifo = (folder.Path() / "report.csv").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Reading and writing: the open does not wait for the program, and reads wait for its rows.
  platform::UniqueFd reader(open(fifo.c_str(), O_RDWR | O_CLOEXEC));
  std::string received;
  const auto readLines = [&](size_t lines) {
    while (std::count(received.begin(), received.end(), '\n') < static_cast<std::ptrdiff_t>(lines)) {
      pollfd ready{reader.Get(), POLLIN, 0};
      char buffer[4096];
      if (poll(&ready, 1, 20000) != 1) return;
      received.append(buffer, static_cast<size_t>(read(reader.Get(), buffer, sizeof buffer)));
    }
  };
  const auto result = RunChild(
      {"defaults", "--port", quick.SlavePath(), "--port", slow.SlavePath(), "--report", fifo, "--lang", "en"},
      [&](pid_t) {
        readLines(2);
        EXPECT_LT(slow.Received().size(), 10u) << "the quick port's row came while the slow one was busy";
        reader.Reset();
      });
  EXPECT_NE(LineStartingWith(received, quick.SlavePath()).find(",defaults,succeeded,"), std::string::npos)
      << received;
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("dtu-config: cannot write report file " + fifo + ": Broken pipe"),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find(slow.SlavePath() + ": succeeded"), std::string::npos)
      << "the DTUs are written all the same";
}

TEST_F(CommandLineE2E, StandardOutputThatCannotBeWrittenIsAnErrorNamingItAndTheReason) {
  PtyDtu dtu;
  const auto read = RunChild({"read", "--port", dtu.SlavePath(), "--lang", "en"}, {}, "/dev/full");
  EXPECT_EQ(read.status, 1);
  EXPECT_NE(read.err.find("dtu-config: cannot write standard output: No space left on device"),
            std::string::npos)
      << read.err;
  const auto version = RunChild({"--version"}, {}, "/dev/full");
  EXPECT_EQ(version.status, 2) << "no port was opened";
  EXPECT_NE(version.err.find("cannot write standard output"), std::string::npos);
}

TEST_F(CommandLineE2E, AScanPrintsTheSettingsEachDtuAnswersAtAndGivesUpAtOnceOnAMissingPort) {
  PtyDtu dtu;
  const auto result =
      RunInProcess({"scan", "--port", dtu.SlavePath(), "--port", "/nonexistent/ttyUSB9", "--lang", "en"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, dtu.SlavePath() + ": 115200 8N1\n");
  EXPECT_NE(result.err.find(dtu.SlavePath() + ": succeeded"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("/nonexistent/ttyUSB9: failed, the port could not be opened"), std::string::npos);
  EXPECT_EQ(result.err.find("/nonexistent/ttyUSB9: trying 9600"), std::string::npos) << "one try is enough";
  EXPECT_EQ(dtu.Received().front(), "AT+CIPR?\r\n");
}

TEST_F(CommandLineE2E, AutoBaudSearchesFirstThenRunsTheActionAtTheSettingsFoundOrTheLineGiven) {
  PtyDtu dtu;
  const auto result =
      RunInProcess({"write", "--baud", "auto", "--verify", "--ini",
                    WriteIni("w.ini", "[DTU]\nIP=192.0.2.5\n"), "--port", dtu.SlavePath(), "--lang", "en"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(dtu.Settings().server, "192.0.2.5");
  EXPECT_EQ(dtu.Received().size(), 1u + 10u + 3u) << "the search's query, the write, the read-back";

  PtyDtu slow(WithFaults([](DtuSimulator& sim) {
    sim.settings.baudRate = 9600;
    sim.settings.parityCode = 1;
  }));
  const auto read = RunInProcess({"read", "--line", "9600,8E1", "--port", slow.SlavePath(), "--lang", "en"});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(LineStartingWith(read.out, "Parity="), "Parity=2");
}

// On the virtual clock a silent DTU shows every try and how long each waits, without waiting for any.
TEST_F(CommandLineE2E, ASearchTriesTheLikelySettingsFirstQuicklyThenEachForOneReplyTimeout) {
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) { sim.faults.silent = true; }));
  cli::CliOptions options;
  options.action = cli::Action::Scan;
  options.ports = {dtu.SlavePath()};
  options.chinese = false;
  options.timeoutSeconds = 3600;
  platform::VirtualEventLoop loop;
  const auto result = cli_testing::RunBatch(loop, options);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(": failed, the DTU did not answer at any line setting"), std::string::npos);
  std::vector<std::string> tries;
  for (size_t at = 0; (at = result.err.find("trying ", at)) != std::string::npos; at += 7) {
    tries.push_back(result.err.substr(at + 7, result.err.find('\n', at) - at - 7));
  }
  ASSERT_EQ(tries.size(), 2u * 11u * 12u) << "every rate with every format, once in each pass";
  const std::vector<std::string> firstPass(tries.begin(), tries.begin() + 132);
  EXPECT_EQ(std::set<std::string>(firstPass.begin(), firstPass.end()).size(), firstPass.size());
  EXPECT_EQ(std::vector<std::string>(tries.begin() + 132, tries.end()), firstPass);
  EXPECT_EQ(std::vector<std::string>(tries.begin(), tries.begin() + 3),
            (std::vector<std::string>{"115200 8N1", "9600 8N1", "57600 8N1"}));
  EXPECT_EQ(tries[11], "115200 8E1") << "every rate at 8N1 before another format";
  EXPECT_EQ(tries[12], "9600 8E1");
  // The first pass within a minute; in the second, per format: nine rates wait 3 s, 600 baud 5 s, 300 baud
  // 8 s.
  const uint64_t secondPass = 12u * (9u * 3u + 5u + 8u);
  EXPECT_GT(loop.Now() / 1000, secondPass);
  EXPECT_LT(loop.Now() / 1000, secondPass + 60);

  // --timeout bounds the whole search.
  options.timeoutSeconds = 20;
  platform::VirtualEventLoop bounded;
  const auto limited = cli_testing::RunBatch(bounded, options);
  EXPECT_EQ(limited.status, 1);
  EXPECT_NE(limited.err.find(": failed, no result within 20 s"), std::string::npos) << limited.err;
  EXPECT_LT(bounded.Now(), 21000u);
  EXPECT_EQ(limited.err.find("Cancelled"), std::string::npos) << "the reason says why it ended";
}

struct StopCase {
  const char* name;
  int signal;
  int status;
};

class StopBySignal : public CommandLineE2E, public testing::WithParamInterface<StopCase> {};

TEST_P(StopBySignal, MidWayClosesThePortAndEndsWithTheSignalsStatus) {
  std::mutex mutex;
  std::condition_variable changed;
  int closedNotes = 0;
  PtyDtu::Options sinks;
  sinks.logger = [&](PtyDtu::LogKind kind, std::string_view text) {
    if (kind != PtyDtu::LogKind::Note || text != "the tool closed the line") return;
    std::lock_guard lock(mutex);
    ++closedNotes;
    changed.notify_all();
  };
  // Slow answers keep the write busy long enough to be stopped between two steps.
  PtyDtu dtu(WithFaults([](DtuSimulator& sim) { sim.faults.replyDelayMs = 300; }), sinks);

  int closedBeforeSignal = -1;
  const std::string report = (folder.Path() / "report.csv").string();
  const auto result =
      RunChild({"defaults", "--port", dtu.SlavePath(), "--report", report, "--lang", "en"}, [&](pid_t child) {
        ASSERT_TRUE(dtu.WaitForReceived(2, std::chrono::seconds(20)));
        {
          std::lock_guard lock(mutex);
          closedBeforeSignal = closedNotes;
        }
        kill(child, GetParam().signal);
      });
  EXPECT_EQ(result.status, GetParam().status)
      << "a status of 1000 + n: killed by signal n, not stopped cleanly";
  EXPECT_NE(result.err.find(dtu.SlavePath() + ": interrupted"), std::string::npos) << result.err;
  EXPECT_NE(FileText(report).find("\r\n" + dtu.SlavePath() + ",,defaults,interrupted,"), std::string::npos);
  EXPECT_LT(dtu.Received().size(), 10u);
  std::unique_lock lock(mutex);
  EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] {
    return closedNotes > closedBeforeSignal;
  })) << "the DTU saw its line closed";
}

INSTANTIATE_TEST_SUITE_P(Signals, StopBySignal,
                         testing::Values(StopCase{"CtrlC", SIGINT, 130}, StopCase{"Terminate", SIGTERM, 143},
                                         StopCase{"TerminalClosed", SIGHUP, 129}),
                         [](const testing::TestParamInfo<StopCase>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
