#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "gui/GuiTestSupport.h"
#include "gui/QtEventLoop.h"

namespace {

using Ticks = std::vector<std::string>;

class QtEventLoopTest : public testing::Test {
 protected:
  void SetUp() override { gui_test::EnsureQtApplication(); }
  gui::QtEventLoop loop;
};

// Timer T (40 ms) and G (50 ms) start together; at 20 ms H does something to T. Whatever the machine's load,
// Qt fires due timers in the order of their due times, so the order of T and G tells whether T's countdown
// started again (T due at 60 or later) or kept running (T due at 40). No time is measured.
struct TimerRuleRow {
  const char* name;
  std::function<void(platform::LoopTimer&)> atTwentyMs;
  Ticks expected;
};

void PrintTo(const TimerRuleRow& row, std::ostream* out) { *out << row.name; }

class QtTimerRules : public QtEventLoopTest, public testing::WithParamInterface<TimerRuleRow> {};

TEST_P(QtTimerRules, RestartOnlyWhereAWindowTimerRestarts) {
  Ticks ticks;
  // Each records its first tick only: a loaded machine may run several due ticks in one pass.
  std::unique_ptr<platform::LoopTimer> t;
  std::unique_ptr<platform::LoopTimer> g;
  t = loop.CreateTimer(
      [&] {
        t->SetEnabled(false);
        ticks.push_back("T");
      },
      40);
  g = loop.CreateTimer(
      [&] {
        g->SetEnabled(false);
        ticks.push_back("G");
      },
      50);
  std::unique_ptr<platform::LoopTimer> h;
  h = loop.CreateTimer(
      [&] {
        h->SetEnabled(false);
        GetParam().atTwentyMs(*t);
      },
      20);
  t->SetEnabled(true);
  g->SetEnabled(true);
  h->SetEnabled(true);
  loop.RunUntil([&] { return ticks.size() >= 2; });
  EXPECT_EQ(ticks, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QtTimerRules,
    testing::Values(TimerRuleRow{"EnablingARunningTimerKeepsItsCountdown",
                                 [](platform::LoopTimer& timer) { timer.SetEnabled(true); },
                                 {"T", "G"}},
                    TimerRuleRow{"SettingTheSameIntervalKeepsIt",
                                 [](platform::LoopTimer& timer) { timer.SetInterval(40); },
                                 {"T", "G"}},
                    TimerRuleRow{"ANewIntervalRestartsTheCountdown",
                                 [](platform::LoopTimer& timer) { timer.SetInterval(45); },
                                 {"G", "T"}},
                    TimerRuleRow{"DisablingAndEnablingRestartsIt",
                                 [](platform::LoopTimer& timer) {
                                   timer.SetEnabled(false);
                                   timer.SetEnabled(true);
                                 },
                                 {"G", "T"}}),
    [](const testing::TestParamInfo<TimerRuleRow>& row) { return std::string(row.param.name); });

TEST_F(QtEventLoopTest, AZeroIntervalOrADisabledTimerNeverTicks) {
  Ticks ticks;
  auto zero = loop.CreateTimer([&] { ticks.push_back("zero"); }, 0);
  auto off = loop.CreateTimer([&] { ticks.push_back("off"); }, 5);
  auto g = loop.CreateTimer([&] { ticks.push_back("G"); }, 20);
  zero->SetEnabled(true);
  off->SetEnabled(true);
  off->SetEnabled(false);
  g->SetEnabled(true);
  loop.RunUntil([&] { return !ticks.empty(); });
  loop.ProcessMessages();
  EXPECT_EQ(ticks, Ticks{"G"});
  EXPECT_TRUE(zero->Enabled()) << "the flag is kept even though nothing ticks";
}

TEST_F(QtEventLoopTest, PostsFromOtherThreadsRunOnTheLoopThreadInTheOrderPosted) {
  constexpr int kPerThread = 2000;
  std::vector<std::pair<int, int>> ran;
  std::vector<std::thread::id> threads;
  auto poster = [&](int who) {
    for (int i = 0; i < kPerThread; ++i) {
      loop.Post([&ran, &threads, who, i] {
        ran.emplace_back(who, i);
        threads.push_back(std::this_thread::get_id());
      });
    }
  };
  std::thread a(poster, 0);
  std::thread b(poster, 1);
  a.join();
  b.join();
  loop.RunUntil([&] { return ran.size() == 2u * kPerThread; });

  int next[2] = {0, 0};
  for (const auto& [who, i] : ran) {
    ASSERT_EQ(i, next[who]) << "thread " << who << "'s tasks out of order";
    ++next[who];
  }
  for (const auto& id : threads) ASSERT_EQ(id, std::this_thread::get_id());
}

TEST_F(QtEventLoopTest, ANestedWaitHandlesLaterTasksBeforeTheOuterTaskGoesOn) {
  // A modal dialog or the write pause inside a handler: the reply posted meanwhile must be handled inside.
  std::vector<std::string> ran;
  bool replied = false;
  loop.Post([&] {
    ran.push_back("outer begins");
    std::thread([&] {
      loop.Post([&] {
        ran.push_back("reply");
        replied = true;
      });
    }).join();
    loop.RunUntil([&] { return replied; });
    ran.push_back("outer ends");
  });
  loop.Post([&] { ran.push_back("queued behind"); });
  loop.RunUntil([&] { return ran.size() == 4; });
  EXPECT_EQ(ran, (std::vector<std::string>{"outer begins", "queued behind", "reply", "outer ends"}));
}

TEST_F(QtEventLoopTest, AnErrorEscapingATaskGoesToTheHandlerAndTheLoopGoesOn) {
  std::vector<std::string> errors;
  loop.SetErrorHandler([&](const std::exception& error) { errors.emplace_back(error.what()); });
  bool after = false;
  loop.Post([] { throw std::runtime_error("Error reading from serial port"); });
  loop.Post([&] { after = true; });
  loop.RunUntil([&] { return after; });
  EXPECT_EQ(errors, std::vector<std::string>{"Error reading from serial port"});
}

TEST_F(QtEventLoopTest, ATimerMayDestroyItselfInItsOwnTick) {
  std::unique_ptr<platform::LoopTimer> once;
  bool ticked = false;
  once = loop.CreateTimer(
      [&] {
        ticked = true;
        once.reset();
      },
      1);
  once->SetEnabled(true);
  loop.RunUntil([&] { return ticked; });
  loop.ProcessMessages();
  EXPECT_EQ(once, nullptr);
}

}  // namespace
