#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/RealTimeEventLoop.h"
#include "platform/VirtualEventLoop.h"

namespace {

using platform::VirtualEventLoop;

TEST(VirtualEventLoop, PostedTasksRunInOrderAndTasksPostedWhileRunningRunAfter) {
  VirtualEventLoop loop;
  std::vector<int> order;
  loop.Post([&] {
    order.push_back(1);
    loop.Post([&] { order.push_back(3); });
  });
  loop.Post([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());
  loop.RunUntilIdle();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(VirtualEventLoop, TasksPostedFromOtherThreadsKeepEachThreadsOrder) {
  VirtualEventLoop loop;
  std::vector<std::pair<int, int>> seen;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&loop, &seen, t] {
      for (int i = 0; i < 500; ++i) loop.Post([&seen, t, i] { seen.emplace_back(t, i); });
    });
  }
  for (auto& thread : threads) thread.join();
  loop.RunUntilIdle();
  ASSERT_EQ(seen.size(), 2000u);
  std::vector<int> next(4, 0);
  for (auto [t, i] : seen) EXPECT_EQ(i, next[t]++);
}

TEST(VirtualEventLoop, RunUntilWaitsForAPostFromAnotherThread) {
  VirtualEventLoop loop;
  bool done = false;
  std::thread poster([&loop, &done] { loop.Post([&done] { done = true; }); });
  loop.RunUntil([&done] { return done; });
  poster.join();
  EXPECT_TRUE(done);
}

TEST(VirtualEventLoop, TimerTicksEveryIntervalOnlyWhileEnabled) {
  VirtualEventLoop loop;
  std::vector<uint64_t> ticks;
  auto timer = loop.CreateTimer([&] { ticks.push_back(loop.Now()); }, 100);
  loop.AdvanceBy(500);
  EXPECT_TRUE(ticks.empty()) << "a new timer starts disabled";
  timer->SetEnabled(true);
  loop.AdvanceBy(350);
  EXPECT_EQ(ticks, (std::vector<uint64_t>{600, 700, 800}));
  timer->SetEnabled(false);
  loop.AdvanceBy(1000);
  EXPECT_EQ(ticks.size(), 3u);
}

TEST(VirtualEventLoop, EnablingARunningTimerDoesNotRestartItsCountdown) {
  VirtualEventLoop loop;
  std::vector<uint64_t> ticks;
  auto timer = loop.CreateTimer([&] { ticks.push_back(loop.Now()); }, 3000);
  timer->SetEnabled(true);
  loop.AdvanceBy(2000);
  timer->SetEnabled(true);
  loop.AdvanceBy(1000);
  EXPECT_EQ(ticks, (std::vector<uint64_t>{3000}));
}

TEST(VirtualEventLoop, ChangingTheIntervalOfARunningTimerRestartsIt) {
  VirtualEventLoop loop;
  std::vector<uint64_t> ticks;
  auto timer = loop.CreateTimer([&] { ticks.push_back(loop.Now()); }, 3000);
  timer->SetEnabled(true);
  loop.AdvanceBy(2000);
  timer->SetInterval(3000);  // the same value changes nothing
  timer->SetInterval(5000);
  loop.AdvanceBy(4999);
  EXPECT_TRUE(ticks.empty());
  loop.AdvanceBy(1);
  EXPECT_EQ(ticks, (std::vector<uint64_t>{7000}));
}

TEST(VirtualEventLoop, DisablingAndEnablingAgainStartsAFreshCountdown) {
  VirtualEventLoop loop;
  int ticks = 0;
  auto timer = loop.CreateTimer([&] { ++ticks; }, 1000);
  timer->SetEnabled(true);
  loop.AdvanceBy(900);
  timer->SetEnabled(false);
  timer->SetEnabled(true);
  loop.AdvanceBy(900);
  EXPECT_EQ(ticks, 0);
  loop.AdvanceBy(100);
  EXPECT_EQ(ticks, 1);
}

TEST(VirtualEventLoop, WaitWithMessagesHandlesPostsAndTimersUntilTheTimeHasPassed) {
  VirtualEventLoop loop;
  std::vector<std::string> events;
  auto timer = loop.CreateTimer([&] { events.push_back("tick@" + std::to_string(loop.Now())); }, 150);
  timer->SetEnabled(true);
  loop.Post([&] { events.push_back("posted"); });
  loop.WaitWithMessages(200);
  EXPECT_EQ(loop.Now(), 200u);
  EXPECT_EQ(events, (std::vector<std::string>{"posted", "tick@150"}));
}

TEST(VirtualEventLoop, NestedWaitInsideATaskHandlesLaterMessagesFirst) {
  VirtualEventLoop loop;
  std::vector<std::string> events;
  loop.Post([&] {
    events.push_back("outer begins");
    loop.WaitWithMessages(200);
    events.push_back("outer ends");
  });
  loop.Post([&] { events.push_back("second"); });
  loop.RunUntilIdle();
  EXPECT_EQ(events, (std::vector<std::string>{"outer begins", "second", "outer ends"}));
}

TEST(VirtualEventLoop, TickCountFollowsTheVirtualClockAndWraps) {
  VirtualEventLoop loop(0xFFFFFFF0ull);
  EXPECT_EQ(loop.TickCount(), 0xFFFFFFF0u);
  loop.AdvanceBy(0x20);
  EXPECT_EQ(loop.TickCount(), 0x10u);
}

TEST(VirtualEventLoop, ATimerDestroyedBeforeItsTickNeverFires) {
  VirtualEventLoop loop;
  int ticks = 0;
  {
    auto timer = loop.CreateTimer([&] { ++ticks; }, 10);
    timer->SetEnabled(true);
  }
  loop.AdvanceBy(100);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(loop.EnabledTimerCount(), 0);
}

TEST(RealTimeEventLoop, WaitWithMessagesLastsAtLeastTheAskedTimeAndHandlesPostsFromThreads) {
  platform::RealTimeEventLoop loop;
  bool posted = false;
  std::thread poster([&] { loop.Post([&] { posted = true; }); });
  const uint32_t start = loop.TickCount();
  loop.WaitWithMessages(30);
  poster.join();
  loop.ProcessMessages();
  EXPECT_GE(loop.TickCount() - start, 30u);
  EXPECT_TRUE(posted);
}

TEST(RealTimeEventLoop, RunUntilReturnsWhenAPostFromAnotherThreadSatisfiesIt) {
  platform::RealTimeEventLoop loop;
  int value = 0;
  std::thread poster([&] {
    for (int i = 1; i <= 3; ++i) loop.Post([&value, i] { value = i; });
  });
  loop.RunUntil([&] { return value == 3; });
  poster.join();
  EXPECT_EQ(value, 3);
}

}  // namespace
