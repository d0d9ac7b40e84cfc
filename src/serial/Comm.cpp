#include "serial/Comm.h"

#include "serial/CommNotifier.h"
#include "serial/CommPort.h"
#include "serial/PortNames.h"
#include "serial/WorkerMailbox.h"

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
  line_.Outx_DsrFlow = true;
  line_.DtrControl = TDtrControl::DtrEnable;
  line_.DsrSensitivity = false;
  line_.TxContinueOnXoff = true;
  line_.RtsControl = TRtsControl::RtsEnable;
  line_.Outx_XonXoffFlow = false;
  line_.Inx_XonXoffFlow = false;
  line_.ReplaceWhenParityError = false;
  line_.IgnoreNullChar = false;
  line_.XonLimit = 10;
  line_.XoffLimit = 10;
  line_.ByteSize = TByteSize::_8;
  line_.StopBits = TStopBits::_1;
  line_.XonChar = 17;
  line_.XoffChar = 19;
  line_.ReplacedChar = 0;
  timeouts_.ReadIntervalTimeout = 10;
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

uint32_t TComm::ComHandle() const { return port_ ? port_->Handle() : 0; }

LineRequest TComm::CurrentLineRequest() const {
  LineRequest request = line_;
  request.Parity = Parity;
  return request;
}

void TComm::OpenPort() {
  if (port_) throw ECommsError("This serial port already opened");
  port_ = CommPort::Open(ResolvePath ? ResolvePath(CommName) : CommName, CurrentLineRequest(), timeouts_,
                         *notifier_);
}

void TComm::ClosePort() { port_.reset(); }

bool TComm::WriteData(const void* Buffer, uint16_t Length) {
  if (!port_ || Length == 0) return false;
  return port_->Write(std::string(static_cast<const char*>(Buffer), Length));
}

void TComm::ApplyCommState() { port_->ApplyLine(CurrentLineRequest()); }

void TComm::ApplyCommTimeouts() { port_->ApplyTimeouts(timeouts_); }

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
