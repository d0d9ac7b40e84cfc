// The search for the PC line settings a DTU answers at, on the virtual clock against the simulated DTU: which
// settings it tries and in what order, how long it takes, and how it ends.

#include <gtest/gtest.h>

#include <functional>

#include "ConfigBench.h"
#include "lang/DialogueRows.h"
#include "lang/OutcomeRows.h"

namespace config_test {
namespace {

using dtusim::Burst;
using dtusim::EchoMode;
using dtusim::LineFormat;

const std::string kQuery = "AT+CIPR?\r\n";
const std::string kNone = "[Note]: The DTU did not answer at any line setting.";
const std::string kCancelled = "[Note]: Cancelled.";
const std::string kTrying = "  [Note]: Trying ";
const size_t kCandidates = config::LineCandidates().size();

// What the DTU sends back to a query that reached it at other settings than its own: what the line makes of
// its ERROR at the wrong rate.
void AnswerWrongSettingsWith(ConfigBench& bench, std::string garbled) {
  bench.line.peer = [&dtu = bench.dtu, garbled](std::string_view bytes, const LineFormat& with) {
    if (with != dtu.Line()) return std::vector<Burst>{{5, garbled, with}};
    return dtu.Receive(bytes, with);
  };
}

struct SearchRow {
  const char* name;
  std::function<void(ConfigBench&)> setUp;
  std::optional<config::LineChoice> found;
  size_t tries;
  std::string verdict;    // the last line of the log
  uint32_t withinMs = 0;  // the search ends by then on the virtual clock (0: not looked at)
  // Ends the search from outside this long after its start: Stop, or closing the port.
  std::function<void(ConfigBench&)> interrupt = {};
  uint32_t interruptAfterMs = 0;
  bool openAfter = true;
};

class LineSearch : public testing::TestWithParam<SearchRow> {};
TEST_P(LineSearch, TriesEverySettingInTurnUntilTheDtuAnswers) {
  ConfigBench bench;
  const SearchRow& row = GetParam();
  const config::PortLine before = bench.host.line;
  if (row.setUp) row.setUp(bench);
  int finished = 0;
  uint64_t endedAt = 0;
  bench.search.OnFinished = [&] {
    ++finished;
    endedAt = bench.loop.Now();
  };
  bench.search.Start();
  EXPECT_EQ(bench.config.Busy(), bench.search.Running()) << "the conversation waits for the search";
  if (row.interrupt) {
    bench.loop.AdvanceBy(row.interruptAfterMs);
    row.interrupt(bench);
  }
  bench.loop.AdvanceBy(1200000);
  EXPECT_FALSE(bench.search.Running());
  EXPECT_FALSE(bench.config.Busy());
  EXPECT_EQ(bench.search.Found(), row.found);
  EXPECT_EQ(bench.search.NeverOpened(), bench.line.failOpen);
  EXPECT_EQ(finished, row.interrupt ? 0 : 1);
  if (row.withinMs != 0) {
    EXPECT_LE(endedAt, row.withinMs);
  }

  // Both passes go through the candidates in the same order; each try is logged with its settings.
  const auto candidates = config::LineCandidates();
  ASSERT_EQ(bench.line.sent.size(), row.tries);
  std::vector<std::string> triesLogged;
  for (const std::string& line : bench.host.log) {
    if (line.starts_with(kTrying)) triesLogged.push_back(line.substr(kTrying.size()));
  }
  ASSERT_EQ(triesLogged.size(), row.tries);
  for (size_t i = 0; i < row.tries; ++i) {
    const config::LineChoice& c = candidates[i % kCandidates];
    EXPECT_EQ(bench.line.sent[i].text, kQuery);
    EXPECT_EQ(bench.line.sent[i].format, (LineFormat{c.baudRate, c.dataBits, c.parity, c.stopBits})) << i;
    EXPECT_EQ(triesLogged[i], config::Describe(c));
  }
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0) << "the search keeps its own time";
  EXPECT_EQ(bench.host.log.back(), "  " + row.verdict);
  EXPECT_EQ(bench.host.line, row.found ? config::WholeLine(*row.found) : before);
  EXPECT_EQ(bench.line.Opened(), row.openAfter);
  if (row.openAfter) {
    const config::PortLine& l = bench.host.line;
    EXPECT_EQ(bench.line.Format(), (LineFormat{*l.baudRate, *l.dataBits, *l.parity, *l.stopBits}));
  }
  if (row.found) {
    // The conversation has the port back, read as usual.
    EXPECT_EQ(bench.line.ReadInterval(), config::ReadIntervalForBaudRate(row.found->baudRate));
    bench.config.StartRead();
    bench.loop.AdvanceBy(30000);
    EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 1);
  }
}

// A DTU at 300 baud, 7 data bits, no parity, 2 stop bits: the last of the candidates.
void AtTheLastSetting(ConfigBench& bench) {
  bench.dtu.settings.baudRate = 300;
  bench.dtu.settings.formatCode = 4;
  bench.dtu.faults.replyDelayMs = 300;
}

INSTANTIATE_TEST_SUITE_P(
    Dtus, LineSearch,
    testing::Values(
        SearchRow{"AtTheFirstTry", nullptr, config::LineChoice{}, 1, "[Note]: The DTU answers at 115200 8N1",
                  10},
        SearchRow{"At9600", [](ConfigBench& b) { b.dtu.settings.baudRate = 9600; },
                  config::LineChoice{9600, 8, 'N', 1}, 2, "[Note]: The DTU answers at 9600 8N1", 400},
        // A DTU that answers within 300 ms is found on the first pass at any of the settings within a minute.
        SearchRow{"AtTheLastSettingOnTheFirstPass", AtTheLastSetting, config::LineChoice{300, 7, 'N', 2},
                  kCandidates, "[Note]: The DTU answers at 300 7N2", 60000},
        // Its answer comes after the first pass has moved on; the second waits long enough.
        SearchRow{"OnTheSecondPassWhenSlowToAnswer", [](ConfigBench& b) { b.dtu.faults.replyDelayMs = 1500; },
                  config::LineChoice{}, kCandidates + 1, "[Note]: The DTU answers at 115200 8N1",
                  60000 + 1500},
        // The echo shows that a DTU is listening: its try waits the whole reply time-out for the answer.
        SearchRow{"AfterItsEchoTheAnswerGetsTheWholeReplyTime",
                  [](ConfigBench& b) {
                    b.dtu.faults.echo = EchoMode::Exact;
                    b.dtu.faults.echoAlone = true;
                    b.dtu.faults.replyDelayMs = 2500;
                  },
                  config::LineChoice{}, 1, "[Note]: The DTU answers at 115200 8N1", 2600},
        // Garbled bytes or a line that answers nothing end the try at once.
        SearchRow{"GarbledBytesMoveOnAtOnce",
                  [](ConfigBench& b) {
                    b.dtu.settings.baudRate = 9600;
                    AnswerWrongSettingsWith(b, "\xF8\x80\x00");
                  },
                  config::LineChoice{9600, 8, 'N', 1}, 2, "[Note]: The DTU answers at 9600 8N1", 20},
        SearchRow{"ALineThatAnswersNothingMovesOnAtOnce",
                  [](ConfigBench& b) {
                    b.dtu.settings.baudRate = 9600;
                    AnswerWrongSettingsWith(b, "\r\nx~f3\r\n");
                  },
                  config::LineChoice{9600, 8, 'N', 1}, 2, "[Note]: The DTU answers at 9600 8N1", 20},
        SearchRow{"ErrorEndsTheTryAtOnce",
                  [](ConfigBench& b) {
                    b.dtu.settings.baudRate = 9600;
                    AnswerWrongSettingsWith(b, "AT+CIPR?\r\n\r\nERROR\r\n");
                  },
                  config::LineChoice{9600, 8, 'N', 1}, 2, "[Note]: The DTU answers at 9600 8N1", 20},
        SearchRow{"AtNone", [](ConfigBench& b) { b.dtu.faults.silent = true; }, std::nullopt, 2 * kCandidates,
                  kNone},
        SearchRow{"NeverOpened",
                  [](ConfigBench& b) { b.line.failOpen = true; },
                  std::nullopt,
                  0,
                  kNone,
                  0,
                  {},
                  0,
                  false},
        // The host's line and the port are back as before.
        SearchRow{"Stopped", [](ConfigBench& b) { b.dtu.settings.baudRate = 600; }, std::nullopt, 3,
                  kCancelled, 0, [](ConfigBench& b) { b.search.Stop(); }, 1000},
        SearchRow{"EndedByClosingThePort", [](ConfigBench& b) { b.dtu.settings.baudRate = 600; },
                  std::nullopt, 3, kCancelled, 0, [](ConfigBench& b) { b.port.CloseComPort(); }, 1000,
                  false}),
    ByName);

}  // namespace
}  // namespace config_test
