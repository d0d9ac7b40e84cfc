// The open port on Windows: a COM port opened for sole, overlapped use, its control block and time-outs, a
// close event, and the two worker threads that wait on it beside their own operations.
#include <windows.h>

#include <memory>
#include <string>
#include <system_error>

#include "serial/CommPort.h"
#include "serial/win32/DcbSettings.h"
#include "serial/win32/PortChannel.h"
#include "serial/win32/ReadThread.h"
#include "serial/win32/UniqueHandle.h"
#include "serial/win32/WriteThread.h"

namespace serial {
namespace {

constexpr DWORD kInputQueueBytes = 2048;
constexpr DWORD kOutputQueueBytes = 1024;

OpenFailure FailureOfOpen(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return OpenFailure::NoSuchDevice;
    // Windows answers a port that another program holds with "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return OpenFailure::InUse;
    default:
      return OpenFailure::Other;
  }
}

// Port names are ASCII ("\\.\COM12"); anything else is taken in the system's code page, as the name of a
// device would have been typed there.
std::wstring Widen(const std::string& text) {
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

class Win32CommPort final : public CommPort {
 public:
  explicit Win32CommPort(UniqueHandle port) : port_(std::move(port)) {}

  ~Win32CommPort() override {
    // The close event wins every later wait of both workers; each then ends its own outstanding operations
    // (Wine's purge would not end a pending read) and leaves.
    if (channel_) {
      channel_->SignalClose();
      ::PurgeComm(port_.Get(), PURGE_RXABORT | PURGE_RXCLEAR);
      reader_.reset();
      ::PurgeComm(port_.Get(), PURGE_TXABORT | PURGE_TXCLEAR);
      writer_.reset();
    }
  }

  uint32_t Handle() const override { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(port_.Get())); }

  void ApplyLine(const LineRequest& line) override {
    DCB current{};
    current.DCBlength = sizeof(DCB);
    ::GetCommState(port_.Get(), &current);
    DCB wanted = BuildDcb(line, current);
    ::SetCommState(port_.Get(), &wanted);
  }

  void ApplyTimeouts(const CommTimeouts& timeouts) override {
    COMMTIMEOUTS wanted = BuildCommTimeouts(timeouts);
    ::SetCommTimeouts(port_.Get(), &wanted);
  }

  bool Write(std::string bytes) override { return writer_ && writer_->Queue(std::move(bytes)); }

  void Start(const LineRequest& line, const CommTimeouts& timeouts, CommNotifier& notifier) {
    ::PurgeComm(port_.Get(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    ApplyTimeouts(timeouts);
    ApplyLine(line);
    try {
      channel_ = std::make_unique<PortChannel>(port_.Get(), notifier);
    } catch (const std::system_error&) {
      throw ECommsError("Unable to create event");
    }
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
  UniqueHandle port_;  // closed last, once both workers have ended
  std::unique_ptr<PortChannel> channel_;
  std::unique_ptr<TReadThread> reader_;
  std::unique_ptr<TWriteThread> writer_;
};

}  // namespace

std::unique_ptr<CommPort> CommPort::Open(const std::string& path, const LineRequest& line,
                                         const CommTimeouts& timeouts, CommNotifier& notifier) {
  UniqueHandle port(::CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr));
  if (!port.Valid()) throw ECommsError("Error opening serial port", FailureOfOpen(::GetLastError()));
  if (::GetFileType(port.Get()) != FILE_TYPE_CHAR) {
    throw ECommsError("File handle is not a comm handle ", OpenFailure::NotATerminal);
  }
  if (!::SetupComm(port.Get(), kInputQueueBytes, kOutputQueueBytes))
    throw ECommsError("Cannot setup comm buffer");
  // A failure from here on destroys the port, which stops what was started and closes the handle.
  auto comm = std::make_unique<Win32CommPort>(std::move(port));
  comm->Start(line, timeouts, notifier);
  return comm;
}

}  // namespace serial
