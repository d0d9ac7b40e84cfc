#include <optional>

#include "ValuesRows.h"
#include "values/Replies.h"

namespace values_test {
namespace {

using values::Table;

const std::string kRunTogether =
    "+CIPCFG:1,50,0,10,200,1800+CIPPACK:0,4C4F47+CIPPACK:1,4C4F47494E3A31303031+CIPMODE:1+CIPMUX:0+CSTT:"
    "CMNET,,+CIPSTART:TCP,dtu.example.com,2317,2OK";
const std::string kLines =
    "\r\n+CIPCFG: 1,50,0,10,200,1800\r\n+CIPPACK: 0,\"4C4F47\"\r\n+CIPPACK: 1,\"4C4F47494E3A31303031\"\r\n"
    "+CIPMODE: 1\r\n+CIPMUX: 0\r\n+CSTT: \"CMNET\",\"\",\"\"\r\n+CIPSTART: "
    "\"TCP\",\"dtu.example.com\",2317,2\r\n"
    "\r\nOK\r\n";
const KeyValues kListedDefaults = {
    {"APN Index", "0"},         {"APN Str", "CMNET"},    {"IP", "dtu.example.com"},
    {"Port", "2317"},           {"Protocol", "0"},       {"DevID", "LOGIN:1001"},
    {"HeartbeatFormat", "LOG"}, {"HeartbeatTime", "50"}, {"WaitTime", "10"},
    {"WaitLength", "200"},      {"RestartTime", "1800"}, {"CIPMUX", "AT+CIPMUX=0"},
    {"CIPMODE", "AT+CIPMODE=1"}};

struct ReplyRow {
  const char* name;
  int query;
  std::string reply;
  KeyValues reported;  // in table order
  const char* unreadable = nullptr;
  bool ok = true;
  KeyValues before = {};
};

class Reply : public testing::TestWithParam<ReplyRow> {};

TEST_P(Reply, SetsTheRowsItReports) {
  const ReplyRow& row = GetParam();
  // Every value but the flags starts as one no reply holds, so a row left alone shows.
  values::DtuValues values;
  for (size_t r = 0; r < Table().size(); ++r) {
    if (Table()[r].kind != values::Kind::Flag) values.SetAt(r, "?");
  }
  values = With(row.before, values);
  const values::DtuValues start = values;
  const values::ReplyReading reading = values::ReadReply(row.query, row.reply, values);

  std::vector<std::string> reportedKeys;
  for (const size_t r : reading.reported) reportedKeys.emplace_back(Table()[r].key);
  KeyValues expected = row.reported;
  std::vector<std::string> expectedKeys;
  for (const auto& [key, value] : expected) expectedKeys.push_back(key);
  EXPECT_EQ(reportedKeys, expectedKeys);
  for (const auto& [key, value] : expected) EXPECT_EQ(values.Get(key), value) << key;
  const std::optional<size_t> unreadable =
      row.unreadable ? std::optional(values::RowOf(row.unreadable)) : std::nullopt;
  EXPECT_EQ(reading.unreadable, unreadable);
  if (unreadable) {
    EXPECT_EQ(values.At(*unreadable), start.At(*unreadable)) << "an unreadable row is left alone";
  }
  EXPECT_EQ(reading.ok, row.ok);
}

INSTANTIATE_TEST_SUITE_P(
    Listing, Reply,
    testing::Values(
        ReplyRow{"RunTogether", 3, kRunTogether, kListedDefaults},
        ReplyRow{"OneEntryALine", 3, kLines, kListedDefaults},
        ReplyRow{"OtherOrderAndLowerCaseNames",
                 3,
                 "+cipstart:TCP,a.b,1,2+CSTT:uninet,,+cipcfg:1,5,0,6,7,8+CIPPACK:1,41OK",
                 {{"APN Index", "1"},
                  {"APN Str", "UNINET"},
                  {"IP", "a.b"},
                  {"Port", "1"},
                  {"Protocol", "0"},
                  {"DevID", "A"},
                  {"HeartbeatTime", "5"},
                  {"WaitTime", "6"},
                  {"WaitLength", "7"},
                  {"RestartTime", "8"}}},
        ReplyRow{"FixedApnInAnyCase", 3, "+CSTT:cmnet,,OK", {{"APN Index", "0"}, {"APN Str", "CMNET"}}},
        ReplyRow{"OwnApnWithAccountAndPassword",
                 3,
                 "+CSTT: \"myApn\",\"user\",\"pw\"\r\nOK\r\n",
                 {{"APN Index", "2"}, {"APN Str", "myApn\",\"user\",\"pw"}}},
        ReplyRow{"FixedApnWithAnAccountIsAnOwnOne",
                 3,
                 "+CSTT:cmnet,user,OK",
                 {{"APN Index", "2"}, {"APN Str", "cmnet\",\"user"}}},
        // The trail byte looks like "a" and is kept.
        ReplyRow{"GbkName", 3, "+CSTT:\x81\x61pn,,OK", {{"APN Index", "2"}, {"APN Str", "\x81\x61pn"}}},
        ReplyRow{"Udp",
                 3,
                 "+CIPSTART:udp,10.0.0.1,5000,2\r\nOK\r\n",
                 {{"IP", "10.0.0.1"}, {"Port", "5000"}, {"Protocol", "1"}}},
        ReplyRow{"PortEndsRunTogether",
                 3,
                 "+CIPSTART:udp,10.0.0.1,5000OK",
                 {{"IP", "10.0.0.1"}, {"Port", "5000"}, {"Protocol", "1"}}},
        ReplyRow{"PortThenOkOnALineOfItsOwn",
                 3,
                 "+CIPSTART: \"TCP\",\"h\",5000\r\nOK\r\n",
                 {{"IP", "h"}, {"Port", "5000"}, {"Protocol", "0"}}},
        ReplyRow{"QuotedServerWithAComma",
                 3,
                 "+CIPSTART: \"TCP\",\" a,b+c.example.com\",2317,2\r\nOK\r\n",
                 {{"IP", " a,b+c.example.com"}, {"Port", "2317"}, {"Protocol", "0"}}},
        ReplyRow{"UnquotedServerWithACommaShiftsThePort",
                 3,
                 "+CIPSTART: TCP,a,b.example.com,2317,2\r\nOK\r\n",
                 {},
                 "Port"},
        ReplyRow{"UnknownProtocol", 3, "+CIPSTART:SCTP,h,1,2OK", {}, "Protocol"},
        ReplyRow{"QuoteNotClosedOnItsLine",
                 3,
                 "+CIPSTART: \"TCP\",\"host,2317,2\r\n+CIPMUX: 1\r\nOK\r\n",
                 {{"CIPMUX", "AT+CIPMUX=1"}},
                 "IP"},
        ReplyRow{"QuoteInsideAnUnquotedValue", 3, "+CIPSTART: TCP,ho\"s,t\",2317,2\r\nOK\r\n", {}, "IP"},
        ReplyRow{"TextAfterAClosingQuote", 3, "+CSTT: \"CMNET\"x,\"\",\"\"\r\nOK\r\n", {}, "APN Str"},
        ReplyRow{"NumberThatIsNone", 3, "+CIPCFG:1,5x,0,6,7,8OK", {}, "HeartbeatTime"},
        ReplyRow{
            "NumbersOutOfRangeAreReadAsTheDtuHoldsThem",
            3,
            "+CIPCFG:1,070000,0,0,0,0OK",
            {{"HeartbeatTime", "070000"}, {"WaitTime", "0"}, {"WaitLength", "0"}, {"RestartTime", "0"}}}),
    ByName());

INSTANTIATE_TEST_SUITE_P(
    Packets, Reply,
    testing::Values(
        ReplyRow{"LineBreakAndNulStayInHex",
                 3,
                 "+CIPPACK: 1,\"0D0A00\"\r\nOK\r\n",
                 {{"DevID", "0D0A00"}, {"DevIDHex", "1"}}},
        ReplyRow{"BytesThatAreNotGbkStayInHex",
                 3,
                 "+CIPPACK:0,FFFF\r\nOK\r\n",
                 {{"HeartbeatFormat", "FFFF"}, {"HeartbeatFormatHex", "1"}}},
        ReplyRow{"GbkTextIsShown", 3, "+CIPPACK:0,C9E8D6C3OK", {{"HeartbeatFormat", "\xC9\xE8\xD6\xC3"}}},
        ReplyRow{"EmptyPacket", 3, "+CIPPACK:0,\"\"\r\nOK", {{"HeartbeatFormat", ""}}},
        ReplyRow{"HexFormKeepsTheDigitsAsListed",
                 3,
                 "+CIPPACK:1,4c4f47\r\nOK\r\n",
                 {{"DevID", "4c4f47"}},
                 nullptr,
                 true,
                 {{"DevIDHex", "1"}}},
        ReplyRow{"OddDigitCount", 3, "+CIPPACK:1,4C4F4OK", {}, "DevID"},
        ReplyRow{"OddDigitCountInHexForm", 3, "+CIPPACK:1,4C4F4OK", {}, "DevID", true, {{"DevIDHex", "1"}}},
        ReplyRow{"BadPairLeavesOnlyItsPacket",
                 3,
                 "+CIPCFG:1,5,0,6,7,8+CIPPACK:0,4G4F+CIPSTART:TCP,h,1,2OK",
                 {{"IP", "h"},
                  {"Port", "1"},
                  {"Protocol", "0"},
                  {"HeartbeatTime", "5"},
                  {"WaitTime", "6"},
                  {"WaitLength", "7"},
                  {"RestartTime", "8"}},
                 "HeartbeatFormat"},
        ReplyRow{"UnknownSelector", 3, "+CIPPACK:2,41OK", {}}),
    ByName());

INSTANTIATE_TEST_SUITE_P(
    SerialLine, Reply,
    testing::Values(ReplyRow{"RateInTheList", 1, "\r\n+CIPR: 9600\r\n\r\nOK\r\n", {{"BaudRate", "5"}}},
                    ReplyRow{"RateNotInTheList", 1, "+CIPR:12345OK", {}, "BaudRate"},
                    ReplyRow{"RateNameInAnyCase", 1, "+cipr:9600OK", {{"BaudRate", "5"}}},
                    ReplyRow{"RateWithoutOk", 1, "+CIPR:9600", {{"BaudRate", "5"}}, nullptr, false},
                    ReplyRow{"EchoLeftIn", 1, "AT+CIPR?\r\n+CIPR:9600OK", {{"BaudRate", "5"}}},
                    ReplyRow{"Format7N1Even",
                             2,
                             "\r\n+ICF: 5,1\r\n\r\nOK\r\n",
                             {{"Parity", "2"}, {"Byte", "0"}, {"Stop", "0"}}},
                    ReplyRow{
                        "Format8N2Odd", 2, "+ICF:1,0OK", {{"Parity", "1"}, {"Byte", "1"}, {"Stop", "1"}}},
                    ReplyRow{"LetterForTheFormat", 2, "+ICF:X,1OK", {}, "Byte"},
                    ReplyRow{"CodesWithNoMeaning", 2, "+ICF:2,2OK", {}, "Parity"},
                    ReplyRow{"NoParityCode", 2, "+ICF:4OK", {{"Byte", "0"}, {"Stop", "1"}}},
                    ReplyRow{"AnotherQuerysEntryIsNotRead", 2, "+CIPR:9600\r\nOK", {}}),
    ByName());

INSTANTIATE_TEST_SUITE_P(
    FinalResult, Reply,
    testing::Values(
        ReplyRow{"Error", 1, "\r\nERROR\r\n", {}, nullptr, false},
        ReplyRow{"CmeError", 1, "\r\n+CME ERROR: 3\r\n", {}, nullptr, false},
        ReplyRow{"ErrorAfterOk", 1, "+CIPR: 9600\r\nOK\r\nERROR\r\n", {{"BaudRate", "5"}}, nullptr, false},
        ReplyRow{"OkInsideAQuotedValue",
                 3,
                 "+CIPSTART: \"TCP\",\"OK\"",
                 {{"IP", "OK"}, {"Protocol", "0"}},
                 nullptr,
                 false},
        ReplyRow{"OkFollowedByMore", 1, "+CIPR: 9600OK\r\n+CIPR: 300", {}, "BaudRate", false}),
    ByName());

TEST(RowsOfQuery, AreTheRowsAReadMustReport) {
  const auto keys = [](const std::vector<size_t>& rows) {
    std::vector<std::string> result;
    for (const size_t row : rows) result.emplace_back(Table()[row].key);
    return result;
  };
  EXPECT_EQ(keys(values::RowsOfQuery(1)), std::vector<std::string>{"BaudRate"});
  EXPECT_EQ(keys(values::RowsOfQuery(2)), (std::vector<std::string>{"Parity", "Byte", "Stop"}));
  std::vector<std::string> listed;
  for (const auto& [key, value] : kListedDefaults) {
    if (key != "CIPMUX" && key != "CIPMODE") listed.push_back(key);
  }
  EXPECT_EQ(keys(values::RowsOfQuery(3)), listed);
  EXPECT_EQ(values::RowsOfQuery(0).size(), listed.size() + 4);
}

}  // namespace
}  // namespace values_test
