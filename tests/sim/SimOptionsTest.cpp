#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SimOptions.h"

namespace {

using dtusim::SimOptions;

struct OptionCase {
  const char* name;
  std::vector<std::string> args;
  std::optional<SimOptions> parsed;  // nothing: a usage error
};

SimOptions Parsed(void (*change)(SimOptions&)) {
  SimOptions options;
  change(options);
  return options;
}

class Options : public testing::TestWithParam<OptionCase> {};

TEST_P(Options, ParseIntoTheFaultsTheyName) {
  EXPECT_EQ(dtusim::ParseSimOptions(GetParam().args), GetParam().parsed);
}

INSTANTIATE_TEST_SUITE_P(
    DtuSim, Options,
    testing::Values(
        OptionCase{"None", {}, SimOptions{}},
        OptionCase{
            "AnswerWithLineEnds", {"--answer", "ICF=\\r\\nOK\\r\\n", "--echo", "lf"}, Parsed([](auto& o) {
              o.faults.answer["ICF"] = "\r\nOK\r\n";
              o.faults.echo = dtusim::EchoMode::LfOnly;
            })},
        OptionCase{"Line", {"--line", "57600,7E2"}, Parsed([](auto& o) {
                     o.settings.baudRate = 57600;
                     o.settings.formatCode = 4;
                     o.settings.parityCode = 1;
                   })},
        OptionCase{"SplitInHalves", {"--split", "300"}, Parsed([](auto& o) { o.faults.splitPauseMs = 300; })},
        OptionCase{"SplitInPieces", {"--split", "100,4"}, Parsed([](auto& o) {
                     o.faults.splitPauseMs = 100;
                     o.faults.splitPieces = 4;
                   })},
        OptionCase{"UnsolicitedLinesInOrderTextKeepsCommas",
                   {"--unsolicited", "CIPR,100,CONNECT OK", "--unsolicited", "any,-50,+CSQ: 20,0"},
                   Parsed([](auto& o) {
                     o.faults.unsolicited = {{"CIPR", 100, "CONNECT OK"}, {"any", -50, "+CSQ: 20,0"}};
                   })},
        OptionCase{"RestartAtNamedCommand", {"--restart-at", "ATW"}, Parsed([](auto& o) {
                     o.faults.restart = dtusim::RestartFault{"ATW", 1};
                   })},
        OptionCase{"RestartAtNthCommand", {"--restart-at", "any,5"}, Parsed([](auto& o) {
                     o.faults.restart = dtusim::RestartFault{"any", 5};
                   })},
        OptionCase{"Double", {"--double", "ICF", "--double", "any"}, Parsed([](auto& o) {
                     o.faults.doubleResult = {"ICF", "any"};
                   })},
        OptionCase{
            "PadListing", {"--pad-listing", "1100"}, Parsed([](auto& o) { o.faults.padListingTo = 1100; })},
        OptionCase{"PaceByteByByte", {"--pace", "1200"}, Parsed([](auto& o) { o.faults.paceBaud = 1200; })},
        OptionCase{"PaceInChunks", {"--pace", "1200,16"}, Parsed([](auto& o) {
                     o.faults.paceBaud = 1200;
                     o.faults.paceChunkBytes = 16;
                   })},
        OptionCase{"OnePieceIsNoSplit", {"--split", "100,1"}, std::nullopt},
        OptionCase{"PiecesMissing", {"--split", "100,"}, std::nullopt},
        OptionCase{"UnsolicitedWithoutText", {"--unsolicited", "CIPR,100"}, std::nullopt},
        OptionCase{"UnsolicitedDelayNotANumber", {"--unsolicited", "CIPR,soon,CONNECT OK"}, std::nullopt},
        OptionCase{"RestartAtZeroth", {"--restart-at", "ATW,0"}, std::nullopt},
        OptionCase{"PaceAtZeroBaud", {"--pace", "0"}, std::nullopt},
        OptionCase{"PadListingWithoutBytes", {"--pad-listing"}, std::nullopt},
        OptionCase{"DelayWithSign", {"--delay", "-5"}, std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
