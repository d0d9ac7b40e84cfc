// Reading the command line: what makes a usage error, and what a valid line turns into.

#include <gtest/gtest.h>

#include <variant>

#include "main/CliOptions.h"

namespace {

using cli::ParseArguments;

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  const char* complaint;  // part of the message
};

class UsageErrors : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, AreRefusedWithAReason) {
  const auto result = ParseArguments(GetParam().args);
  const auto* error = std::get_if<cli::UsageError>(&result);
  ASSERT_NE(error, nullptr);
  EXPECT_NE(error->message.find(GetParam().complaint), std::string::npos) << error->message;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, UsageErrors,
    testing::Values(
        UsageCase{"NoAction", {"--port", "/dev/ttyUSB0"}, "no action"},
        UsageCase{"TwoActions", {"read", "write", "--port", "a"}, "one action"},
        UsageCase{"NoPort", {"read", "--lang", "en"}, "no --port"},
        UsageCase{"ValueMissing", {"read", "--port"}, "needs a value"},
        UsageCase{"WriteWithoutIni", {"write", "--port", "a"}, "--ini"},
        UsageCase{"SamePortTwice", {"read", "--port", "a", "--port", "a"}, "twice"},
        UsageCase{"RateNotInTheList", {"read", "--port", "a", "--baud", "1000"}, "--baud"},
        UsageCase{"RateWithSign", {"read", "--port", "a", "--baud", "+9600"}, "--baud"},
        UsageCase{"OtherLanguage", {"read", "--port", "a", "--lang", "fr"}, "--lang"},
        UsageCase{"ZeroTimeout", {"read", "--port", "a", "--timeout", "0"}, "--timeout"},
        UsageCase{"FractionalTimeout", {"read", "--port", "a", "--timeout", "1.5"}, "--timeout"},
        UsageCase{"SetWithoutEquals", {"read", "--port", "a", "--set", "DevID"}, "KEY=VALUE"},
        UsageCase{"SetUnknownKey", {"read", "--port", "a", "--set", "Server=x"}, "unknown key 'Server'"},
        UsageCase{"SetComKey", {"read", "--port", "a", "--set", "ComName=1"}, "unknown key"},
        UsageCase{"SetKeyTwice", {"read", "--port", "a", "--set", "IP=a", "--set", "ip=b"}, "twice"},
        UsageCase{"SetLineBreak", {"read", "--port", "a", "--set", "DevID=a\nIP=b"}, "line break"},
        UsageCase{"UnitsTwice", {"read", "--units", "a", "--units", "b"}, "--units"},
        UsageCase{
            "LineWithAFormatIcfCannotSet", {"read", "--port", "a", "--line", "9600,8M1"}, "--line 9600,8M1"},
        UsageCase{"LineRateNotInTheList", {"read", "--port", "a", "--line", "1000,8N1"}, "--line 1000,8N1"},
        UsageCase{"LineWithBaud",
                  {"read", "--port", "a", "--line", "9600,8N1", "--baud", "auto"},
                  "--line and --baud"},
        UsageCase{"ScanWithLine", {"scan", "--port", "a", "--line", "9600,8N1"}, "leave out"}),
    [](const testing::TestParamInfo<UsageCase>& row) { return std::string(row.param.name); });

TEST(Options, AValidLineKeepsThePortsInOrderAndTakesEveryValue) {
  const auto result = ParseArguments({"--port", "COM3", "write", "--ini", "batch.ini", "--port",
                                      "/dev/ttyUSB1", "--baud", "14400", "--lang", "zh", "--timeout", "5"});
  const auto* options = std::get_if<cli::CliOptions>(&result);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->action, cli::Action::Write);
  EXPECT_EQ(options->ports, (std::vector<std::string>{"COM3", "/dev/ttyUSB1"}));
  EXPECT_EQ(options->iniFile, "batch.ini");
  EXPECT_EQ(options->baudRate, 14400);
  EXPECT_EQ(options->chinese, true);
  EXPECT_EQ(options->timeoutSeconds, 5);
  EXPECT_TRUE(std::holds_alternative<cli::HelpRequest>(ParseArguments({"erase", "--help"})));
  EXPECT_TRUE(std::holds_alternative<cli::VersionRequest>(ParseArguments({"read", "--version"})));

  const auto withLine = ParseArguments({"read", "--port", "a", "--line", "9600,7E2"});
  EXPECT_EQ(std::get<cli::CliOptions>(withLine).line, (config::LineChoice{9600, 7, 'E', 2}));
}

TEST(Options, ValuesBesideTheSettingsFileNeedNoPortWithAUnitsFile) {
  const auto result = ParseArguments(
      {"write", "--ini", "b.ini", "--units", "u.csv", "--set", "devid=LOGIN:{n}", "--set", "IP="});
  const auto* options = std::get_if<cli::CliOptions>(&result);
  ASSERT_NE(options, nullptr) << std::get<cli::UsageError>(result).message;
  EXPECT_TRUE(options->ports.empty());
  EXPECT_EQ(options->unitsFile, "u.csv");
  EXPECT_EQ(options->sets,
            (std::vector<std::pair<std::string, std::string>>{{"DevID", "LOGIN:{n}"}, {"IP", ""}}))
      << "keys as the settings file spells them; an empty value is a value";
}

}  // namespace
