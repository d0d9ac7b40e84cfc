#include "serial/posix/ReadThread.h"

#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "serial/CommTypes.h"

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

// How often the reader looks at the driver's error and modem counters while the line is idle. The counters
// cannot be waited on together with the close signal (TIOCMIWAIT would block past ClosePort), so they are
// sampled; a carrier change is reported within this time.
constexpr int64_t LineEventPollNs = 100'000'000;

// Line errors and modem changes as the driver counts them. Pseudo-terminals and some USB adapters keep no
// counters; then there are no line events at all.
class LineEventWatch {
 public:
  explicit LineEventWatch(int fd) : fd_(fd) { available_ = ::ioctl(fd_, TIOCGICOUNT, &last_) == 0; }
  bool Available() const { return available_; }

  void Check(CommNotifier& notifier) {
    if (!available_) return;
    serial_icounter_struct now{};
    if (::ioctl(fd_, TIOCGICOUNT, &now) != 0) return;
    const serial_icounter_struct& was = last_;
    uint32_t errors = 0;
    if (now.buf_overrun != was.buf_overrun) errors |= LineErrorRxOver;
    if (now.overrun != was.overrun) errors |= LineErrorOverrun;
    if (now.parity != was.parity) errors |= LineErrorRxParity;
    if (now.frame != was.frame) errors |= LineErrorFrame;
    if (now.brk != was.brk) errors |= LineErrorBreak;
    uint32_t modem = 0;
    if (now.dcd != was.dcd) modem |= ModemCarrierChanged;
    if (now.rng != was.rng) modem |= ModemRing;
    last_ = now;
    if (errors != 0) notifier.ReceiveError(errors);
    if (modem != 0) notifier.ModemStateChange(modem);
  }

 private:
  int fd_;
  serial_icounter_struct last_{};
  bool available_ = false;
};

enum class ReadOutcome { Data, TryAgain, HungUp, Invalid };

// Bytes taken from the driver ahead of the chunk being gathered. A pseudo-terminal or a fast adapter hands
// over up to 4 KiB per read; taking them in one system call and cutting them into chunks here gives the same
// chunks as four reads of 1024 would.
class StagedReader {
 public:
  explicit StagedReader(int fd) : fd_(fd) {}

  bool Empty() const { return at_ == size_; }

  // Moves staged bytes into chunk; returns how many.
  size_t TakeInto(std::string& chunk, size_t have) {
    const size_t n = std::min(size_ - at_, TReadThread::ChunkSize - have);
    std::memcpy(chunk.data() + have, buffer_ + at_, n);
    at_ += n;
    return n;
  }

  ReadOutcome Fill() {
    const ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
    if (n > 0) {
      at_ = 0;
      size_ = static_cast<size_t>(n);
      return ReadOutcome::Data;
    }
    // A tty read of nothing with VMIN 1 means the line was hung up (an unplugged USB adapter, a closed
    // pseudo-terminal master); it is not "no data yet", which comes back as EAGAIN.
    if (n == 0) return ReadOutcome::HungUp;
    const int error = errno;
    if (error == EAGAIN || error == EINTR) return ReadOutcome::TryAgain;
    if (error == EBADF) return ReadOutcome::Invalid;
    return ReadOutcome::HungUp;  // EIO, ENXIO and anything else: the device is gone
  }

 private:
  int fd_;
  char buffer_[4 * TReadThread::ChunkSize];
  size_t at_ = 0;
  size_t size_ = 0;
};

int64_t NsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now()).count();
  return left > 0 ? left : 0;
}

}  // namespace

TReadThread::TReadThread(PortChannel& channel) : channel_(channel), thread_([this] { Run(); }) {}

TReadThread::~TReadThread() {
  if (thread_.joinable()) thread_.join();
}

void TReadThread::Run() {
  const int fd = channel_.Port();
  CommNotifier& notifier = channel_.Notifier();
  PortTimeouts& timeouts = channel_.Timeouts();
  LineEventWatch lineEvents(fd);
  StagedReader input(fd);
  // Chunks completed before the thread ends are delivered, however it ends.
  struct FlushAtEnd {
    CommNotifier& notifier;
    ~FlushAtEnd() { notifier.FlushData(); }
  } flushAtEnd{notifier};
  constexpr int MaxHeldBack = 8;
  int heldBack = 0;
  // The time of the last read that brought bytes. It outlives the chunk: bytes staged from the read that
  // filled the previous chunk arrived then, so the quiet gap that ends the next chunk counts from there.
  Clock::time_point lastByte{};

  for (;;) {
    std::string chunk(ChunkSize, '\0');
    size_t have = 0;
    Clock::time_point totalDeadline = Clock::time_point::max();  // max: no total time-out
    bool hungUp = false;
    // After a read that filled the buffer, read again straight away: a busy line then costs one system call
    // per read instead of two. After a shorter one the driver has most likely been emptied, and a read would
    // only come back with nothing, so wait first.
    bool readFirst = !channel_.Closing();

    while (have < ChunkSize) {
      if (!input.Empty()) {
        if (have == 0) {
          const uint64_t total = uint64_t{timeouts.ReadTotalTimeoutMultiplier.load()} * ChunkSize +
                                 timeouts.ReadTotalTimeoutConstant.load();
          totalDeadline = total != 0 ? lastByte + std::chrono::milliseconds(total) : Clock::time_point::max();
        }
        have += input.TakeInto(chunk, have);
        continue;
      }

      if (!readFirst) {
        int64_t waitNs = -1;
        if (have > 0) {
          const auto interval = std::chrono::milliseconds(timeouts.ReadIntervalTimeout.load());
          waitNs = NsUntil(std::min(lastByte + interval, totalDeadline));
        } else if (lineEvents.Available()) {
          waitNs = LineEventPollNs;
        }
        if (heldBack > 0) {
          notifier.FlushData();
          heldBack = 0;
        }
        const PortWait wait = WaitForPort(channel_, POLLIN, waitNs);
        if (wait == PortWait::Closed || wait == PortWait::PortInvalid) return;  // gathered bytes are purged
        if (wait == PortWait::Failed) {
          hungUp = true;
          break;
        }
        lineEvents.Check(notifier);
        if (wait == PortWait::TimedOut) {
          if (have > 0) break;
          continue;
        }
      }

      const ReadOutcome outcome = input.Fill();
      readFirst = outcome == ReadOutcome::Data;
      if (outcome == ReadOutcome::Invalid) return;
      if (outcome == ReadOutcome::HungUp) {
        hungUp = true;
        break;
      }
      if (outcome == ReadOutcome::Data) lastByte = Clock::now();
    }

    // Whatever arrived before a hang-up still reaches the window.
    if (have > 0) {
      chunk.resize(have);
      notifier.ReceiveData(std::move(chunk));
      // A line that never pauses still reaches the window every few chunks.
      if (++heldBack == MaxHeldBack) {
        notifier.FlushData();
        heldBack = 0;
      }
    }
    if (hungUp) {
      channel_.ReportHangup();
      return;
    }
  }
}

}  // namespace serial
