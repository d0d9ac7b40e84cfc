#pragma once
// TComm owns one serial port: it opens the device for sole use, keeps the line as its properties say, and
// runs a read thread and a write thread while the port is open. What the threads report arrives as events
// on the window thread (the thread that runs the loop given to the constructor), one at a time, in the order
// the threads posted them.
//
// Every call, setter and event handler belongs to the window thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/EventLoop.h"
#include "serial/CommTypes.h"
#include "serial/LineRequest.h"

namespace serial {

class TComm;
class CommPort;
class WorkerMailbox;
struct WorkerReport;

// Buffer holds BufferLength received bytes (1 to 1024, zero bytes included) followed by one zero byte. It
// is valid only during the call.
using TReceiveDataEvent = std::function<void(TComm* Sender, const char* Buffer, uint16_t BufferLength)>;
// EventMask carries line error flags (LineErrorRxOver ...: the values of Windows' CE_* flags).
using TReceiveErrorEvent = std::function<void(TComm* Sender, uint32_t EventMask)>;
// ModemEvent: ModemCarrierChanged and/or ModemRing.
using TModemStateChangeEvent = std::function<void(TComm* Sender, uint32_t ModemEvent)>;
using TNotifyEvent = std::function<void(TComm* Sender)>;
using TSendDataEmptyEvent = std::function<void(TComm* Sender)>;

class TComm {
 public:
  explicit TComm(platform::EventLoop& loop);
  // Closes an open port: no worker outlives the component. Notifications still queued on the loop are
  // dropped when they come up.
  ~TComm();
  TComm(const TComm&) = delete;
  TComm& operator=(const TComm&) = delete;

  // The system's number for the open port (its descriptor, its handle); 0 while closed.
  uint32_t ComHandle() const;

  // Read at the next OpenPort only. "COMn" or a device path, turned into a path by ResolvePath.
  std::string CommName = "COM2";

  uint32_t BaudRate() const { return line_.BaudRate; }
  void SetBaudRate(uint32_t v) { ChangeLine(line_.BaudRate, v); }
  bool ParityCheck() const { return line_.ParityCheck; }
  void SetParityCheck(bool v) { ChangeLine(line_.ParityCheck, v); }
  bool Outx_CtsFlow() const { return line_.Outx_CtsFlow; }
  void SetOutx_CtsFlow(bool v) { ChangeLine(line_.Outx_CtsFlow, v); }
  // The properties without a counterpart on a Linux line are kept and handed back there, nothing more:
  // Outx_DsrFlow, DsrSensitivity, TxContinueOnXoff, ReplaceWhenParityError, IgnoreNullChar, XonLimit,
  // XoffLimit, ReplacedChar. Windows takes them all into the port's control block.
  bool Outx_DsrFlow() const { return line_.Outx_DsrFlow; }
  void SetOutx_DsrFlow(bool v) { ChangeLine(line_.Outx_DsrFlow, v); }
  TDtrControl DtrControl() const { return line_.DtrControl; }
  void SetDtrControl(TDtrControl v) { ChangeLine(line_.DtrControl, v); }
  bool DsrSensitivity() const { return line_.DsrSensitivity; }
  void SetDsrSensitivity(bool v) { ChangeLine(line_.DsrSensitivity, v); }
  bool TxContinueOnXoff() const { return line_.TxContinueOnXoff; }
  void SetTxContinueOnXoff(bool v) { ChangeLine(line_.TxContinueOnXoff, v); }
  bool Outx_XonXoffFlow() const { return line_.Outx_XonXoffFlow; }
  void SetOutx_XonXoffFlow(bool v) { ChangeLine(line_.Outx_XonXoffFlow, v); }
  bool Inx_XonXoffFlow() const { return line_.Inx_XonXoffFlow; }
  void SetInx_XonXoffFlow(bool v) { ChangeLine(line_.Inx_XonXoffFlow, v); }
  bool ReplaceWhenParityError() const { return line_.ReplaceWhenParityError; }
  void SetReplaceWhenParityError(bool v) { ChangeLine(line_.ReplaceWhenParityError, v); }
  bool IgnoreNullChar() const { return line_.IgnoreNullChar; }
  void SetIgnoreNullChar(bool v) { ChangeLine(line_.IgnoreNullChar, v); }
  TRtsControl RtsControl() const { return line_.RtsControl; }
  void SetRtsControl(TRtsControl v) { ChangeLine(line_.RtsControl, v); }
  uint16_t XonLimit() const { return line_.XonLimit; }
  void SetXonLimit(uint16_t v) { ChangeLine(line_.XonLimit, v); }
  uint16_t XoffLimit() const { return line_.XoffLimit; }
  void SetXoffLimit(uint16_t v) { ChangeLine(line_.XoffLimit, v); }
  TByteSize ByteSize() const { return line_.ByteSize; }
  void SetByteSize(TByteSize v) { ChangeLine(line_.ByteSize, v); }

  // Read at the next OpenPort only.
  TParity Parity = TParity::None;

  TStopBits StopBits() const { return line_.StopBits; }
  void SetStopBits(TStopBits v) { ChangeLine(line_.StopBits, v); }
  char XonChar() const { return line_.XonChar; }
  void SetXonChar(char v) { ChangeLine(line_.XonChar, v); }
  char XoffChar() const { return line_.XoffChar; }
  void SetXoffChar(char v) { ChangeLine(line_.XoffChar, v); }
  char ReplacedChar() const { return line_.ReplacedChar; }
  void SetReplacedChar(char v) { ChangeLine(line_.ReplacedChar, v); }

  // Milliseconds of quiet on the line that end a received chunk. 0: a chunk is whatever has arrived when the
  // reader looks, without waiting for more (once a first byte is there).
  uint32_t ReadIntervalTimeout() const { return timeouts_.ReadIntervalTimeout; }
  void SetReadIntervalTimeout(uint32_t v) { ChangeTimeouts(timeouts_.ReadIntervalTimeout, v); }
  // When either is set, a chunk ends at Multiplier * 1024 + Constant ms after its first byte even if the line
  // is still busy (on Windows: after the read began, as the system counts it); the wait for a first byte
  // stays unlimited.
  uint32_t ReadTotalTimeoutMultiplier() const { return timeouts_.ReadTotalTimeoutMultiplier; }
  void SetReadTotalTimeoutMultiplier(uint32_t v) { ChangeTimeouts(timeouts_.ReadTotalTimeoutMultiplier, v); }
  uint32_t ReadTotalTimeoutConstant() const { return timeouts_.ReadTotalTimeoutConstant; }
  void SetReadTotalTimeoutConstant(uint32_t v) { ChangeTimeouts(timeouts_.ReadTotalTimeoutConstant, v); }
  // When either is set, a write not finished after Multiplier * length + Constant ms is a failed write.
  uint32_t WriteTotalTimeoutMultiplier() const { return timeouts_.WriteTotalTimeoutMultiplier; }
  void SetWriteTotalTimeoutMultiplier(uint32_t v) {
    ChangeTimeouts(timeouts_.WriteTotalTimeoutMultiplier, v);
  }
  uint32_t WriteTotalTimeoutConstant() const { return timeouts_.WriteTotalTimeoutConstant; }
  void SetWriteTotalTimeoutConstant(uint32_t v) { ChangeTimeouts(timeouts_.WriteTotalTimeoutConstant, v); }

  TReceiveDataEvent OnReceiveData;
  TReceiveErrorEvent OnReceiveError;
  TModemStateChangeEvent OnModemStateChange;
  // A worker gave up on the port (unplugged, hung up, failing). The port stays open until ClosePort.
  TNotifyEvent OnRequestHangup;
  // Once after opening, when the write queue is first found empty, and once each time it runs empty after
  // one or more writes.
  TSendDataEmptyEvent OnSendDataEmpty;

  // Turns CommName into the device path; ResolveDevicePath without a port map unless replaced.
  std::function<std::string(const std::string&)> ResolvePath;

  // Opens, configures and starts both threads. Throws ECommsError; a failed attempt leaves the component
  // closed with nothing running.
  void OpenPort();
  // Stops both threads and closes; returns promptly even while a write is stuck. Nothing when closed.
  void ClosePort();
  // Queues a copy of Length bytes and returns at once. False when closed, for Length 0, and once the write
  // thread has given up on the port.
  bool WriteData(const void* Buffer, uint16_t Length);

  // The line request the properties make now, Parity included (for checks and logs).
  LineRequest CurrentLineRequest() const;

 private:
  class Notifier;

  template <class T>
  void ChangeLine(T& field, T value) {
    if (field == value) return;
    field = value;
    if (port_) ApplyCommState();
  }
  template <class T>
  void ChangeTimeouts(T& field, T value) {
    if (field == value) return;
    field = value;
    if (port_) ApplyCommTimeouts();
  }
  void ApplyCommState();
  void ApplyCommTimeouts();
  void Deliver(WorkerReport& report);

  std::shared_ptr<WorkerMailbox> mailbox_;  // closed by the destructor: nothing is delivered after it
  std::unique_ptr<Notifier> notifier_;

  LineRequest line_;  // Parity aside, which is the public field
  CommTimeouts timeouts_;
  // The open port with its workers; closing destroys it once both workers have ended.
  std::unique_ptr<CommPort> port_;
};

// Gives comm the settings it is stored with in the window's design: no flow control, DTR and RTS held off (a
// DTU may take either as a reset), 9600 8N1 and a 20 ms read interval until the port control sets its own.
void ApplyStoredDesign(TComm& comm);

}  // namespace serial
