#pragma once
// What the component shares with its worker threads while a port is open: the descriptor, the close signal,
// the time-outs, and the way back to the window thread. Nothing here touches the component's properties.

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/UniqueFd.h"
#include "serial/CommNotifier.h"

namespace serial {

struct PortTimeouts {
  std::atomic<uint32_t> ReadIntervalTimeout{0};
  std::atomic<uint32_t> ReadTotalTimeoutMultiplier{0};
  std::atomic<uint32_t> ReadTotalTimeoutConstant{0};
  std::atomic<uint32_t> WriteTotalTimeoutMultiplier{0};
  std::atomic<uint32_t> WriteTotalTimeoutConstant{0};
};

class PortChannel {
 public:
  // Uses the open port, which stays with the component and open while the channel lives; creates and owns
  // the close signal. Throws std::system_error when no eventfd can be had.
  PortChannel(int portFd, CommNotifier& notifier);

  int Port() const { return port_; }
  int CloseEvent() const { return closeEvent_.Get(); }
  CommNotifier& Notifier() const { return notifier_; }
  PortTimeouts& Timeouts() { return timeouts_; }

  // Window thread: wakes every worker wait for good.
  void SignalClose();
  // Cheap look at the close signal for a worker that is about to skip its wait.
  bool Closing() const { return closing_.load(); }

  // A port that has gone away is reported once per open, whichever worker finds out first.
  void ReportHangup();

 private:
  int port_;
  platform::UniqueFd closeEvent_;
  CommNotifier& notifier_;
  PortTimeouts timeouts_;
  std::atomic<bool> hangupReported_{false};
  std::atomic<bool> closing_{false};
};

// Waits on the port and the close signal together. Result of one wait. Failed: the wait itself failed,
// which a worker takes for a hang-up, as the port cannot be watched any more.
enum class PortWait { Ready, Closed, TimedOut, PortInvalid, Failed };

// events: POLLIN or POLLOUT. timeoutNs < 0 waits without limit.
PortWait WaitForPort(const PortChannel& channel, short events, int64_t timeoutNs);

}  // namespace serial
