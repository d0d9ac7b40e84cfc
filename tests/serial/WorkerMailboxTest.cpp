// The way the workers' reports reach the window thread, on the virtual-time loop: order, held-back chunks,
// reports delivered inside a handler's own message loop, fairness towards other tasks, and closing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/VirtualEventLoop.h"
#include "serial/WorkerMailbox.h"

namespace {

using serial::WorkerMailbox;
using serial::WorkerReport;
using Kind = WorkerReport::Kind;

WorkerReport Data(const std::string& bytes) { return {Kind::ReceiveData, 0, bytes}; }

class Mailbox : public ::testing::Test {
 protected:
  // What was delivered, with the depth of inner loops it was delivered in.
  std::string Log() const {
    std::string all;
    for (const std::string& entry : log) all += entry + " ";
    return all;
  }

  platform::VirtualEventLoop loop;
  std::vector<std::string> log;
  int depth = 0;
  std::function<void(const WorkerReport&)> onDeliver;
  std::shared_ptr<WorkerMailbox> box = WorkerMailbox::Create(loop, [this](WorkerReport& report) {
    std::string entry =
        report.kind == Kind::ReceiveData ? report.bytes : "k" + std::to_string(static_cast<int>(report.kind));
    log.push_back(entry + (depth > 0 ? "@" + std::to_string(depth) : ""));
    if (onDeliver) onDeliver(report);
  });
};

TEST_F(Mailbox, HeldBackChunksWaitForAFlushOrTheNextReportAndKeepTheirPlace) {
  box->Append(Data("a"), false);
  box->Append(Data("b"), false);
  loop.RunUntilIdle();
  EXPECT_EQ(Log(), "") << "held back: nothing woke the window thread";

  box->Flush();
  loop.RunUntilIdle();
  EXPECT_EQ(Log(), "a b ");

  // A hang-up right after held-back data is delivered after it, as the reader made them.
  box->Append(Data("c"), false);
  box->Append({Kind::ReceiveError, 4, {}});
  box->Append(Data("d"), false);
  box->Append({Kind::RequestHangup, 0, {}});
  loop.RunUntilIdle();
  EXPECT_EQ(Log(), "a b c k1 d k3 ");

  box->Flush();  // nothing pending: no stray delivery
  loop.RunUntilIdle();
  EXPECT_EQ(log.size(), 6u);
}

TEST_F(Mailbox, ReportsQueuedBehindAHandlerThatPausesAreDeliveredInsideThePause) {
  onDeliver = [this](const WorkerReport& report) {
    if (report.bytes != "first") return;
    ++depth;
    loop.WaitWithMessages(200);
    --depth;
  };
  box->Append(Data("first"), false);
  box->Append(Data("second"), false);
  box->Append(Data("third"));
  loop.RunUntilIdle();
  // Only the one task is woken, yet the pause handles the rest as separate messages would be handled.
  EXPECT_EQ(Log(), "first second@1 third@1 ");

  loop.AdvanceBy(300);
  EXPECT_EQ(log.size(), 3u) << "nothing is delivered twice";
}

TEST_F(Mailbox, ABusyLineDoesNotStarveTasksPostedMeanwhile) {
  // Each delivery brings the next chunk, as a reader that never runs dry would.
  int more = 5;
  onDeliver = [this, &more](const WorkerReport&) {
    if (more-- > 0) box->Append(Data("n"));
  };
  box->Append(Data("a"), false);
  box->Append(Data("b"));
  loop.Post([this] { log.push_back("task"); });
  loop.RunUntilIdle();
  const std::string all = Log();
  EXPECT_EQ(all.substr(0, 9), "a b task ") << all;
  EXPECT_EQ(log.size(), 8u) << all;
}

TEST_F(Mailbox, ClosingDropsWhatIsPendingAndEverythingAfter) {
  box->Append(Data("a"));  // a drain task is queued on the loop
  box->Append(Data("b"), false);
  box->Close();
  box->Append(Data("c"));
  box->Flush();
  box.reset();  // the queued task keeps what it needs
  loop.RunUntilIdle();
  EXPECT_EQ(Log(), "");
}

}  // namespace
