#include <gtest/gtest.h>

#include "ConfigBench.h"
#include "config/Encoding.h"
#include "values/ListMeanings.h"

namespace config_test {
namespace {

using config::AsciiToHex;
using config::EConvertError;
using config::HexToAscii;
using config::SetCommandText;

struct CommandRow {
  const char* name;
  int step;
  std::string expected;
};

class DefaultCommand : public testing::TestWithParam<CommandRow> {};

TEST_P(DefaultCommand, IsExactToTheByte) {
  ConfigBench bench;
  EXPECT_EQ(SetCommandText(bench.form, GetParam().step), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WriteSteps, DefaultCommand,
    testing::Values(CommandRow{"Apn", 1, "AT+CSTT=\"CMNET\"\r\n"},
                    CommandRow{"Timing", 2, "AT+CIPCFG=1,50,0,10,200,1800\r\n"},
                    CommandRow{"HeartbeatInHex", 3, "AT+CIPPACK=0,\"4C4F47\"\r\n"},
                    CommandRow{"RegistrationInHex", 4, "AT+CIPPACK=1,\"4C4F47494E3A31303031\"\r\n"},
                    CommandRow{"CipmuxAsStored", 5, "AT + CIPMUX = 0\r\n"},
                    CommandRow{"CipmodeAsStored", 6, "AT + CIPMODE = 1\r\n"},
                    CommandRow{"ServerWithOneBlankBeforeThePort", 7,
                               "AT+CIPSCONT=0,\"TCP\",\"dtu.example.com\", 2317,2\r\n"},
                    CommandRow{"Format8N1", 8, "AT+ICF=3,3\r\n"},
                    CommandRow{"BaudRate", 9, "AT+CIPR=115200\r\n"}, CommandRow{"Save", 10, "ATW\r\n"},
                    CommandRow{"BelowTheFirst", 0, ""}, CommandRow{"AfterTheLast", 11, ""}),
    ByName());

TEST(SetCommand, TimingPutsThePackingTimeBeforeThePackingLength) {
  ConfigBench bench;
  bench.form.edtl_HeartbeatTime.SetText("1");
  bench.form.edt_WaitLen.SetText("22");
  bench.form.edt_WaitTime.SetText("333");
  bench.form.edt_RestartTime.SetText("4444");
  EXPECT_EQ(SetCommandText(bench.form, 2), "AT+CIPCFG=1,1,0,333,22,4444\r\n");
}

TEST(SetCommand, StoredCommandTextsGoOutAsTheyAreEvenWhenEmpty) {
  ConfigBench bench;
  bench.form.CipmuxText = "";
  bench.form.CipmodeText = "at+cipmode=0 ";
  EXPECT_EQ(SetCommandText(bench.form, 5), "\r\n");
  EXPECT_EQ(SetCommandText(bench.form, 6), "at+cipmode=0 \r\n");
}

TEST(SetCommand, PacketsFollowTheirHexBoxes) {
  ConfigBench bench;
  bench.form.chk_HeartbeatFormat.SetChecked(true);
  bench.form.edt_HeartbeatFormat.SetText("4c4f47");
  EXPECT_EQ(SetCommandText(bench.form, 3), "AT+CIPPACK=0,\"4c4f47\"\r\n") << "ticked digits keep their case";
  bench.form.chk_DevID.SetChecked(true);
  EXPECT_EQ(SetCommandText(bench.form, 4), "AT+CIPPACK=1,\"LOGIN:1001\"\r\n") << "ticked text is not checked";
  bench.form.chk_DevID.SetChecked(false);
  bench.form.edt_DevID.SetText("");
  EXPECT_EQ(SetCommandText(bench.form, 4), "AT+CIPPACK=1,\"\"\r\n");
  bench.form.edt_DevID.SetText(std::string("\xC9\xE8\0", 3));
  EXPECT_EQ(SetCommandText(bench.form, 4), "AT+CIPPACK=1,\"C9E800\"\r\n") << "GBK and zero bytes one by one";
}

struct FormatRow {
  const char* name;
  int byteIndex, stopIndex, parityIndex;
  std::string expected;
};

class SerialFormatCommand : public testing::TestWithParam<FormatRow> {};

TEST_P(SerialFormatCommand, CarriesTheFormatAndParityCodes) {
  ConfigBench bench;
  bench.form.cbb_Com_Byte.SetItemIndex(GetParam().byteIndex);
  bench.form.cbb_Com_Stop.SetItemIndex(GetParam().stopIndex);
  bench.form.cbb_Com_Parity.SetItemIndex(GetParam().parityIndex);
  EXPECT_EQ(SetCommandText(bench.form, 8), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Combinations, SerialFormatCommand,
                         testing::Values(FormatRow{"Seven1Odd", 0, 0, 1, "AT+ICF=5,0\r\n"},
                                         FormatRow{"Seven2None", 0, 1, 0, "AT+ICF=4,3\r\n"},
                                         FormatRow{"Eight1None", 1, 0, 0, "AT+ICF=3,3\r\n"},
                                         FormatRow{"Eight2Even", 1, 1, 2, "AT+ICF=1,1\r\n"},
                                         FormatRow{"NothingSelected", -1, -1, -1, "AT+ICF=3,3\r\n"}),
                         ByName());

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
  const std::string hex = AsciiToHex(all);
  EXPECT_EQ(hex.substr(0, 6), "000102");
  EXPECT_EQ(hex.substr(hex.size() - 4), "FEFF");
  EXPECT_EQ(HexToAscii(hex), all);
  EXPECT_EQ(AsciiToHex(""), "");
  EXPECT_EQ(HexToAscii("4c4F47"), "LOG") << "both letter cases are read";
}

TEST(HexConversion, AnOddLastDigitIsDroppedAndABadPairIsReportedWithItsText) {
  EXPECT_EQ(HexToAscii("4C4F4"), "LO");
  EXPECT_EQ(HexToAscii("4"), "");
  try {
    HexToAscii("4C4G");
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'$4G' is not a valid integer value");
  }
  EXPECT_THROW(HexToAscii("4C 4"), EConvertError) << "a blank is no digit";
}

TEST(HexBox, TickingAndUntickingConvertTheEditInPlace) {
  ConfigBench bench;
  bench.form.chk_HeartbeatFormat.UserToggle();
  EXPECT_EQ(bench.form.edt_HeartbeatFormat.Text(), "4C4F47");
  bench.form.chk_HeartbeatFormat.UserToggle();
  EXPECT_EQ(bench.form.edt_HeartbeatFormat.Text(), "LOG");
  bench.form.chk_DevID.UserToggle();
  EXPECT_EQ(bench.form.edt_DevID.Text(), "4C4F47494E3A31303031");
  EXPECT_EQ(bench.form.edt_HeartbeatFormat.Text(), "LOG") << "each box converts only its own edit";
}

TEST(HexBox, UntickingDropsAnOddDigitAndRefusesABadPairLeavingTheEdit) {
  ConfigBench bench;
  bench.form.chk_DevID.SetChecked(true);
  bench.form.edt_DevID.SetText("4C4F4");
  bench.form.chk_DevID.UserToggle();
  EXPECT_EQ(bench.form.edt_DevID.Text(), "LO");

  bench.form.chk_DevID.SetChecked(true);
  bench.form.edt_DevID.SetText("4G");
  try {
    bench.form.chk_DevID.UserToggle();
    FAIL() << "the error must reach the general error report";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'$4G' is not a valid integer value");
  }
  EXPECT_EQ(bench.form.edt_DevID.Text(), "4G");
  EXPECT_FALSE(bench.form.chk_DevID.Checked());
}

struct ApnRow {
  const char* name;
  std::string dialogResult;
  std::string expected;
};

class ApnComposition : public testing::TestWithParam<ApnRow> {};

TEST_P(ApnComposition, TheDialogsTextBecomesTheQuotedItemsOfTheApnCommand) {
  ConfigBench bench;
  int shown = 0;
  bench.config.ShowApnDialog = [&](const std::optional<config::ApnParts>&) {
    ++shown;
    bench.form.edt_APN_other.SetText(GetParam().dialogResult);
  };
  bench.config.SetOtherApn("");
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(bench.form.edt_APN_other.Enabled());
  EXPECT_EQ(bench.form.edt_APN_other.Color(), ui::TColor::clWindow);
  EXPECT_EQ(SetCommandText(bench.form, 1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(DialogResults, ApnComposition,
                         testing::Values(ApnRow{"NameOnly", "MYAPN", "AT+CSTT=\"MYAPN\"\r\n"},
                                         ApnRow{"NameAndAccount", "MYAPN\",\"user",
                                                "AT+CSTT=\"MYAPN\",\"user\"\r\n"},
                                         ApnRow{"NameAccountPassword", "MYAPN\",\"user\",\"pw",
                                                "AT+CSTT=\"MYAPN\",\"user\",\"pw\"\r\n"}),
                         ByName());

}  // namespace
}  // namespace config_test
