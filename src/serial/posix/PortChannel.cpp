#include "serial/posix/PortChannel.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace serial {

PortChannel::PortChannel(int portFd, CommNotifier& notifier)
    : port_(portFd), closeEvent_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), notifier_(notifier) {
  if (!closeEvent_.Valid()) throw std::system_error(errno, std::generic_category(), "eventfd");
}

void PortChannel::SignalClose() {
  closing_.store(true);
  const uint64_t one = 1;
  // The counter is never read back, so it stays readable and every later wait returns at once.
  [[maybe_unused]] ssize_t written = ::write(closeEvent_.Get(), &one, sizeof one);
}

void PortChannel::ReportHangup() {
  if (!hangupReported_.exchange(true)) notifier_.RequestHangup();
}

PortWait WaitForPort(const PortChannel& channel, short events, int64_t timeoutNs) {
  pollfd fds[2] = {{channel.CloseEvent(), POLLIN, 0}, {channel.Port(), events, 0}};
  timespec timeout{};
  if (timeoutNs >= 0) {
    timeout.tv_sec = static_cast<time_t>(timeoutNs / 1'000'000'000);
    timeout.tv_nsec = static_cast<long>(timeoutNs % 1'000'000'000);
  }
  for (;;) {
    const int n = ::ppoll(fds, 2, timeoutNs >= 0 ? &timeout : nullptr, nullptr);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return PortWait::Failed;
    if (n == 0) return PortWait::TimedOut;
    // The close signal wins over anything the port has to say, as the first handle of a wait list would.
    if (fds[0].revents != 0) return PortWait::Closed;
    if (fds[1].revents & POLLNVAL) return PortWait::PortInvalid;
    // POLLHUP and POLLERR count as ready too: the read or write that follows says what happened.
    return PortWait::Ready;
  }
}

}  // namespace serial
