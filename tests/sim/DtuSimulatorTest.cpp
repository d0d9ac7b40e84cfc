#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DtuSimulator.h"

namespace {

using dtusim::Burst;
using dtusim::DtuSimulator;
using dtusim::EchoMode;
using dtusim::LineFormat;

constexpr const char* kOk = "\r\nOK\r\n";
constexpr const char* kError = "\r\nERROR\r\n";

std::string Joined(const std::vector<Burst>& bursts) {
  std::string all;
  for (const auto& burst : bursts) all += burst.bytes;
  return all;
}

// Sends a command the way the tool does, on a line that matches the DTU's.
std::string Say(DtuSimulator& sim, const std::string& command) {
  return Joined(sim.Receive(command + "\r\n", sim.Line()));
}

// What the tool makes of a listing: line ends, blanks and quotes removed, then seven passes over
// "+NAME:values" entries, each taking the name between the first "+" and the first ":".
struct ListingFields {
  std::string heartbeatTime, waitTime, waitLength, restartTime, heartbeatHex, registrationHex, apn;
  std::string protocol, server, port;
};

std::string Cleaned(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
  std::erase(text, ' ');
  std::erase(text, '"');
  return text;
}

// Walks comma or "+" separated values; a value is taken only when a separator follows it.
void Walk(const std::string& value, const std::vector<std::string*>& byCount) {
  std::string acc;
  std::size_t count = 0;
  for (char c : value) {
    if (c != '+' && c != ',') {
      acc += c;
      continue;
    }
    ++count;
    if (count <= byCount.size() && byCount[count - 1] != nullptr) *byCount[count - 1] = acc;
    acc.clear();
    if (c == '+' || count == byCount.size()) return;
  }
}

ListingFields ReadListing(const std::string& reply) {
  ListingFields f;
  std::string rest = Cleaned(reply);
  for (int pass = 0; pass < 7; ++pass) {
    const std::size_t colon = rest.find(':');
    std::string name;
    if (colon != std::string::npos) {
      const std::size_t plus = rest.find('+');
      const std::size_t from = plus == std::string::npos ? 0 : plus + 1;
      if (colon > from) name = rest.substr(from, colon - from);
      rest = rest.substr(colon + 1);
    }
    const std::size_t plus = rest.find('+');
    if (name == "CIPCFG") {
      Walk(rest, {nullptr, &f.heartbeatTime, nullptr, &f.waitTime, &f.waitLength, &f.restartTime});
      if (plus != std::string::npos) rest = rest.substr(plus);
    } else if (name == "CIPPACK" && !rest.empty() && (rest[0] == '0' || rest[0] == '1')) {
      const std::size_t end = plus == std::string::npos ? rest.size() : plus;
      const std::size_t from = rest[0] == '0' ? 2 : rest.find(',') + 1;
      (rest[0] == '0' ? f.heartbeatHex : f.registrationHex) = end > from ? rest.substr(from, end - from) : "";
      if (plus != std::string::npos) rest = rest.substr(plus);
    } else if (name == "CSTT") {
      const std::size_t comma = rest.find(',');
      f.apn = comma == std::string::npos ? "" : rest.substr(0, comma);
    } else if (name == "CIPSTART") {
      Walk(rest, {&f.protocol, &f.server, &f.port});
    }
  }
  return f;
}

template <class Row>
std::string RowName(const testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

struct Exchange {
  const char* name;
  std::string command;
  std::string reply;
};

class Accepts : public testing::TestWithParam<Exchange> {};

TEST_P(Accepts, EachCommandTheToolSendsGetsTheFramedReply) {
  DtuSimulator sim;
  EXPECT_EQ(Say(sim, GetParam().command), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogue, Accepts,
    testing::Values(
        Exchange{"Attention", "AT", kOk}, Exchange{"Apn", "AT+CSTT=\"CMNET\"", kOk},
        Exchange{"ApnWithAccount", "AT+CSTT=\"MYAPN\",\"user\",\"pass\"", kOk},
        Exchange{"Timing", "AT+CIPCFG=1,50,0,10,200,1800", kOk},
        Exchange{"Heartbeat", "AT+CIPPACK=0,\"4C4F47\"", kOk},
        Exchange{"Registration", "AT+CIPPACK=1,\"4C4F47494E3A31303031\"", kOk},
        Exchange{"EmptyPacket", "AT+CIPPACK=0,\"\"", kOk}, Exchange{"MuxSpaced", "AT + CIPMUX = 0", kOk},
        Exchange{"ModeSpaced", "AT + CIPMODE = 1", kOk}, Exchange{"MuxCompact", "AT+CIPMUX=0", kOk},
        Exchange{"Server", "AT+CIPSCONT=0,\"TCP\",\"dtu.example.com\", 2317,2", kOk},
        Exchange{"Format", "AT+ICF=3,3", kOk}, Exchange{"Baud", "AT+CIPR=115200", kOk},
        Exchange{"Save", "ATW", kOk}, Exchange{"BaudQuery", "AT+CIPR?", "\r\n+CIPR: 115200\r\n\r\nOK\r\n"},
        Exchange{"FormatQuery", "AT+ICF?", "\r\n+ICF: 3,3\r\n\r\nOK\r\n"},
        Exchange{"Listing", "AT+CIPSCONT?",
                 "\r\n+CIPCFG: 1,50,0,10,200,1800\r\n+CIPPACK: 0,\"4C4F47\"\r\n"
                 "+CIPPACK: 1,\"4C4F47494E3A31303031\"\r\n+CIPMODE: 1\r\n+CIPMUX: 0\r\n"
                 "+CSTT: \"CMNET\",\"\",\"\"\r\n+CIPSTART: \"TCP\",\"dtu.example.com\",2317,2\r\n"
                 "\r\nOK\r\n"}),
    RowName<Exchange>);

class Refuses : public testing::TestWithParam<Exchange> {};

TEST_P(Refuses, WithErrorAndKeepsEverySetting) {
  DtuSimulator sim;
  const std::string before = Say(sim, "AT+CIPSCONT?") + Say(sim, "AT+ICF?") + Say(sim, "AT+CIPR?");
  EXPECT_EQ(Say(sim, GetParam().command), kError);
  EXPECT_EQ(Say(sim, "AT+CIPSCONT?") + Say(sim, "AT+ICF?") + Say(sim, "AT+CIPR?"), before);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, Refuses,
    testing::Values(Exchange{"UnknownCommand", "AT+FOO=1", ""}, Exchange{"NotAnAtCommand", "HELLO", ""},
                    Exchange{"RateNotOffered", "AT+CIPR=12345", ""},
                    Exchange{"FormatCodes", "AT+ICF=9,9", ""}, Exchange{"ParityOnly", "AT+ICF=3", ""},
                    Exchange{"OddDigitCount", "AT+CIPPACK=0,\"4C4F4\"", ""},
                    Exchange{"NotHex", "AT+CIPPACK=1,\"4G\"", ""},
                    Exchange{"NoSuchPacket", "AT+CIPPACK=2,\"4C\"", ""},
                    Exchange{"PacketTooLong", "AT+CIPPACK=0,\"" + std::string(258, 'A') + "\"", ""},
                    Exchange{"UnbalancedQuote", "AT+CSTT=\"CMNET", ""},
                    Exchange{"TimingNotDigits", "AT+CIPCFG=1,5.5,0,10,200,1800", ""},
                    Exchange{"TimingMissingValue", "AT+CIPCFG=1,50,0,10,200", ""},
                    Exchange{"PortOutOfRange", "AT+CIPSCONT=0,\"TCP\",\"host\", 70000,2", ""},
                    Exchange{"EmptyServer", "AT+CIPSCONT=0,\"TCP\",\"\", 2317,2", ""},
                    Exchange{"Protocol", "AT+CIPSCONT=0,\"SCTP\",\"host\", 2317,2", ""},
                    Exchange{"MuxValue", "AT + CIPMUX = 7", ""}, Exchange{"QueryNotKept", "AT+CSTT?", ""}),
    RowName<Exchange>);

TEST(Listing, ReflectsEveryWriteAndFillsEveryFieldTheToolReads) {
  DtuSimulator sim;
  for (const char* command : {"AT+CSTT=\"uninet\"", "AT+CIPCFG=1,0060,0,20,512,3600", "AT+CIPPACK=0,\"ab01\"",
                              "AT+CIPPACK=1,\"\"", "AT+CIPSCONT=0,\"udp\",\"10.0.0.1\", 5000,2"}) {
    ASSERT_EQ(Say(sim, command), kOk) << command;
  }
  const ListingFields f = ReadListing(Say(sim, "AT+CIPSCONT?"));
  EXPECT_EQ(f.heartbeatTime, "60");
  EXPECT_EQ(f.waitTime, "20");
  EXPECT_EQ(f.waitLength, "512");
  EXPECT_EQ(f.restartTime, "3600");
  EXPECT_EQ(f.heartbeatHex, "AB01") << "the module keeps bytes and lists them in upper case";
  EXPECT_EQ(f.registrationHex, "");
  EXPECT_EQ(f.apn, "uninet");
  EXPECT_EQ(f.protocol, "UDP");
  EXPECT_EQ(f.server, "10.0.0.1");
  EXPECT_EQ(f.port, "5000");
}

TEST(Listing, ApnWithAccountAndDefaultsBothLeaveTheServerReadable) {
  DtuSimulator sim;
  ListingFields f = ReadListing(Say(sim, "AT+CIPSCONT?"));
  EXPECT_EQ(f.apn, "CMNET") << "empty account and password still end the APN at a comma";
  EXPECT_EQ(f.server, "dtu.example.com");
  EXPECT_EQ(f.port, "2317");
  ASSERT_EQ(Say(sim, "AT+CSTT=\"MYAPN\",\"user\""), kOk);
  f = ReadListing(Say(sim, "AT+CIPSCONT?"));
  EXPECT_EQ(f.apn, "MYAPN");
  EXPECT_EQ(f.server, "dtu.example.com");
}

TEST(Listing, PaddedPastOneReadChunkItStillEndsInOkWithEveryFieldReadable) {
  DtuSimulator sim;
  const ListingFields plain = ReadListing(Say(sim, "AT+CIPSCONT?"));
  sim.faults.padListingTo = 1024;
  const std::string padded = Say(sim, "AT+CIPSCONT?");
  EXPECT_GT(padded.size(), 1024u);
  EXPECT_LT(padded.size(), 1024u + 64) << "padding stops once the reply is past the size";
  EXPECT_TRUE(padded.ends_with("\",\"INITIAL\"\r\n\r\nOK\r\n"));
  const ListingFields f = ReadListing(padded);
  EXPECT_EQ(f.server, plain.server);
  EXPECT_EQ(f.port, plain.port);
  EXPECT_EQ(f.registrationHex, plain.registrationHex);
}

TEST(Listing, PacedAt1200BaudTakesTheTimeItsBytesNeedOnTheLine) {
  DtuSimulator sim;
  const std::string listing = Say(sim, "AT+CIPSCONT?");
  sim.faults.paceBaud = 1200;
  sim.faults.replyDelayMs = 0;
  const auto bursts = sim.Receive("AT+CIPSCONT?\r\n", sim.Line());
  uint32_t total = 0;
  for (const auto& burst : bursts) total += burst.delayMs;
  EXPECT_EQ(Joined(bursts), listing);
  EXPECT_EQ(bursts.size(), listing.size());
  EXPECT_EQ(total, (listing.size() * 10 * 1000 + 1199) / 1200) << "10 bits a byte at 8N1, no drift";
  ASSERT_EQ(Say(sim, "AT+ICF=4,1"), kOk);  // 7 data bits, even parity, 2 stop bits: 11 bits a byte
  total = 0;
  for (const auto& burst : sim.Receive("AT\r\n", sim.Line())) total += burst.delayMs;
  EXPECT_EQ(total, 55u);
}

TEST(Listing, LongestValuesStillFitOneReply) {
  DtuSimulator sim;
  const std::string longest(2 * dtusim::kMaxPacketBytes, 'F');
  const std::string apn(dtusim::kMaxApnText, 'A');
  const std::string server(dtusim::kMaxServerText, 's');
  for (const std::string& command : std::vector<std::string>{
           "AT+CIPCFG=1,999999999,0,999999999,999999999,999999999", "AT+CIPPACK=0,\"" + longest + "\"",
           "AT+CIPPACK=1,\"" + longest + "\"", "AT+CSTT=\"" + apn + "\",\"" + apn + "\",\"" + apn + "\"",
           "AT+CIPSCONT=0,\"UDP\",\"" + server + "\", 65535,2"}) {
    ASSERT_EQ(Say(sim, command), kOk) << command;
  }
  EXPECT_LE(Say(sim, "AT+CIPSCONT?").size(), 1024u);
}

// What the DTU sends for one command under a fault: each burst's pause since the one before (the first: since
// the command ended) and its bytes.
struct TimedCase {
  const char* name;
  dtusim::Faults faults;
  std::string command;
  std::vector<std::pair<uint32_t, std::string>> bursts;
};

dtusim::Faults With(void (*change)(dtusim::Faults&)) {
  dtusim::Faults faults;
  change(faults);
  return faults;
}

constexpr const char* kBanner = "\r\n@@Ver:DTU-SIM V1.0.0\r\n\r\nRDY\r\n";

class Timed : public testing::TestWithParam<TimedCase> {};

TEST_P(Timed, BurstsComeAsTheModuleSendsThem) {
  DtuSimulator sim;
  sim.faults = GetParam().faults;
  std::vector<std::pair<uint32_t, std::string>> bursts;
  for (const auto& burst : sim.Receive(GetParam().command + "\r\n", sim.Line())) {
    bursts.emplace_back(burst.delayMs, burst.bytes);
  }
  EXPECT_EQ(bursts, GetParam().bursts);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Timed,
    testing::Values(
        TimedCase{"EchoOff", {}, "AT+ICF?", {{5, "\r\n+ICF: 3,3\r\n\r\nOK\r\n"}}},
        TimedCase{"EchoExact",
                  With([](auto& f) { f.echo = EchoMode::Exact; }),
                  "AT+ICF?",
                  {{5, "AT+ICF?\r\n\r\n+ICF: 3,3\r\n\r\nOK\r\n"}}},
        TimedCase{"EchoCutShort",
                  With([](auto& f) { f.echo = EchoMode::CutShort; }),
                  "AT+ICF?",
                  {{5, "AT+ICF?\r\r\n+ICF: 3,3\r\n\r\nOK\r\n"}}},
        TimedCase{"EchoExactAlone",
                  With([](auto& f) {
                    f.echo = EchoMode::Exact;
                    f.echoAlone = true;
                  }),
                  "AT+ICF?",
                  {{0, "AT+ICF?\r\n"}, {5, "\r\n+ICF: 3,3\r\n\r\nOK\r\n"}}},
        TimedCase{"SplitInHalves",
                  With([](auto& f) {
                    f.splitPauseMs = 300;
                    f.replyDelayMs = 20;
                  }),
                  "AT+CIPR?",
                  {{20, "\r\n+CIPR: 11"}, {300, "5200\r\n\r\nOK\r\n"}}},
        TimedCase{"SplitInFourPieces",
                  With([](auto& f) {
                    f.splitPauseMs = 100;
                    f.splitPieces = 4;
                  }),
                  "AT+CIPR?",
                  {{5, "\r\n+CI"}, {100, "PR: 11"}, {100, "5200\r\n"}, {100, "\r\nOK\r\n"}}},
        TimedCase{"MorePiecesThanBytes",
                  With([](auto& f) {
                    f.splitPauseMs = 1;
                    f.splitPieces = 9;
                  }),
                  "AT",
                  {{5, "\r"}, {1, "\n"}, {1, "O"}, {1, "K"}, {1, "\r"}, {1, "\n"}}},
        TimedCase{"UnsolicitedAfterTheOkToCipr",
                  With([](auto& f) {
                    f.unsolicited = {{"cipr", 100, "CONNECT OK"}};
                  }),
                  "AT+CIPR=115200",
                  {{5, "\r\nOK\r\n"}, {100, "\r\nCONNECT OK\r\n"}}},
        TimedCase{
            "UnsolicitedOnlyAfterItsCommandAndInTimeOrder",
            With([](auto& f) {
              f.unsolicited = {{"CIPR", 10, "CONNECT OK"}, {"any", 80, "+CSQ: 20,0"}, {"AT", 30, "RING"}};
            }),
            "AT",
            {{5, "\r\nOK\r\n"}, {30, "\r\nRING\r\n"}, {50, "\r\n+CSQ: 20,0\r\n"}}},
        TimedCase{"UnsolicitedBeforeTheReplyAfterTheEcho",
                  With([](auto& f) {
                    f.echo = EchoMode::Exact;
                    f.unsolicited = {{"any", -30, "Call Ready"}};
                  }),
                  "AT",
                  {{5, "AT\r\n\r\nCall Ready\r\n"}, {30, "\r\nOK\r\n"}}},
        TimedCase{"DoubledOk",
                  With([](auto& f) { f.doubleResult = {"icf"}; }),
                  "AT+ICF?",
                  {{5, "\r\n+ICF: 3,3\r\n\r\nOK\r\n\r\nOK\r\n"}}},
        TimedCase{"DoubledError",
                  With([](auto& f) {
                    f.doubleResult = {"any"};
                    f.refuse = {"ICF"};
                  }),
                  "AT+ICF=3,3",
                  {{5, "\r\nERROR\r\n\r\nERROR\r\n"}}},
        TimedCase{"RestartAtANamedCommand",
                  With([](auto& f) {
                    f.echo = EchoMode::Exact;
                    f.restart = dtusim::RestartFault{"atw"};
                  }),
                  "ATW",
                  {{0, "ATW\r\n"}, {5, kBanner}}},
        TimedCase{"PacedAt1200BaudByteByByte",
                  With([](auto& f) { f.paceBaud = 1200; }),
                  "AT",
                  {{14, "\r"}, {8, "\n"}, {8, "O"}, {9, "K"}, {8, "\r"}, {8, "\n"}}},
        TimedCase{"PacedInChunks",
                  With([](auto& f) {
                    f.paceBaud = 1200;
                    f.paceChunkBytes = 4;
                  }),
                  "AT",
                  {{39, "\r\nOK"}, {16, "\r\n"}}}),
    RowName<TimedCase>);

TEST(Receive, AnswersAtTheCrAndKeepsALateLfWithItsCommand) {
  DtuSimulator sim;
  EXPECT_EQ(Joined(sim.Receive("AT+CI", sim.Line())), "");
  EXPECT_EQ(Joined(sim.Receive("PR?\r", sim.Line())), "\r\n+CIPR: 115200\r\n\r\nOK\r\n");
  EXPECT_EQ(Joined(sim.Receive("\nAT\r\nATW\r\n", sim.Line())), std::string(kOk) + kOk);
  EXPECT_EQ(sim.received, (std::vector<std::string>{"AT+CIPR?\r\n", "AT\r\n", "ATW\r\n"}));
  EXPECT_TRUE(sim.settings.saved);
}

TEST(Receive, BlankLinesGetNoAnswerAndAnOverlongLineGetsError) {
  DtuSimulator sim;
  EXPECT_EQ(Joined(sim.Receive("\r\n", sim.Line())), "");
  EXPECT_EQ(Joined(sim.Receive(std::string(5000, 'A') + "\r\n", sim.Line())), kError);
  EXPECT_EQ(Say(sim, "AT"), kOk) << "the buffer is usable again after the overflow";
}

TEST(LineSwitch, NewFormatAppliesFromTheNextCommandAndMismatchesAreGarbled) {
  DtuSimulator sim;
  const LineFormat old = sim.Line();
  const auto reply = sim.Receive("AT+ICF=5,0\r\n", old);
  ASSERT_EQ(Joined(reply), kOk);
  EXPECT_EQ(reply[0].format, old) << "the reply still goes out in the old format";
  const LineFormat sevenOdd{115200, 7, 'O', 1};
  EXPECT_EQ(sim.Line(), sevenOdd);

  EXPECT_TRUE(sim.Receive("AT+CIPR=14400\r\n", old).empty());
  EXPECT_EQ(sim.settings.baudRate, 115200u) << "a garbled command changes nothing";
  const auto baud = sim.Receive("AT+CIPR=14400\r\n", sevenOdd);
  ASSERT_EQ(Joined(baud), kOk);
  EXPECT_EQ(baud[0].format, sevenOdd);

  EXPECT_TRUE(sim.Receive("ATW\r\n", sevenOdd).empty());
  EXPECT_EQ(Joined(sim.Receive("ATW\r\n", LineFormat{14400, 7, 'O', 1})), kOk);
  EXPECT_EQ(sim.received.size(), 5u) << "garbled commands are recorded too";
}

TEST(Faults, ARestartSendsTheBannerAndGoesBackToTheSavedSettings) {
  DtuSimulator sim;
  sim.faults.restart = dtusim::RestartFault{"any", 4};
  ASSERT_EQ(Say(sim, "AT+CIPMUX=1"), kOk);
  ASSERT_EQ(Say(sim, "ATW"), kOk);
  ASSERT_EQ(Say(sim, "AT+CIPR=9600"), kOk);
  const auto restart = sim.Receive("AT+CSTT=\"uninet\"\r\n", sim.Line());
  ASSERT_EQ(restart.size(), 1u);
  EXPECT_EQ(restart[0].bytes, kBanner);
  EXPECT_EQ(restart[0].format.baudRate, 115200u) << "the banner comes at the saved rate";
  EXPECT_EQ(sim.settings.cipmux, "1");
  EXPECT_EQ(sim.settings.baudRate, 115200u);
  EXPECT_EQ(sim.settings.apn, "CMNET") << "the command it restarted on is not carried out";
  EXPECT_FALSE(sim.faults.restart.has_value());
  EXPECT_EQ(Say(sim, "AT+CSTT=\"uninet\""), kOk) << "it restarts once";
}

TEST(Faults, UnsavedSettingsAreLostToARestartBeforeAnyAtw) {
  DtuSimulator sim;
  sim.settings.port = "5000";  // as the DTU was found
  ASSERT_EQ(Say(sim, "AT+CIPSCONT=0,\"UDP\",\"10.0.0.1\", 6000,2"), kOk);
  sim.faults.restart = dtusim::RestartFault{"AT"};
  EXPECT_EQ(Say(sim, "AT"), kBanner);
  EXPECT_EQ(sim.settings.port, "5000");
  EXPECT_EQ(sim.settings.protocol, "TCP");
}

TEST(Faults, SilenceRefusalAndBanner) {
  DtuSimulator sim;
  sim.faults.refuse = {"cippack", "ATW"};
  EXPECT_EQ(Say(sim, "AT+CIPPACK=0,\"00\""), kError);
  EXPECT_EQ(sim.settings.heartbeatPacketHex, "4C4F47");
  EXPECT_EQ(Say(sim, "ATW"), kError);
  EXPECT_EQ(Say(sim, "AT+CIPMUX=1"), kOk);

  sim.faults.silent = true;
  EXPECT_EQ(Say(sim, "AT+CIPMUX=0"), "");
  EXPECT_EQ(sim.received.back(), "AT+CIPMUX=0\r\n");

  const auto banner = sim.PowerOn();
  ASSERT_FALSE(banner.empty());
  EXPECT_NE(banner[0].bytes.find("@@Ver:"), std::string::npos);
}

TEST(Faults, AForgottenSettingIsAnsweredOkButKeptAsItWas) {
  DtuSimulator sim;
  sim.faults.forget = {"cipscont"};
  EXPECT_EQ(Say(sim, "AT+CIPSCONT=0,\"UDP\",\"10.0.0.1\", 5000,2"), kOk);
  EXPECT_EQ(sim.settings.server, "dtu.example.com");
  EXPECT_EQ(sim.settings.protocol, "TCP");
  EXPECT_EQ(Say(sim, "AT+CIPSCONT=0,\"SCTP\",\"host\", 2317,2"), kError) << "a bad value is still refused";
  EXPECT_EQ(Say(sim, "AT+CIPMUX=1"), kOk);
  EXPECT_EQ(sim.settings.cipmux, "1") << "only the named command forgets";
}

}  // namespace
