#include "ValuesRows.h"
#include "values/Commands.h"
#include "values/ListMeanings.h"

namespace values_test {
namespace {

using values::CommandText;

struct CommandRow {
  const char* name;
  KeyValues changes;
  int step;
  std::string expected;
};

class Command : public testing::TestWithParam<CommandRow> {};

TEST_P(Command, IsExactToTheByte) {
  EXPECT_EQ(CommandText(GetParam().step, With(GetParam().changes)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, Command,
    testing::Values(CommandRow{"Apn", {}, 1, "AT+CSTT=\"CMNET\"\r\n"},
                    CommandRow{"Timing", {}, 2, "AT+CIPCFG=1,50,0,10,200,1800\r\n"},
                    CommandRow{"HeartbeatInHex", {}, 3, "AT+CIPPACK=0,\"4C4F47\"\r\n"},
                    CommandRow{"RegistrationInHex", {}, 4, "AT+CIPPACK=1,\"4C4F47494E3A31303031\"\r\n"},
                    CommandRow{"CipmuxAsStored", {}, 5, "AT + CIPMUX = 0\r\n"},
                    CommandRow{"CipmodeAsStored", {}, 6, "AT + CIPMODE = 1\r\n"},
                    CommandRow{"ServerWithOneBlankBeforeThePort",
                               {},
                               7,
                               "AT+CIPSCONT=0,\"TCP\",\"dtu.example.com\", 2317,2\r\n"},
                    CommandRow{"Format8N1", {}, 8, "AT+ICF=3,3\r\n"},
                    CommandRow{"BaudRate", {}, 9, "AT+CIPR=115200\r\n"},
                    CommandRow{"Save", {}, 10, "ATW\r\n"}, CommandRow{"BelowTheFirst", {}, 0, ""},
                    CommandRow{"AfterTheLast", {}, 11, ""}),
    ByName());

INSTANTIATE_TEST_SUITE_P(
    Changed, Command,
    testing::Values(
        CommandRow{
            "PackingTimeBeforePackingLength",
            {{"HeartbeatTime", "1"}, {"WaitLength", "22"}, {"WaitTime", "333"}, {"RestartTime", "4444"}},
            2,
            "AT+CIPCFG=1,1,0,333,22,4444\r\n"},
        CommandRow{"Seven1Odd", {{"Byte", "0"}, {"Stop", "0"}, {"Parity", "1"}}, 8, "AT+ICF=5,0\r\n"},
        CommandRow{"Seven2None", {{"Byte", "0"}, {"Stop", "1"}, {"Parity", "0"}}, 8, "AT+ICF=4,3\r\n"},
        CommandRow{"Eight2Even", {{"Byte", "1"}, {"Stop", "1"}, {"Parity", "2"}}, 8, "AT+ICF=1,1\r\n"},
        CommandRow{
            "FormatNamingNothing", {{"Byte", ""}, {"Stop", "7"}, {"Parity", "x"}}, 8, "AT+ICF=3,3\r\n"},
        CommandRow{"RateInTheList", {{"BaudRate", "5"}}, 9, "AT+CIPR=9600\r\n"},
        CommandRow{"RateOutOfTheList", {{"BaudRate", "11"}}, 9, "AT+CIPR=\r\n"},
        CommandRow{"Udp", {{"Protocol", "1"}}, 7, "AT+CIPSCONT=0,\"UDP\",\"dtu.example.com\", 2317,2\r\n"},
        CommandRow{"HexFormKeepsItsCase",
                   {{"HeartbeatFormatHex", "1"}, {"HeartbeatFormat", "4c4f47"}},
                   3,
                   "AT+CIPPACK=0,\"4c4f47\"\r\n"},
        CommandRow{"HexFormOfTheOtherPacketOnly",
                   {{"HeartbeatFormatHex", "1"}},
                   4,
                   "AT+CIPPACK=1,\"4C4F47494E3A31303031\"\r\n"},
        CommandRow{"GbkAndZeroBytesOneByOne",
                   {{"DevID", std::string("\xC9\xE8\0", 3)}},
                   4,
                   "AT+CIPPACK=1,\"C9E800\"\r\n"},
        CommandRow{"EmptyPacket", {{"DevID", ""}}, 4, "AT+CIPPACK=1,\"\"\r\n"},
        CommandRow{"ApnWithAccount", {{"APN Str", "MYAPN\",\"user"}}, 1, "AT+CSTT=\"MYAPN\",\"user\"\r\n"},
        CommandRow{"ApnWithAccountAndPassword",
                   {{"APN Str", "MYAPN\",\"user\",\"pw"}},
                   1,
                   "AT+CSTT=\"MYAPN\",\"user\",\"pw\"\r\n"},
        CommandRow{"EmptyCipmux", {{"CIPMUX", ""}}, 5, "\r\n"},
        CommandRow{"CipmodeAsTyped", {{"CIPMODE", "at+cipmode=0 "}}, 6, "at+cipmode=0 \r\n"}),
    ByName());

TEST(Query, AsksForEachReplyInTurn) {
  EXPECT_EQ(values::QueryText(1), "AT+CIPR?\r\n");
  EXPECT_EQ(values::QueryText(2), "AT+ICF?\r\n");
  EXPECT_EQ(values::QueryText(3), "AT+CIPSCONT?\r\n");
  EXPECT_EQ(values::QueryText(0), "");
  EXPECT_EQ(values::QueryText(4), "");
}

TEST(CodeTables, ReadingACodeBackGivesTheListIndexesThatMadeIt) {
  for (int byteIndex : {0, 1}) {
    for (int stopIndex : {0, 1}) {
      const auto back = values::ByteAndStopFromDtuCode(values::DtuFormatCode(byteIndex, stopIndex));
      ASSERT_TRUE(back.has_value());
      EXPECT_EQ(back->byteIndex, byteIndex);
      EXPECT_EQ(back->stopIndex, stopIndex);
    }
  }
  for (int parityIndex : {0, 1, 2})
    EXPECT_EQ(values::ParityIndexFromDtuCode(values::DtuParityCode(parityIndex)), parityIndex);
  for (int unused : {0, 2, 6, 9}) EXPECT_FALSE(values::ByteAndStopFromDtuCode(unused).has_value()) << unused;
  for (int unused : {2, 4, 9}) EXPECT_FALSE(values::ParityIndexFromDtuCode(unused).has_value()) << unused;
}

TEST(HexConversion, TextAndDigitsRoundTripEveryByte) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::string hex = values::AsciiToHex(all);
  EXPECT_EQ(hex.substr(0, 6), "000102");
  EXPECT_EQ(hex.substr(hex.size() - 4), "FEFF");
  EXPECT_EQ(values::HexToAscii(hex), all);
  EXPECT_EQ(values::HexToAscii("4c4F47"), "LOG") << "both letter cases are read";
}

TEST(HexConversion, AnOddLastDigitIsDroppedAndABadPairIsReportedWithItsText) {
  EXPECT_EQ(values::HexToAscii("4C4F4"), "LO");
  EXPECT_EQ(values::HexToAscii("4"), "");
  try {
    values::HexToAscii("4C4G");
    FAIL() << "no error";
  } catch (const values::EConvertError& error) {
    EXPECT_STREQ(error.what(), "'$4G' is not a valid integer value");
  }
  EXPECT_THROW(values::HexToAscii("4C 4"), values::EConvertError) << "a blank is no digit";
}

struct ApnRow {
  const char* name;
  std::string text;
  values::ApnParts parts;
};

class ApnText : public testing::TestWithParam<ApnRow> {};

TEST_P(ApnText, SplitsIntoItsPartsAndIsComposedAgain) {
  EXPECT_EQ(values::SplitApnText(GetParam().text), GetParam().parts);
  EXPECT_EQ(values::ComposeApnText(GetParam().parts), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, ApnText,
    testing::Values(ApnRow{"NameOnly", "MYAPN", {"MYAPN", "", ""}},
                    ApnRow{"Account", "MYAPN\",\"user", {"MYAPN", "user", ""}},
                    ApnRow{"AccountAndPassword", "MYAPN\",\"user\",\"pw", {"MYAPN", "user", "pw"}},
                    ApnRow{"AFourthPartStaysInThePassword", "a\",\"b\",\"c\",\"d", {"a", "b", "c\",\"d"}},
                    ApnRow{"Empty", "", {"", "", ""}}),
    ByName());

TEST(ApnComposition, APasswordWithoutAnAccountIsNotSent) {
  EXPECT_EQ(values::ComposeApnText({"MYAPN", "", "pw"}), "MYAPN");
}

}  // namespace
}  // namespace values_test
