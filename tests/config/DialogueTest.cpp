// Whole conversations with the simulated DTU on the virtual clock, seen from the host: the values it holds,
// the line it chose, its log and the end events.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "ConfigBench.h"
#include "lang/DialogueRows.h"
#include "values/Replies.h"

namespace config_test {
namespace {

using config::TAction;
using config::TOutcome;
using config::TSequenceEnd;
using dtusim::EchoMode;
using dtusim::LineFormat;

const std::vector<std::string> kQueries = {"AT+CIPR?\r\n", "AT+ICF?\r\n", "AT+CIPSCONT?\r\n"};

// Values at their defaults but for "key=value;key=value".
values::DtuValues ValuesWith(const std::string& changes) {
  values::DtuValues result;
  std::istringstream in(changes);
  for (std::string change; std::getline(in, change, ';');) {
    result.Set(change.substr(0, change.find('=')), change.substr(change.find('=') + 1));
  }
  return result;
}

// What the DTU lists, the PC line it answers at, and the values a read must take from it (besides the
// defaults; CIPMUX and CIPMODE as listed). Every listing is then written back, which must leave the DTU as it
// was.
struct ListingRow {
  const char* name;
  std::function<void(dtusim::DtuSettings&)> dtu;
  std::string taken;
  config::LineChoice pc = {};
};

class Listing : public testing::TestWithParam<ListingRow> {};
TEST_P(Listing, AReadTakesWhatTheDtuListedAndAWriteAllGivesItBackUnchanged) {
  ConfigBench bench;
  GetParam().dtu(bench.dtu.settings);
  bench.host.line = config::WholeLine(GetParam().pc);
  bench.port.OpenComPort();
  bench.config.StartRead();
  bench.loop.AdvanceBy(1000);
  EXPECT_EQ(bench.line.SentTexts(), kQueries);
  EXPECT_EQ(bench.host.values, ValuesWith("CIPMUX=AT+CIPMUX=0;CIPMODE=AT+CIPMODE=1;" + GetParam().taken));
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 1);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::Read, TOutcome::Succeeded, kQueries[2]}}));
  EXPECT_TRUE(bench.Idle());
  EXPECT_FALSE(bench.timeOut.Enabled());
  dtusim::DtuSettings listed = bench.dtu.settings;
  listed.saved = true;
  bench.config.StartWriteAll();
  bench.loop.AdvanceBy(2000);
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 1);
  EXPECT_TRUE(bench.dtu.settings == listed) << "the DTU keeps exactly what it listed";
}

INSTANTIATE_TEST_SUITE_P(
    Dtus, Listing,
    testing::Values(
        // 9600 7E2: format code 4 is 7 data bits and 2 stop bits, parity code 1 is even.
        ListingRow{"EveryField",
                   [](dtusim::DtuSettings& s) {
                     s = {.apn = "UNINET",
                          .apnAccount = "",
                          .apnPassword = "",
                          .heartbeatTime = "60",
                          .waitTime = "20",
                          .waitLength = "512",
                          .restartTime = "3600",
                          .heartbeatPacketHex = "4842",
                          .registrationPacketHex = "49443A37",
                          .cipmux = "0",
                          .cipmode = "1",
                          .protocol = "UDP",
                          .server = "10.0.0.1",
                          .port = "5000",
                          .formatCode = 4,
                          .parityCode = 1,
                          .baudRate = 9600,
                          .saved = false};
                   },
                   "APN Index=1;APN Str=UNINET;HeartbeatTime=60;WaitTime=20;WaitLength=512;RestartTime=3600;"
                   "HeartbeatFormat=HB;DevID=ID:7;Protocol=1;IP=10.0.0.1;Port=5000;BaudRate=5;Byte=0;Stop=1;"
                   "Parity=2",
                   {9600, 7, 'E', 2}},
        ListingRow{"ServerWithACommaInQuotes", [](dtusim::DtuSettings& s) { s.server = "a,b.example.com"; },
                   "IP=a,b.example.com"},
        ListingRow{"PacketWithLineBreakAndNulBytes",
                   [](dtusim::DtuSettings& s) { s.registrationPacketHex = "49440D0A0031"; },
                   "DevID=49440D0A0031;DevIDHex=1"}),
    ByName);

// DTUs that answer a little differently: every query still goes out, and the read ends with the verdict
// naming the first query whose reply was not a plain OK or, failing that, the first whose reply did not
// report all its fields, with every field that stayed as it was.
struct ReadVerdictRow {
  const char* name;
  std::map<std::string, std::string> answers;
  std::string command;
  std::string unchanged;  // empty: refused
  std::set<std::string> refuse = {};
  std::optional<uint32_t> splitPauseMs = {};
};

class ReadVerdict : public testing::TestWithParam<ReadVerdictRow> {};
TEST_P(ReadVerdict, AReadThatWasNotToldEveryFieldIsNotReportedAsRead) {
  ConfigBench bench;
  const ReadVerdictRow& row = GetParam();
  bench.dtu.faults.answer = row.answers;
  bench.dtu.faults.refuse = row.refuse;
  bench.dtu.faults.splitPauseMs = row.splitPauseMs;
  bench.config.StartRead();
  bench.loop.AdvanceBy(3000);
  EXPECT_EQ(bench.line.SentTexts(), kQueries);
  const bool refused = row.unchanged.empty();
  const std::string verdict =
      refused ? "  [Note]: The DTU refused the command: " + row.command + " (ERROR)"
              : "  [Note]: Could not read the DTU's reply to the command: " + row.command +
                    "; fields left unchanged: " + row.unchanged;
  EXPECT_EQ(std::count(bench.host.log.begin(), bench.host.log.end(), verdict), 1);
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 0);
  std::vector<std::string> unchanged;
  std::istringstream names(row.unchanged);
  for (std::string name; std::getline(names >> std::ws, name, ',');) unchanged.push_back(name);
  EXPECT_EQ(bench.ends,
            (std::vector<TSequenceEnd>{{TAction::Read, refused ? TOutcome::Refused : TOutcome::Unreadable,
                                        row.command + "\r\n", unchanged}}));
  for (const auto& rows : bench.host.shown) {
    for (const size_t shown : rows)
      EXPECT_EQ(row.unchanged.find(values::Table()[shown].key), std::string::npos);
  }
  EXPECT_TRUE(bench.Idle());
}

const std::string kListingWithUnquotedServer =
    "\r\n+CIPCFG: 1,50,0,10,200,1800\r\n+CIPPACK: 0,\"4C4F47\"\r\n+CIPPACK: 1,\"4C4F47494E3A31303031\"\r\n"
    "+CSTT: \"CMNET\",\"\",\"\"\r\n+CIPSTART: \"TCP\",a,b.example.com,2317,2\r\nOK\r\n";
INSTANTIATE_TEST_SUITE_P(
    Answers, ReadVerdict,
    testing::Values(
        ReadVerdictRow{"BareOk",
                       {{"CIPR", "\r\nOK\r\n"}, {"ICF", "\r\nOK\r\n"}, {"CIPSCONT", "\r\nOK\r\n"}},
                       "AT+CIPR?",
                       "APN Index, APN Str, IP, Port, Protocol, BaudRate, Parity, Byte, Stop, DevID, "
                       "HeartbeatFormat, HeartbeatTime, WaitTime, WaitLength, RestartTime"},
        ReadVerdictRow{"RateNotInTheList", {{"CIPR", "\r\n+CIPR: 12345\r\nOK\r\n"}}, "AT+CIPR?", "BaudRate"},
        ReadVerdictRow{
            "UnknownFormatCode", {{"ICF", "\r\n+ICF: 2,3\r\nOK\r\n"}}, "AT+ICF?", "Parity, Byte, Stop"},
        ReadVerdictRow{
            "ListingWithoutPacketsOrApn",
            {{"CIPSCONT", "\r\n+CIPCFG: 1,50,0,10,200,1800\r\n+CIPSTART: \"TCP\",\"h\",2317,2\r\nOK\r\n"}},
            "AT+CIPSCONT?",
            "APN Index, APN Str, DevID, HeartbeatFormat"},
        ReadVerdictRow{"UnquotedCommaInTheServer",
                       {{"CIPSCONT", kListingWithUnquotedServer}},
                       "AT+CIPSCONT?",
                       "IP, Port, Protocol"},
        ReadVerdictRow{"RefusedFormat", {}, "AT+ICF?", "", {"ICF"}}),
    ByName);

TEST(WriteAll, TenCommandsInOrderWithThePcPortFollowingTheDtu) {
  ConfigBench bench;
  // The DTU's line to 9600 7E2.
  bench.host.values =
      ValuesWith("IP=10.1.2.3;Port=6000;Protocol=1;CIPMUX=AT+CIPMUX=1;BaudRate=5;Parity=2;Byte=0;Stop=1");
  bench.config.StartWriteAll();
  bench.loop.AdvanceBy(2000);
  std::string all;
  for (const std::string& command : bench.line.SentTexts()) all += command;
  EXPECT_EQ(all,
            "AT+CSTT=\"CMNET\"\r\nAT+CIPCFG=1,50,0,10,200,1800\r\nAT+CIPPACK=0,\"4C4F47\"\r\n"
            "AT+CIPPACK=1,\"4C4F47494E3A31303031\"\r\nAT+CIPMUX=1\r\nAT + CIPMODE = 1\r\n"
            "AT+CIPSCONT=0,\"UDP\",\"10.1.2.3\", 6000,2\r\nAT+ICF=4,1\r\nAT+CIPR=9600\r\nATW\r\n");
  ASSERT_EQ(bench.line.sent.size(), 10u);
  const auto& sent = bench.line.sent;
  EXPECT_EQ(sent[7].openCount, 0) << "steps 1 to 8 on the line as it was";
  EXPECT_EQ(sent[7].format, (LineFormat{115200, 8, 'N', 1}));
  EXPECT_EQ(sent[8].openCount, 1);
  EXPECT_EQ(sent[8].format, (LineFormat{115200, 7, 'E', 2})) << "new format, old baud rate";
  EXPECT_EQ(sent[9].openCount, 2);
  EXPECT_EQ(sent[9].format, (LineFormat{9600, 7, 'E', 2}));
  EXPECT_GE(sent[8].at - sent[7].at, 200u) << "the adapter gets its pause";
  const config::PortLine newLine = config::WholeLine({9600, 7, 'E', 2});
  EXPECT_EQ(bench.host.chosen, (std::vector<config::PortLine>{{std::nullopt, 7, 'E', 2}, newLine}));
  EXPECT_EQ(bench.host.line, newLine) << "the PC port keeps the new settings";
  EXPECT_EQ(bench.line.lostBursts, 0);
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 1);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::WriteAll, TOutcome::Succeeded, "ATW\r\n"}}));
  EXPECT_TRUE(bench.Idle());
  EXPECT_TRUE(bench.dtu.settings.saved);
}

// A write that can be sent only in part, or not at all: nothing of it goes out after its end, which is
// reported once with its verdict in the log.
struct WriteEndRow {
  const char* name;
  std::string values;  // the host's, besides the defaults
  size_t sent;
  TSequenceEnd end;
  std::string verdict;
  bool failOpen = false;
  // Run 100 ms after step 8 went out: during the pause before step 9.
  std::function<void(ConfigBench&)> meanwhile = {};
};

class WriteEnd : public testing::TestWithParam<WriteEndRow> {};
TEST_P(WriteEnd, SendsNothingAfterItsEndAndReportsItOnce) {
  ConfigBench bench;
  const WriteEndRow& row = GetParam();
  bench.host.values = ValuesWith(row.values);
  bench.line.failOpen = row.failOpen;
  int ticks = 0;
  const auto later = bench.loop.CreateTimer([&] { ticks++ == 0 ? row.meanwhile(bench) : void(); }, 100);
  bench.line.peer = [&](std::string_view bytes, const LineFormat& with) {
    if (bytes.starts_with("AT+ICF=") && row.meanwhile) later->SetEnabled(true);
    return bench.dtu.Receive(bytes, with);
  };
  bench.config.StartWriteAll();
  bench.loop.AdvanceBy(20000);
  EXPECT_EQ(bench.line.sent.size(), row.sent);
  EXPECT_EQ(bench.ends, std::vector<TSequenceEnd>{row.end});
  EXPECT_EQ(std::count(bench.host.log.begin(), bench.host.log.end(), "  " + row.verdict), 1);
  EXPECT_EQ(bench.host.problems.size(), row.end.problem ? 1u : 0u) << "the host shows the value";
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 0);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  EXPECT_TRUE(bench.Idle());
}

TSequenceEnd Invalid(const char* key, values::Rule rule, int64_t min = 0, int64_t max = 0) {
  return {TAction::WriteAll, TOutcome::Invalid, "", {}, values::Problem{values::RowOf(key), rule, min, max}};
}

const std::string kNotSent = "[Note]: Nothing was sent because a value is not valid: ";
const std::string kNotInList = "must be a list position from 0 to ";

INSTANTIATE_TEST_SUITE_P(
    Writes, WriteEnd,
    testing::Values(
        WriteEndRow{"PortOutOfRange", "Port=70000", 0, Invalid("Port", values::Rule::Number, 1, 65535),
                    kNotSent + "Port: must be a whole number from 1 to 65535"},
        WriteEndRow{"EmptyServer", "IP=", 0, Invalid("IP", values::Rule::Empty),
                    kNotSent + "IP: must not be empty"},
        WriteEndRow{"HexFormNotHex", "DevID=XYZ1;DevIDHex=1", 0, Invalid("DevID", values::Rule::HexPairs),
                    kNotSent + "DevID: must be pairs of hex digits"},
        WriteEndRow{"RateNotInTheList", "BaudRate=11", 0, Invalid("BaudRate", values::Rule::ListItem, 0, 10),
                    kNotSent + "BaudRate: " + kNotInList + "10"},
        WriteEndRow{"ApnChoiceNotInTheList", "APN Index=5", 0,
                    Invalid("APN Index", values::Rule::ListItem, 0, 2),
                    kNotSent + "APN Index: " + kNotInList + "2"},
        // The port does not open again with the DTU's new format: step 9 cannot go out, and no time-out runs.
        WriteEndRow{"ReopeningFailed",
                    "",
                    8,
                    {TAction::WriteAll, TOutcome::PortClosed, "AT+CIPR=115200\r\n"},
                    "[Note]: Com is not Opened, Open Com first, Please!",
                    true},
        // A DTU that restarts loses what it had not saved: the write ends with a verdict of its own.
        WriteEndRow{"DtuRestartedInThePause",
                    "",
                    8,
                    {TAction::WriteAll, TOutcome::Restarted, "AT+ICF=3,3\r\n"},
                    "[Note]: The DTU restarted during the write; settings it had not yet saved were lost. "
                    "Write them again.",
                    false,
                    [](ConfigBench& bench) { bench.Receive(bench.dtu.PowerOn()[0].bytes); }},
        WriteEndRow{"ValueMadeInvalidInThePause", "", 8, Invalid("Port", values::Rule::Number, 1, 65535),
                    kNotSent + "Port: must be a whole number from 1 to 65535", false,
                    [](ConfigBench& bench) { bench.host.values.Set("Port", "70000"); }}),
    ByName);

TEST(RestoreDefaults, WithThePortClosedTheValuesChangeAndNothingIsSent) {
  ConfigBench bench;
  bench.port.CloseComPort();
  bench.host.values = ValuesWith(
      "APN Index=2;APN Str=MYAPN;Port=1;BaudRate=0;Byte=0;HeartbeatTime=9;DevID=414243;DevIDHex=1;"
      "CIPMUX=AT+CIPMUX=1");
  bench.config.RestoreDefaults();
  bench.loop.AdvanceBy(10000);
  EXPECT_EQ(bench.host.values, ValuesWith("CIPMUX=AT+CIPMUX=1")) << "only the settings file sets CIPMUX";
  EXPECT_TRUE(bench.line.sent.empty());
  EXPECT_EQ(bench.Count(lang::lang_Info_ComIsOpen), 1);
  EXPECT_EQ(
      bench.ends,
      (std::vector<TSequenceEnd>{{TAction::RestoreDefaults, TOutcome::PortClosed, "AT+CSTT=\"CMNET\"\r\n"}}));
  EXPECT_TRUE(bench.Idle());
}

// The DTU refuses exactly one step; the write must stop there, without reporting success.
class RefusedStep : public testing::TestWithParam<int> {};
TEST_P(RefusedStep, EndsTheWriteSilentlyAndANewWriteStartsOver) {
  ConfigBench bench;
  const int refused = GetParam();
  int commands = 0;
  bench.line.peer = [&](std::string_view bytes, const LineFormat& with) {
    auto bursts = bench.dtu.Receive(bytes, with);
    if (++commands == refused) {
      for (auto& burst : bursts) burst.bytes = "\r\nERROR\r\n";
    }
    return bursts;
  };
  bench.config.StartWriteAll();
  bench.loop.AdvanceBy(5000);
  EXPECT_EQ(static_cast<int>(bench.line.sent.size()), refused);
  EXPECT_EQ(bench.ends,
            (std::vector<TSequenceEnd>{{TAction::WriteAll, TOutcome::Refused, bench.line.sent.back().text}}));
  EXPECT_EQ(bench.host.log.back(), "  [Note]: The DTU refused the command: " +
                                       config::CommandWithoutLineEnd(bench.line.sent.back().text) +
                                       " (ERROR)");
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 0);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  EXPECT_TRUE(bench.Idle());
  const size_t before = bench.line.sent.size();
  bench.config.StartWriteAll();
  ASSERT_GT(bench.line.sent.size(), before);
  EXPECT_EQ(bench.line.sent[before].text, "AT+CSTT=\"CMNET\"\r\n");
}

INSTANTIATE_TEST_SUITE_P(EachStep, RefusedStep, testing::Range(1, 11));

// However the DTU echoes a command (exactly, with CR or LF alone, without a line end; with the answer or as a
// burst of its own), the echo is no reply.
class Echo : public testing::TestWithParam<std::tuple<EchoMode, bool>> {};
TEST_P(Echo, WriteAndReadGetThroughWhateverTheEcho) {
  ConfigBench bench;
  std::tie(bench.dtu.faults.echo, bench.dtu.faults.echoAlone) = GetParam();
  bench.config.StartWriteAll();
  bench.loop.AdvanceBy(3000);
  bench.config.StartRead();
  bench.loop.AdvanceBy(3000);
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 1);
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 1);
  EXPECT_TRUE(bench.Idle());
  for (const std::string& line : bench.host.log) {
    EXPECT_EQ(line.find("[Receive]:AT"), std::string::npos) << "the echo is dropped: " << line;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, Echo,
                         testing::Combine(testing::Values(EchoMode::Exact, EchoMode::CutShort,
                                                          EchoMode::LfOnly, EchoMode::Bare),
                                          testing::Bool()));
struct TimeOutRow {
  const char* name;
  uint32_t baudRate;
  uint32_t interval;
  uint32_t readInterval;  // the quiet time that ends a chunk at that rate
};

class TimeOut : public testing::TestWithParam<TimeOutRow> {};
TEST_P(TimeOut, EndsTheReadOnceAfterTheIntervalOfThePcBaudRateWhateverBannersCame) {
  ConfigBench bench;
  bench.dtu.faults.silent = true;
  bench.host.line.baudRate = GetParam().baudRate;
  bench.port.OpenComPort();
  bench.config.StartRead();
  bench.loop.AdvanceBy(1000);
  bench.config.StartWriteAll();  // one action at a time: refused, nothing sent
  EXPECT_EQ(bench.Count(lang::lang_Info_Busy), 1);
  // A module restarting meanwhile: its banner answers nothing, and only the first one gets the note.
  bench.Receive(bench.dtu.PowerOn()[0].bytes);
  bench.loop.AdvanceBy(200);
  bench.Receive(bench.dtu.PowerOn()[0].bytes);
  bench.loop.AdvanceBy(1299);
  EXPECT_EQ(bench.Count(lang::lang_Info_SendInfo), 0);
  bench.loop.AdvanceBy(1);  // 1500 ms after the first banner
  EXPECT_EQ(bench.Count(lang::lang_Info_SendInfo), 1);
  bench.loop.AdvanceBy(GetParam().interval - 2501);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  EXPECT_TRUE(bench.config.ReadActive());
  bench.loop.AdvanceBy(1);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 1);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::Read, TOutcome::TimedOut, kQueries[0]}}));
  EXPECT_EQ(bench.line.ReadInterval(), GetParam().readInterval);
  bench.loop.AdvanceBy(30000);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 1);
  EXPECT_EQ(bench.Count(lang::lang_Info_SendInfo), 1);

  // A late answer is only logged.
  const size_t lines = bench.host.log.size();
  bench.Receive("\r\nOK\r\n");
  EXPECT_EQ(bench.line.sent.size(), 1u);
  EXPECT_TRUE(bench.Idle());
  EXPECT_EQ(bench.host.log.size(), lines + 1);
}

// What arrives is read as lines: an answer may come in pieces, with lines before it that answer nothing, and
// a long one on a slow line is read whole as long as its bytes keep coming.
TEST(Lines, AnAnswerInPiecesWithLinesThatAnswerNothingIsReadWhole) {
  ConfigBench bench;
  bench.dtu.faults.silent = true;
  bench.host.line.baudRate = 1200;
  bench.port.OpenComPort();
  bench.config.StartRead();
  bench.Receive("\r\nCall Ready\r\n\r\n+CIPR: 96");
  bench.loop.AdvanceBy(2500);
  bench.Receive("00\r\n\r\nOK");
  bench.loop.AdvanceBy(80);
  bench.Receive("\r\n");
  bench.Receive("\r\n+CSQ: 20,0\r\n\r\n+ICF: 3,3\r\nOK\r\n");
  // The listing arrives for longer than the reply time-out, each piece within it of the last.
  for (const char* piece : {"\r\n+CIPCFG: 1,50,0,10,200,1800\r\n+CIPPACK: 0,\"4C4F47\"\r\n",
                            "+CIPPACK: 1,\"4C4F47494E3A31303031\"\r\n+CIPMODE: 1\r\nCONNECT OK\r\n",
                            "+CIPMUX: 0\r\n+CSTT: \"CMNET\",\"\",\"\"\r\n+PDP: DEACT\r\n",
                            "+CIPSTART: \"TCP\",\"h\",2317,2\r\n", "\r\nOK\r\n"}) {
    bench.loop.AdvanceBy(2900);
    bench.Receive(piece);
  }
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::Read, TOutcome::Succeeded, kQueries[2]}}));
  EXPECT_EQ(bench.host.values.Get("BaudRate"), "5");
  EXPECT_EQ(bench.host.values.Get("IP"), "h");
  EXPECT_EQ(bench.line.SentTexts(), kQueries);
}

// An answer is taken only on its final result, only for the command sent, and only once.
TEST(Lines, ResultsThatAnswerNoCommandAreSetAside) {
  ConfigBench bench;
  // A doubled OK in the chunk of an answer, and "CONNECT OK" after the sequence and during its pauses.
  bench.dtu.faults.silent = true;
  bench.config.StartWriteAll();
  for (int step = 1; step <= 10; ++step) {
    ASSERT_EQ(bench.line.sent.size(), static_cast<size_t>(step));
    bench.Receive("\r\nOK\r\n\r\nOK\r\n");
    bench.Receive("\r\nCONNECT OK\r\n");
    bench.loop.AdvanceBy(step >= 8 ? 250 : 10);
  }
  EXPECT_EQ(bench.line.sent.size(), 10u);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::WriteAll, TOutcome::Succeeded, "ATW\r\n"}}));
  bench.Receive("\r\nOK\r\n");
  EXPECT_EQ(bench.line.sent.size(), 10u);
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 1);
}

// Cancel ends the running action with its own verdict; the port stays open and a later answer is only logged.
TEST(Lines, CancelEndsTheActionAndKeepsThePort) {
  ConfigBench bench;
  bench.dtu.faults.silent = true;
  std::vector<bool> busy;
  bench.config.OnBusyChanged = [&] { busy.push_back(bench.config.Busy()); };
  bench.config.StartRead();
  bench.config.Cancel();
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::Read, TOutcome::Cancelled, kQueries[0]}}));
  EXPECT_EQ(bench.Count(lang::lang_Info_Cancelled), 1);
  EXPECT_EQ(busy, (std::vector<bool>{true, false}));
  EXPECT_TRUE(bench.port.PortOpened);
  bench.Receive("\r\n+CIPR: 9600\r\nOK\r\n");
  bench.loop.AdvanceBy(10000);
  EXPECT_EQ(bench.ends.size(), 1u);
  EXPECT_EQ(bench.line.sent.size(), 1u);
}

// The read-back after a write names what the DTU accepted but did not keep.
TEST(Lines, AWriteReadBackNamesTheFieldsNotKept) {
  ConfigBench bench;
  bench.config.VerifyWrites = true;
  bench.dtu.faults.forget = {"CIPSCONT"};
  bench.host.values.Set("IP", "new.example.com");
  bench.config.StartWriteAll();
  bench.loop.AdvanceBy(5000);
  ASSERT_EQ(bench.ends.size(), 1u);
  EXPECT_EQ(bench.ends[0].outcome, TOutcome::NotKept);
  EXPECT_EQ(bench.ends[0].unchanged, (std::vector<std::string>{"IP"}));
  EXPECT_EQ(bench.line.sent.size(), 13u) << "ten settings, then the three queries";
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 0);
  EXPECT_EQ(bench.host.values.Get("IP"), "new.example.com") << "the window keeps what the user wrote";
}

INSTANTIATE_TEST_SUITE_P(PcBaudRates, TimeOut,
                         testing::Values(TimeOutRow{"At115200", 115200, 3000, 50},
                                         TimeOutRow{"At4800", 4800, 3000, 80},
                                         TimeOutRow{"At1200", 1200, 3000, 150},
                                         TimeOutRow{"At600", 600, 5000, 300},
                                         TimeOutRow{"At300", 300, 8000, 500}),
                         ByName);

TEST(Closing, AShutDownConversationSendsAndHandlesNothingMore) {
  ConfigBench bench;
  bench.dtu.faults.replyDelayMs = 50;
  bench.config.StartWriteAll();
  bench.loop.AdvanceBy(120);  // two steps answered, the third reply on its way
  ASSERT_EQ(bench.line.sent.size(), 3u);
  ASSERT_GT(bench.line.PendingChunks(), 0u);
  const size_t lines = bench.host.log.size();
  bench.config.Shutdown();
  bench.loop.AdvanceBy(20000);
  EXPECT_EQ(bench.line.sent.size(), 3u);
  EXPECT_EQ(bench.host.log.size(), lines) << "neither the queued reply nor a time-out is handled";
  EXPECT_TRUE(bench.ends.empty()) << "whoever shut it down tells the user";
  EXPECT_TRUE(bench.Idle());
  EXPECT_FALSE(bench.timeOut.Enabled());
  EXPECT_FALSE(bench.sendInfo.Enabled());
}
}  // namespace
}  // namespace config_test
