#include "ValuesRows.h"
#include "values/Checks.h"

namespace values_test {
namespace {

using values::Rule;

struct CheckRow {
  const char* name;
  KeyValues changes;
  const char* key;  // the row of the first problem; nullptr when the values can be sent
  Rule rule = Rule::Number;
  std::string description = {};
};

class Check : public testing::TestWithParam<CheckRow> {};

TEST_P(Check, FindsTheFirstValueItsRowRefuses) {
  const auto problem = values::Check(With(GetParam().changes));
  if (GetParam().key == nullptr) {
    EXPECT_FALSE(problem.has_value()) << problem->row;
    return;
  }
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(problem->row, values::RowOf(GetParam().key));
  EXPECT_EQ(problem->rule, GetParam().rule);
  EXPECT_EQ(values::DescribeRule(*problem), GetParam().description);
}

const std::string kPortRange = "must be a whole number from 1 to 65535";

INSTANTIATE_TEST_SUITE_P(
    Values, Check,
    testing::Values(
        CheckRow{"Defaults", {}, nullptr},
        CheckRow{"PortAboveTheRange", {{"Port", "70000"}}, "Port", Rule::Number, kPortRange},
        CheckRow{"PortOfLetters", {{"Port", "abc"}}, "Port", Rule::Number, kPortRange},
        CheckRow{"PortEmpty", {{"Port", ""}}, "Port", Rule::Number, kPortRange},
        CheckRow{"PortWithASign", {{"Port", "+80"}}, "Port", Rule::Number, kPortRange},
        CheckRow{"PortZero", {{"Port", "0"}}, "Port", Rule::Number, kPortRange},
        CheckRow{"PortOfElevenDigits", {{"Port", "00000000080"}}, "Port", Rule::Number, kPortRange},
        CheckRow{"PortWithLeadingZeros", {{"Port", "0000000080"}}, nullptr},
        CheckRow{"RestartBelowTheRange",
                 {{"RestartTime", "1799"}},
                 "RestartTime",
                 Rule::Number,
                 "must be a whole number from 1800 to 2147483647"},
        CheckRow{"RestartAtTheTop", {{"RestartTime", "2147483647"}}, nullptr},
        CheckRow{"WaitLengthAboveTheRange",
                 {{"WaitLength", "1461"}},
                 "WaitLength",
                 Rule::Number,
                 "must be a whole number from 1 to 1460"},
        CheckRow{"HeartbeatOff", {{"HeartbeatTime", "0"}}, nullptr},
        CheckRow{"BaudRateAfterTheList",
                 {{"BaudRate", "11"}},
                 "BaudRate",
                 Rule::ListItem,
                 "must be one of the positions 0 to 10"},
        CheckRow{"ProtocolAfterTheList",
                 {{"Protocol", "2"}},
                 "Protocol",
                 Rule::ListItem,
                 "must be one of the positions 0 to 1"},
        CheckRow{"ByteNamedByItsText",
                 {{"Byte", "9"}},
                 "Byte",
                 Rule::ListItem,
                 "must be one of the positions 0 to 1"},
        CheckRow{"NothingSelected",
                 {{"Parity", "-1"}},
                 "Parity",
                 Rule::ListItem,
                 "must be one of the positions 0 to 2"},
        CheckRow{"ApnIndexFive",
                 {{"APN Index", "5"}},
                 "APN Index",
                 Rule::ListItem,
                 "must be one of the positions 0 to 2"},
        CheckRow{"ApnIndexThree",
                 {{"APN Index", "3"}},
                 "APN Index",
                 Rule::ListItem,
                 "must be one of the positions 0 to 2"},
        CheckRow{"FlagTwo",
                 {{"DevIDHex", "2"}},
                 "DevIDHex",
                 Rule::ListItem,
                 "must be one of the positions 0 to 1"},
        CheckRow{"IpEmpty", {{"IP", ""}}, "IP", Rule::Empty, "must not be empty"},
        CheckRow{"IpWithAQuote", {{"IP", "a\"b"}}, "IP", Rule::Quote, "must not contain a double quotation mark"},
        CheckRow{"IpWithACommaAndBlanks", {{"IP", " a,b "}}, nullptr},
        CheckRow{"ApnWithAccountAndPassword", {{"APN Str", "MYAPN\",\"user\",\"pw"}}, nullptr},
        CheckRow{"ApnWithAQuoteInTheAccount",
                 {{"APN Str", "MYAPN\",\"us\"er"}},
                 "APN Str",
                 Rule::Quote,
                 "must not contain a double quotation mark"},
        CheckRow{"ApnWithoutAName", {{"APN Str", "\",\"user"}}, "APN Str", Rule::Empty, "must not be empty"},
        CheckRow{"HexFormWithLetters",
                 {{"DevIDHex", "1"}, {"DevID", "XYZ1"}},
                 "DevID",
                 Rule::HexPairs,
                 "must be pairs of hex digits"},
        CheckRow{"HexFormOdd",
                 {{"HeartbeatFormatHex", "1"}, {"HeartbeatFormat", "ABC"}},
                 "HeartbeatFormat",
                 Rule::HexPairs,
                 "must be pairs of hex digits"},
        CheckRow{"HexFormEmpty", {{"DevIDHex", "1"}, {"DevID", ""}}, nullptr},
        CheckRow{"HexFormInEitherCase", {{"DevIDHex", "1"}, {"DevID", "4c4F"}}, nullptr},
        CheckRow{"PlainPacketOfAnyBytes", {{"DevID", "\"+,\xFF"}}, nullptr},
        CheckRow{"CrInAPacket",
                 {{"DevID", "LOG\rIN"}},
                 "DevID",
                 Rule::LineBreak,
                 "must not hold a line break or NUL"},
        CheckRow{"NulInACommandText",
                 {{"CIPMUX", std::string("AT+CIPMUX=0\0", 12)}},
                 "CIPMUX",
                 Rule::LineBreak,
                 "must not hold a line break or NUL"},
        CheckRow{"EmptyCommandText", {{"CIPMODE", ""}}, nullptr},
        CheckRow{"FirstInTableOrder", {{"Port", "x"}, {"IP", ""}}, "IP", Rule::Empty, "must not be empty"}),
    ByName());

TEST(DescribeRule, NamesTextWithNoGbkForm) {
  EXPECT_EQ(values::DescribeRule({0, Rule::NotGbk}), "has characters with no GBK form");
}

}  // namespace
}  // namespace values_test
