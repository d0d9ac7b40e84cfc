// The open port on a POSIX system: a tty descriptor held for sole use, an eventfd as the close signal, and
// two threads that wait on both with poll.
#include <memory>
#include <optional>
#include <system_error>

#include "serial/CommPort.h"
#include "serial/posix/LineSettings.h"
#include "serial/posix/PortChannel.h"
#include "serial/posix/PortDevice.h"
#include "serial/posix/ReadThread.h"
#include "serial/posix/WriteThread.h"

namespace serial {
namespace {

class PosixCommPort final : public CommPort {
 public:
  explicit PosixCommPort(platform::UniqueFd fd) : fd_(std::move(fd)) {}

  ~PosixCommPort() override {
    // The close signal wakes every wait of both workers, the purge drops what a stuck write would still
    // send; then each thread leaves at its next look at the signal.
    if (channel_) {
      channel_->SignalClose();
      PurgePort(fd_.Get());
    }
    reader_.reset();
    writer_.reset();
    channel_.reset();
    CloseSerialDevice(std::move(fd_));
  }

  uint32_t Handle() const override { return static_cast<uint32_t>(fd_.Get()); }

  void ApplyLine(const LineRequest& line) override {
    const int fd = fd_.Get();
    if (std::optional<KernelTermios> current = ReadLineSettings(fd)) {
      WriteLineSettings(fd, BuildLineSettings(line, *current));
      ReadLineSettings(fd);  // what the driver made of it; nothing to act on
    }
    ApplyModemLines(fd, line.DtrControl, line.RtsControl);
  }

  void ApplyTimeouts(const CommTimeouts& timeouts) override {
    PortTimeouts& shared = channel_->Timeouts();
    shared.ReadIntervalTimeout = timeouts.ReadIntervalTimeout;
    shared.ReadTotalTimeoutMultiplier = timeouts.ReadTotalTimeoutMultiplier;
    shared.ReadTotalTimeoutConstant = timeouts.ReadTotalTimeoutConstant;
    shared.WriteTotalTimeoutMultiplier = timeouts.WriteTotalTimeoutMultiplier;
    shared.WriteTotalTimeoutConstant = timeouts.WriteTotalTimeoutConstant;
  }

  bool Write(std::string bytes) override { return writer_ && writer_->Queue(std::move(bytes)); }

  void Start(const LineRequest& line, const CommTimeouts& timeouts, CommNotifier& notifier) {
    PurgePort(fd_.Get());
    try {
      channel_ = std::make_unique<PortChannel>(fd_.Get(), notifier);
    } catch (const std::system_error&) {
      throw ECommsError("Unable to create event");
    }
    ApplyTimeouts(timeouts);
    ApplyLine(line);
    try {
      reader_ = std::make_unique<TReadThread>(*channel_);
    } catch (const std::system_error&) {
      throw ECommsError("Unable to create read thread");
    }
    try {
      writer_ = std::make_unique<TWriteThread>(*channel_);
    } catch (const std::system_error&) {
      throw ECommsError("Unable to create write thread");
    }
  }

 private:
  platform::UniqueFd fd_;  // closed last, once both workers have ended
  std::unique_ptr<PortChannel> channel_;
  std::unique_ptr<TReadThread> reader_;
  std::unique_ptr<TWriteThread> writer_;
};

}  // namespace

std::unique_ptr<CommPort> CommPort::Open(const std::string& path, const LineRequest& line,
                                         const CommTimeouts& timeouts, CommNotifier& notifier) {
  OpenedDevice device = OpenSerialDevice(path);
  if (device.failure == OpenFailure::NotATerminal) {
    throw ECommsError("File handle is not a comm handle ", OpenFailure::NotATerminal);
  }
  if (device.failure != OpenFailure::None) throw ECommsError("Error opening serial port", device.failure);
  // A failure from here on destroys the port, which stops what was started and closes the device.
  auto port = std::make_unique<PosixCommPort>(std::move(device.fd));
  port->Start(line, timeouts, notifier);
  return port;
}

}  // namespace serial
