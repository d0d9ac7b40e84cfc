#include "serial/WorkerMailbox.h"

#include <algorithm>
#include <iterator>

namespace serial {

std::shared_ptr<WorkerMailbox> WorkerMailbox::Create(platform::EventLoop& loop, Deliver deliver) {
  std::shared_ptr<WorkerMailbox> mailbox(new WorkerMailbox(loop, std::move(deliver)));
  mailbox->weakSelf_ = mailbox;
  return mailbox;
}

WorkerMailbox::WorkerMailbox(platform::EventLoop& loop, Deliver deliver)
    : loop_(loop), deliver_(std::move(deliver)) {}

void WorkerMailbox::Append(WorkerReport report, bool wake) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    reports_.push_back(std::move(report));
    if (!wake || drainQueued_) return;  // the queued task will take this one too: no wake-up needed
    drainQueued_ = true;
  }
  loop_.Post([self = weakSelf_.lock()] { Drain(self); });
}

void WorkerMailbox::Flush() {
  {
    std::lock_guard lock(mutex_);
    if (closed_ || reports_.empty() || drainQueued_) return;
    drainQueued_ = true;
  }
  loop_.Post([self = weakSelf_.lock()] { Drain(self); });
}

void WorkerMailbox::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  reports_.clear();
  inHand_.clear();
}

void WorkerMailbox::Drain(const std::shared_ptr<WorkerMailbox>& self) {
  WorkerMailbox& box = *self;
  {
    std::lock_guard lock(box.mutex_);
    box.drainQueued_ = false;
    // What an outer drain still holds came first, so the newer reports go behind it.
    if (box.inHand_.empty()) {
      box.inHand_.swap(box.reports_);
    } else {
      std::move(box.reports_.begin(), box.reports_.end(), std::back_inserter(box.inHand_));
      box.reports_.clear();
    }
  }
  // Only what is in hand now: reports that keep coming on a busy line wait behind the tasks and timer ticks
  // that came up meanwhile, so the window is never starved by its own port.
  bool followUpChecked = false;
  for (size_t budget = box.inHand_.size(); budget > 0; --budget) {
    if (box.closed_ || box.inHand_.empty()) return;  // closed, or an inner loop took the rest
    WorkerReport report = std::move(box.inHand_.front());
    box.inHand_.pop_front();
    // Should this report's handler run an inner loop, a queued task lets that loop deliver the next ones.
    if (!followUpChecked && !box.inHand_.empty()) {
      followUpChecked = true;
      bool queueFollowUp = false;
      {
        std::lock_guard lock(box.mutex_);
        queueFollowUp = !box.drainQueued_;
        box.drainQueued_ = true;
      }
      if (queueFollowUp) box.loop_.Post([self] { Drain(self); });
    }
    box.deliver_(report);
  }
}

}  // namespace serial
