#include "PtyDtu.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace dtusim {
namespace {

// While no one has the slave open the master reports a hang-up at once on every poll, so the thread looks
// again at this pace instead of spinning.
constexpr int kClosedLineProbeMs = 20;

[[noreturn]] void ThrowErrno(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

std::string Describe(const LineFormat& line) {
  return std::to_string(line.baudRate) + " " + std::to_string(line.dataBits) + line.parity +
         std::to_string(line.stopBits);
}

}  // namespace

std::string EscapeForLog(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

PtyDtu::PtyDtu(DtuSimulator simulator, Options options)
    : options_(std::move(options)), sim_(std::move(simulator)) {
  // O_NOCTTY: the simulator must never make the line its controlling terminal. Whatever throws below, the
  // start of the serving thread included, leaves the descriptors to their owners, which close them.
  master_.Reset(posix_openpt(O_RDWR | O_NOCTTY));
  if (!master_.Valid()) ThrowErrno("posix_openpt");
  const int master = master_.Get();
  if (fcntl(master, F_SETFD, FD_CLOEXEC) != 0) ThrowErrno("fcntl");
  if (fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) ThrowErrno("fcntl");
  if (grantpt(master) != 0) ThrowErrno("grantpt");
  if (unlockpt(master) != 0) ThrowErrno("unlockpt");
  char path[128];
  if (ptsname_r(master, path, sizeof path) != 0) ThrowErrno("ptsname_r");
  slavePath_ = path;
  // A master whose slave was never opened reports nothing, one whose slave was closed reports a hang-up.
  // Opening and closing the slave once puts the line in the second state, so the tool's first open is seen
  // like any other.
  platform::UniqueFd slave(open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!slave.Valid()) ThrowErrno("open slave");
  slave.Reset();
  wake_.Reset(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!wake_.Valid()) ThrowErrno("eventfd");
  thread_ = std::thread([this] { Serve(); });
}

PtyDtu::~PtyDtu() { Stop(); }

void PtyDtu::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  Wake();
  // A logger that stops the DTU runs on the serving thread, which then ends by itself.
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void PtyDtu::Unplug() {
  Stop();
  if (!master_.Valid()) return;
  master_.Reset();
  std::vector<LogEntry> log{{LogKind::Note, "unplugged"}};
  Emit(log);
}

void PtyDtu::SendPowerOn() {
  {
    std::lock_guard lock(mutex_);
    Schedule(sim_.PowerOn());
  }
  Wake();
}

void PtyDtu::SendRaw(std::string bytes, uint32_t delayMs) {
  {
    std::lock_guard lock(mutex_);
    Schedule({{delayMs, std::move(bytes), sim_.Line()}});
  }
  Wake();
}

void PtyDtu::Change(const std::function<void(DtuSimulator&)>& change) {
  std::lock_guard lock(mutex_);
  change(sim_);
}

std::vector<std::string> PtyDtu::Received() const {
  std::lock_guard lock(mutex_);
  return sim_.received;
}

bool PtyDtu::WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return receivedChanged_.wait_for(lock, timeout, [&] { return sim_.received.size() >= count; });
}

DtuSettings PtyDtu::Settings() const {
  std::lock_guard lock(mutex_);
  return sim_.settings;
}

std::optional<SlaveLineSettings> PtyDtu::ToolLine() const {
  std::lock_guard lock(mutex_);
  return toolLine_;
}

void PtyDtu::Wake() const {
  const uint64_t one = 1;
  [[maybe_unused]] const auto written = write(wake_.Get(), &one, sizeof one);
}

void PtyDtu::Emit(std::vector<LogEntry>& log) const {
  if (options_.logger) {
    for (const auto& entry : log) options_.logger(entry.kind, entry.text);
  }
  log.clear();
}

// Each burst follows the one before it, so a command that arrives while replies are still pending is answered
// after them, as a module working through its commands one by one.
void PtyDtu::Schedule(const std::vector<Burst>& bursts) {
  auto due = std::max(Clock::now(), lastDue_);
  for (const auto& burst : bursts) {
    due += std::chrono::milliseconds(burst.delayMs);
    outgoing_.push_back({due, burst.bytes});
  }
  lastDue_ = due;
}

int PtyDtu::PollTimeoutMs() const {
  std::lock_guard lock(mutex_);
  if (stopping_) return 0;
  if (outgoing_.empty()) return -1;
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(outgoing_.front().due - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, 60'000));
}

void PtyDtu::Serve() {
  bool lineOpen = false;
  bool everOpened = false;
  bool writeBlocked = false;
  std::vector<LogEntry> log;
  for (;;) {
    if (!lineOpen) {
      pollfd probe{master_.Get(), POLLIN, 0};
      if (poll(&probe, 1, 0) >= 0 && (probe.revents & POLLHUP) == 0) {
        lineOpen = true;
        log.push_back({LogKind::Note, "the tool opened the line"});
        if (!everOpened && options_.bannerAfterFirstOpenMs) {
          std::lock_guard lock(mutex_);
          auto banner = sim_.PowerOn();
          if (!banner.empty()) banner[0].delayMs += *options_.bannerAfterFirstOpenMs;
          Schedule(banner);
        }
        everOpened = true;
      } else if (probe.revents & POLLIN) {
        ReadFromTool(log);  // what the tool wrote just before it closed the line
      }
    }
    Emit(log);
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
    }
    int timeout = PollTimeoutMs();
    if (!lineOpen) timeout = timeout < 0 ? kClosedLineProbeMs : std::min(timeout, kClosedLineProbeMs);
    pollfd fds[2] = {{wake_.Get(), POLLIN, 0},
                     {master_.Get(), static_cast<short>(POLLIN | (writeBlocked ? POLLOUT : 0)), 0}};
    if (poll(fds, lineOpen ? 2 : 1, timeout) < 0 && errno != EINTR) {
      log.push_back({LogKind::Note, std::string("poll failed: ") + std::strerror(errno)});
      Emit(log);
      return;
    }
    if (fds[0].revents & POLLIN) {
      uint64_t count = 0;
      [[maybe_unused]] const auto drained = read(wake_.Get(), &count, sizeof count);
    }
    if (lineOpen) {
      if (fds[1].revents & POLLOUT) writeBlocked = false;
      bool stillOpen = true;
      if (fds[1].revents & POLLIN) stillOpen = ReadFromTool(log);
      if (!stillOpen || (fds[1].revents & (POLLHUP | POLLERR)) != 0) {
        lineOpen = false;
        writeBlocked = false;
        log.push_back({LogKind::Note, "the tool closed the line"});
      }
    }
    WriteDue(lineOpen, writeBlocked, log);
  }
}

// Reads all the tool has sent; false when the slave has been closed.
bool PtyDtu::ReadFromTool(std::vector<LogEntry>& log) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(master_.Get(), buffer, sizeof buffer);
    if (n == 0) return false;
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno == EAGAIN || errno == EWOULDBLOCK;  // EIO: no slave open any more
    }
    const std::string_view bytes(buffer, static_cast<std::size_t>(n));
    log.push_back({LogKind::FromTool, std::string(bytes)});
    const auto tool = ReadSlaveLineSettings(master_.Get());
    std::lock_guard lock(mutex_);
    toolLine_ = tool;
    if (tool && tool->echoes) {
      // Not a raw line: what comes back may be the slave echoing the DTU's own words, and answering it would
      // start an endless exchange with ourselves.
      log.push_back({LogKind::Note, "ignored: the tool's line is not raw (it echoes)"});
      continue;
    }
    const LineFormat own = sim_.Line();
    LineFormat sentWith = own;
    if (tool) {
      sentWith.baudRate = tool->baudRate;
      sentWith.stopBits = tool->twoStopBits ? 2 : 1;
      if (tool->oddParity) {
        sentWith.parity = 'O';
      } else if (own.parity == 'O') {
        sentWith.parity = 'N';
      }
    }
    if (sentWith != own) {
      log.push_back({LogKind::Note, "garbled: the tool sends at " + Describe(sentWith) +
                                        ", the DTU listens at " + Describe(own)});
    }
    Schedule(sim_.Receive(bytes, sentWith));
    receivedChanged_.notify_all();
  }
}

void PtyDtu::WriteDue(bool lineOpen, bool& writeBlocked, std::vector<LogEntry>& log) {
  std::lock_guard lock(mutex_);
  const auto now = Clock::now();
  while (!writeBlocked && !outgoing_.empty() && outgoing_.front().due <= now) {
    auto& next = outgoing_.front();
    if (!lineOpen) {
      // A real line carries the bytes to no one when the PC port is closed.
      log.push_back({LogKind::Note, "lost, the line is closed: " + EscapeForLog(next.bytes)});
      outgoing_.pop_front();
      continue;
    }
    const ssize_t n = write(master_.Get(), next.bytes.data(), next.bytes.size());
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        writeBlocked = errno != EINTR;
        continue;
      }
      log.push_back({LogKind::Note, std::string("write failed: ") + std::strerror(errno)});
      outgoing_.pop_front();
      continue;
    }
    log.push_back({LogKind::ToTool, next.bytes.substr(0, static_cast<std::size_t>(n))});
    if (static_cast<std::size_t>(n) < next.bytes.size()) {
      next.bytes.erase(0, static_cast<std::size_t>(n));
      writeBlocked = true;
    } else {
      outgoing_.pop_front();
    }
  }
}

}  // namespace dtusim
