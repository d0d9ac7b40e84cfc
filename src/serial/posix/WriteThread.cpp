#include "serial/posix/WriteThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <system_error>

namespace serial {

TWriteThread::TWriteThread(PortChannel& channel)
    : channel_(channel), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!wake_.Valid()) throw std::system_error(errno, std::generic_category(), "eventfd");
  thread_ = std::thread([this] { Run(); });
}

TWriteThread::~TWriteThread() {
  if (thread_.joinable()) thread_.join();
}

bool TWriteThread::Queue(std::string bytes) {
  if (ended_.load()) return false;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(bytes));
  }
  const uint64_t one = 1;
  return ::write(wake_.Get(), &one, sizeof one) == sizeof one;
}

std::optional<std::string> TWriteThread::Take() {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) return std::nullopt;
  std::string next = std::move(queue_.front());
  queue_.pop_front();
  return next;
}

void TWriteThread::Run() {
  bool notifyWhenEmpty = true;
  for (;;) {
    std::optional<std::string> request = Take();
    if (!request) {
      if (notifyWhenEmpty) channel_.Notifier().SendDataEmpty();
      notifyWhenEmpty = false;
      pollfd fds[2] = {{channel_.CloseEvent(), POLLIN, 0}, {wake_.Get(), POLLIN, 0}};
      int n;
      do {
        n = ::poll(fds, 2, -1);
      } while (n < 0 && errno == EINTR);
      if (n < 0) {
        channel_.ReportHangup();
        break;
      }
      if (fds[0].revents != 0) break;
      // Reset the wake-up counter before looking at the queue again: a request queued after this read
      // raises it anew, so none is missed.
      uint64_t count = 0;
      [[maybe_unused]] ssize_t got = ::read(wake_.Get(), &count, sizeof count);
      continue;
    }
    if (WaitForPort(channel_, 0, 0) == PortWait::Closed) break;
    if (!WriteAll(*request)) break;
    notifyWhenEmpty = true;
  }
  ended_.store(true);
}

bool TWriteThread::WriteAll(const std::string& bytes) {
  using Clock = std::chrono::steady_clock;
  PortTimeouts& timeouts = channel_.Timeouts();
  const uint64_t totalMs = uint64_t{timeouts.WriteTotalTimeoutMultiplier.load()} * bytes.size() +
                           timeouts.WriteTotalTimeoutConstant.load();
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(totalMs);

  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(channel_.Port(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    const int error = n < 0 ? errno : 0;
    if (n < 0 && error == EINTR) continue;
    if (n < 0 && error == EBADF) return false;
    if (n < 0 && error == EAGAIN) {
      int64_t waitNs = -1;
      if (totalMs != 0) {
        waitNs = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now()).count();
        if (waitNs < 0) waitNs = 0;
      }
      switch (WaitForPort(channel_, POLLOUT, waitNs)) {
        case PortWait::Ready:
          continue;
        case PortWait::Closed:
        case PortWait::PortInvalid:
          return false;
        case PortWait::Failed:  // reported below, as a line that cannot be watched is lost
        case PortWait::TimedOut:
          break;  // the write time-out ran out with bytes left: a short write
      }
    }
    // Nothing written and no way to go on (EIO, ENXIO, a hung-up line, a write time-out): the rest of the
    // request is never retried.
    channel_.ReportHangup();
    return false;
  }
  return true;
}

}  // namespace serial
