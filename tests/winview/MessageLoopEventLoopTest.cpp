#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/win32/MessageLoopEventLoop.h"

namespace {

using platform::MessageLoopEventLoop;

TEST(MessageLoopEventLoop, RunsWhatThreadsPostInTheirOrderOnItsOwnThreadAlsoInsideANestedLoop) {
  MessageLoopEventLoop loop;
  const auto loopThread = std::this_thread::get_id();
  constexpr int kThreads = 4;
  constexpr int kEach = 500;
  std::vector<std::vector<int>> seen(kThreads);
  int ran = 0;
  bool wrongThread = false;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        loop.Post([&, t, i] {
          wrongThread = wrongThread || std::this_thread::get_id() != loopThread;
          seen[static_cast<size_t>(t)].push_back(i);
          ++ran;
          // A modal dialog in the middle: the tasks behind this one run inside it.
          if (t == 0 && i == 10) loop.RunUntil([&] { return ran >= kThreads * kEach / 2; });
        });
      }
    });
  }
  for (auto& thread : threads) thread.join();
  loop.RunUntil([&] { return ran == kThreads * kEach; });
  EXPECT_FALSE(wrongThread);
  for (const auto& one : seen) {
    ASSERT_EQ(one.size(), static_cast<size_t>(kEach));
    for (int i = 0; i < kEach; ++i) EXPECT_EQ(one[static_cast<size_t>(i)], i);
  }
}

TEST(MessageLoopEventLoop, ATimerThatEndsItselfInItsTickNeverTicksAgain) {
  MessageLoopEventLoop loop;
  int selfEnding = 0;
  int other = 0;
  std::unique_ptr<platform::LoopTimer> ending;
  ending = loop.CreateTimer(
      [&] {
        ++selfEnding;
        ending.reset();
      },
      1);
  ending->SetEnabled(true);
  auto keeper = loop.CreateTimer([&] { ++other; }, 1);
  keeper->SetEnabled(true);
  // A tick the system had queued before the timer went must find nothing.
  loop.RunUntil([&] { return other >= 20; });
  EXPECT_EQ(selfEnding, 1);
}

TEST(MessageLoopEventLoop, AnErrorReachesTheHandlerAndQuitEndsTheNestedAndTheOuterLoop) {
  MessageLoopEventLoop loop;
  std::string reported;
  loop.SetErrorHandler([&](const std::exception& error) { reported = error.what(); });
  loop.Post([] { throw std::runtime_error("port gone"); });
  bool innerEnded = false;
  loop.Post([&] {
    loop.RunUntil([] { return false; });
    innerEnded = true;
  });
  std::thread([&] { loop.Quit(); }).join();
  loop.RunUntil([] { return false; });
  EXPECT_EQ(reported, "port gone");
  EXPECT_TRUE(innerEnded);
  EXPECT_TRUE(loop.QuitRequested());
}

}  // namespace
