#include "serial/Comm.h"

#include <system_error>

#include "serial/PortChannel.h"
#include "serial/PortDevice.h"
#include "serial/PortNames.h"
#include "serial/ReadThread.h"
#include "serial/WriteThread.h"

namespace serial {

// Turns the workers' reports into tasks of the window thread's loop. Each task carries its data by value and
// holds the component only weakly, so a task that comes up after the component is gone does nothing, while
// one that comes up after ClosePort is still delivered.
class TComm::Notifier final : public CommNotifier {
 public:
  Notifier(platform::EventLoop& loop, const std::shared_ptr<TComm*>& self) : loop_(loop), self_(self) {}

  void ReceiveData(std::string bytes) override {
    Post([bytes = std::move(bytes)](TComm* comm) {
      // std::string keeps a zero byte after its data, the terminator handlers may rely on.
      if (comm->OnReceiveData) comm->OnReceiveData(comm, bytes.c_str(), static_cast<uint16_t>(bytes.size()));
    });
  }
  void ReceiveError(uint32_t errorFlags) override {
    Post([errorFlags](TComm* comm) {
      if (comm->OnReceiveError) comm->OnReceiveError(comm, errorFlags);
    });
  }
  void ModemStateChange(uint32_t modemBits) override {
    Post([modemBits](TComm* comm) {
      if (comm->OnModemStateChange) comm->OnModemStateChange(comm, modemBits);
    });
  }
  void RequestHangup() override {
    Post([](TComm* comm) {
      if (comm->OnRequestHangup) comm->OnRequestHangup(comm);
    });
  }
  void SendDataEmpty() override {
    Post([](TComm* comm) {
      if (comm->OnSendDataEmpty) comm->OnSendDataEmpty(comm);
    });
  }

 private:
  template <class F>
  void Post(F deliver) {
    loop_.Post([self = self_, deliver = std::move(deliver)] {
      if (std::shared_ptr<TComm*> alive = self.lock()) deliver(*alive);
    });
  }

  platform::EventLoop& loop_;
  std::weak_ptr<TComm*> self_;
};

TComm::TComm(platform::EventLoop& loop)
    : ResolvePath([](const std::string& name) { return ResolveDevicePath(name, {}); }),
      loop_(loop),
      self_(std::make_shared<TComm*>(this)),
      notifier_(std::make_unique<Notifier>(loop, self_)) {
  line_.BaudRate = 9600;
  line_.ParityCheck = false;
  line_.Outx_CtsFlow = true;
  line_.RtsControl = TRtsControl::RtsEnable;
  line_.Outx_XonXoffFlow = false;
  line_.Inx_XonXoffFlow = false;
  line_.ByteSize = TByteSize::_8;
  line_.StopBits = TStopBits::_1;
  line_.XonChar = 17;
  line_.XoffChar = 19;
}

TComm::~TComm() {
  ClosePort();
  self_.reset();
}

void TComm::OpenPort() {
  if (comHandle_ != 0) throw ECommsError("This serial port already opened");

  OpenedDevice device = OpenSerialDevice(ResolvePath ? ResolvePath(CommName) : CommName);
  if (device.failure == OpenFailure::NotATerminal) throw ECommsError("File handle is not a comm handle ");
  if (device.failure != OpenFailure::None) throw ECommsError("Error opening serial port");

  const int fd = device.fd.Get();
  PurgePort(fd);
  try {
    channel_ = std::make_unique<PortChannel>(fd, *notifier_);
  } catch (const std::system_error&) {
    CloseSerialDevice(std::move(device.fd));
    throw ECommsError("Unable to create event");
  }
  comHandle_ = static_cast<uint32_t>(device.fd.Release());
  ApplyCommTimeouts();
  ApplyCommState();

  try {
    reader_ = std::make_unique<TReadThread>(*channel_);
  } catch (const std::system_error&) {
    Release();
    throw ECommsError("Unable to create read thread");
  }
  try {
    writer_ = std::make_unique<TWriteThread>(*channel_);
  } catch (const std::system_error&) {
    Release();
    throw ECommsError("Unable to create write thread");
  }
}

void TComm::ClosePort() {
  if (comHandle_ == 0) return;
  Release();
}

void TComm::Release() {
  // The close signal wakes every wait of both workers, the purge drops what a stuck write would still send;
  // then each thread leaves at its next look at the signal.
  channel_->SignalClose();
  PurgePort(channel_->Port());
  reader_.reset();
  writer_.reset();
  channel_.reset();
  CloseSerialDevice(UniqueFd(static_cast<int>(comHandle_)));
  comHandle_ = 0;
}

bool TComm::WriteData(const void* Buffer, uint16_t Length) {
  if (!writer_ || Length == 0) return false;
  return writer_->Queue(std::string(static_cast<const char*>(Buffer), Length));
}

void TComm::ApplyCommState() {
  const int fd = static_cast<int>(comHandle_);
  // Rejected settings are not reported: the port keeps what the driver accepted, as it always did.
  if (std::optional<KernelTermios> current = ReadLineSettings(fd)) {
    LineRequest request = line_;
    request.Parity = Parity;
    WriteLineSettings(fd, BuildLineSettings(request, *current));
    ReadLineSettings(fd);  // what the driver made of it; nothing to act on
  }
  ApplyModemLines(fd, dtrControl_, line_.RtsControl);
}

void TComm::ApplyCommTimeouts() {
  PortTimeouts& timeouts = channel_->Timeouts();
  timeouts.ReadIntervalTimeout = readIntervalTimeout_;
  timeouts.ReadTotalTimeoutMultiplier = readTotalTimeoutMultiplier_;
  timeouts.ReadTotalTimeoutConstant = readTotalTimeoutConstant_;
  timeouts.WriteTotalTimeoutMultiplier = writeTotalTimeoutMultiplier_;
  timeouts.WriteTotalTimeoutConstant = writeTotalTimeoutConstant_;
}

}  // namespace serial
