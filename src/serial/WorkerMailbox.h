#pragma once
// The workers' reports on their way to the window thread. A worker appends to one queue, and a single task
// on the loop delivers everything queued: when the window thread is behind a fast line it takes many chunks
// per wake-up instead of being woken, and paying a task, once per chunk. Reports still come up one at a time
// and in the order they were appended, also when a handler processes messages inside itself (a pause, a
// modal dialog): the reports after it are then delivered inside that inner loop, as separate messages would
// be.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/EventLoop.h"

namespace serial {

struct WorkerReport {
  enum class Kind : uint8_t { ReceiveData, ReceiveError, ModemStateChange, RequestHangup, SendDataEmpty };
  Kind kind = Kind::ReceiveData;
  uint32_t value = 0;  // the error flags or the modem bits
  std::string bytes;   // the received chunk
};

class WorkerMailbox {
 public:
  using Deliver = std::function<void(WorkerReport&)>;

  // deliver runs on the loop's thread for each report. The mailbox may be destroyed while a task of it is
  // still queued on the loop; Close makes such tasks do nothing.
  static std::shared_ptr<WorkerMailbox> Create(platform::EventLoop& loop, Deliver deliver);

  // Any thread. Without wake the report waits for the next Flush or the next Append that wakes.
  void Append(WorkerReport report, bool wake = true);
  // Any thread: makes sure a task will deliver what has been appended.
  void Flush();
  // Window thread: reports not yet delivered are dropped, and so is everything appended later.
  void Close();

 private:
  WorkerMailbox(platform::EventLoop& loop, Deliver deliver);
  static void Drain(const std::shared_ptr<WorkerMailbox>& self);

  platform::EventLoop& loop_;
  Deliver deliver_;
  std::weak_ptr<WorkerMailbox> weakSelf_;
  std::mutex mutex_;
  std::deque<WorkerReport> reports_;  // appended by the workers
  bool drainQueued_ = false;          // a drain task sits in the loop's queue and has not started yet
  bool closed_ = false;               // written on the loop's thread only

  // The loop's thread only: reports taken over from reports_ in one go, so that the worker appending the
  // next chunk and the window thread delivering this one do not take turns at the lock per report.
  std::deque<WorkerReport> inHand_;
};

}  // namespace serial
