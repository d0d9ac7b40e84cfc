#include "serial/Comm.h"

#include <system_error>

#include "serial/PortChannel.h"
#include "serial/PortDevice.h"
#include "serial/PortNames.h"
#include "serial/ReadThread.h"
#include "serial/WorkerMailbox.h"
#include "serial/WriteThread.h"

namespace serial {

// The workers' reports go through the mailbox, which delivers them on the window thread in the order they
// were made; one that comes up after ClosePort is still delivered, none after the component is gone.
class TComm::Notifier final : public CommNotifier {
 public:
  explicit Notifier(WorkerMailbox& mailbox) : mailbox_(mailbox) {}

  void ReceiveData(std::string bytes) override {
    mailbox_.Append({WorkerReport::Kind::ReceiveData, 0, std::move(bytes)}, false);
  }
  void FlushData() override { mailbox_.Flush(); }
  void ReceiveError(uint32_t errorFlags) override {
    mailbox_.Append({WorkerReport::Kind::ReceiveError, errorFlags, {}});
  }
  void ModemStateChange(uint32_t modemBits) override {
    mailbox_.Append({WorkerReport::Kind::ModemStateChange, modemBits, {}});
  }
  void RequestHangup() override { mailbox_.Append({WorkerReport::Kind::RequestHangup, 0, {}}); }
  void SendDataEmpty() override { mailbox_.Append({WorkerReport::Kind::SendDataEmpty, 0, {}}); }

 private:
  WorkerMailbox& mailbox_;
};

TComm::TComm(platform::EventLoop& loop)
    : ResolvePath([](const std::string& name) { return ResolveDevicePath(name, {}); }),
      mailbox_(WorkerMailbox::Create(loop, [this](WorkerReport& report) { Deliver(report); })),
      notifier_(std::make_unique<Notifier>(*mailbox_)) {
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
  mailbox_->Close();
}

void TComm::Deliver(WorkerReport& report) {
  switch (report.kind) {
    case WorkerReport::Kind::ReceiveData:
      // std::string keeps a zero byte after its data, the terminator handlers may rely on.
      if (OnReceiveData)
        OnReceiveData(this, report.bytes.c_str(), static_cast<uint16_t>(report.bytes.size()));
      return;
    case WorkerReport::Kind::ReceiveError:
      if (OnReceiveError) OnReceiveError(this, report.value);
      return;
    case WorkerReport::Kind::ModemStateChange:
      if (OnModemStateChange) OnModemStateChange(this, report.value);
      return;
    case WorkerReport::Kind::RequestHangup:
      if (OnRequestHangup) OnRequestHangup(this);
      return;
    case WorkerReport::Kind::SendDataEmpty:
      if (OnSendDataEmpty) OnSendDataEmpty(this);
      return;
  }
}

void TComm::OpenPort() {
  if (port_.Valid()) throw ECommsError("This serial port already opened");

  OpenedDevice device = OpenSerialDevice(ResolvePath ? ResolvePath(CommName) : CommName);
  if (device.failure == OpenFailure::NotATerminal) {
    throw ECommsError("File handle is not a comm handle ", OpenFailure::NotATerminal);
  }
  if (device.failure != OpenFailure::None) throw ECommsError("Error opening serial port", device.failure);

  PurgePort(device.fd.Get());
  try {
    channel_ = std::make_unique<PortChannel>(device.fd.Get(), *notifier_);
  } catch (const std::system_error&) {
    CloseSerialDevice(std::move(device.fd));
    throw ECommsError("Unable to create event");
  }
  port_ = std::move(device.fd);
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
  if (!port_.Valid()) return;
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
  CloseSerialDevice(std::move(port_));
}

bool TComm::WriteData(const void* Buffer, uint16_t Length) {
  if (!writer_ || Length == 0) return false;
  return writer_->Queue(std::string(static_cast<const char*>(Buffer), Length));
}

void TComm::ApplyCommState() {
  const int fd = port_.Get();
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

void ApplyStoredDesign(TComm& comm) {
  comm.CommName = "COM1";
  comm.SetBaudRate(9600);
  comm.SetParityCheck(false);
  comm.SetOutx_CtsFlow(false);
  comm.SetOutx_DsrFlow(false);
  comm.SetDtrControl(TDtrControl::DtrDisable);
  comm.SetDsrSensitivity(false);
  comm.SetTxContinueOnXoff(false);
  comm.SetOutx_XonXoffFlow(false);
  comm.SetInx_XonXoffFlow(false);
  comm.SetReplaceWhenParityError(false);
  comm.SetIgnoreNullChar(false);
  comm.SetRtsControl(TRtsControl::RtsDisable);
  comm.SetXonLimit(10);
  comm.SetXoffLimit(10);
  comm.SetByteSize(TByteSize::_8);
  comm.Parity = TParity::None;
  comm.SetStopBits(TStopBits::_1);
  comm.SetXonChar(17);
  comm.SetXoffChar(19);
  comm.SetReplacedChar(0);
  comm.SetReadIntervalTimeout(20);
}

}  // namespace serial
