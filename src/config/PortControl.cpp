#include "config/PortControl.h"

#include <stdexcept>

namespace config {

uint32_t ReadIntervalForBaudRate(uint32_t baudRate) {
  switch (baudRate) {
    case 300:
      return 500;
    case 600:
      return 300;
    case 1200:
    case 2400:
      return 150;
    case 4800:
      return 80;
    default:
      return 50;
  }
}

uint32_t ReplyTimeoutForBaudRate(uint32_t baudRate) {
  if (baudRate == 300) return 8000;
  if (baudRate == 600) return 5000;
  return 3000;
}

const lang::LangRow* OpenFailureRow(serial::OpenFailure reason) {
  switch (reason) {
    case serial::OpenFailure::None:
      return nullptr;
    case serial::OpenFailure::PermissionDenied:
      return &lang::lang_Info_ComDenied;
    case serial::OpenFailure::InUse:
      return &lang::lang_Info_ComBusy;
    case serial::OpenFailure::NoSuchDevice:
      return &lang::lang_Info_ComMissing;
    case serial::OpenFailure::NotATerminal:
      return &lang::lang_Info_ComNotSerial;
    case serial::OpenFailure::Other:
      break;
  }
  return &lang::lang_Info_ComFailed;
}

TPortControl::TPortControl(TConversationHost& host, serial::ByteLine& line, lang::TLangHolder& lang,
                           ui::TTimer& timeOut)
    : host_(host), line_(line), lang_(lang), timeOut_(timeOut) {
  // What was still on its way when the port was closed is dropped: nobody waits for it, and a closing
  // window must not get it.
  line_.OnReceive = [this](const char* bytes, uint16_t length) {
    // A copy, as the handler may hand the event to someone else (a search that found the line).
    if (const auto handler = PortOpened ? OnReceiveData : nullptr) handler(bytes, length);
  };
  line_.OnHangup = [this] { LineLost(); };
}

void TPortControl::ApplyChosenLine() {
  const PortLine line = host_.ChosenLine();
  // A rate the list cannot name is no rate to open with.
  if (!line.baudRate) throw std::invalid_argument("no baud rate chosen");
  settings_.BaudRate = *line.baudRate;
  if (line.parity) {
    settings_.Parity = *line.parity == 'O'   ? serial::TParity::Odd
                       : *line.parity == 'E' ? serial::TParity::Even
                                             : serial::TParity::None;
  }
  if (line.dataBits) settings_.ByteSize = *line.dataBits == 7 ? serial::TByteSize::_7 : serial::TByteSize::_8;
  if (line.stopBits) settings_.StopBits = *line.stopBits == 1 ? serial::TStopBits::_1 : serial::TStopBits::_2;
}

bool TPortControl::ReopenComPort() {
  try {
    // The port shows closed while the attempt runs; only a success shows it open.
    line_.Close();
    PortOpened = false;
    ApplyChosenLine();
    timeOut_.SetEnabled(false);
    timeOut_.SetInterval(ReplyTimeoutForBaudRate(settings_.BaudRate));
    portLost_ = false;
    lastFailure_ = serial::OpenFailure::None;
    line_.Open(host_.PortDevice(), settings_,
               ReadIntervalMs.value_or(ReadIntervalForBaudRate(settings_.BaudRate)));
    PortOpened = true;
    host_.ShowPortState(true);
    return true;
  } catch (const serial::ECommsError& error) {
    lastFailure_ = error.Reason();
  } catch (...) {
    lastFailure_ = serial::OpenFailure::Other;
  }
  PortOpened = false;
  host_.ShowPortState(false);
  return false;
}

void TPortControl::OpenComPort() {
  const std::string device = host_.PortDevice();
  if (ReopenComPort()) {
    // "COM3" says nothing about the device on Linux, nor does a [Ports] mapping; the log says which it was.
    const std::string path = line_.PathOf(device);
    if (path != device) host_.AddInfo(lang_.Text(lang::lang_Info_ComDevice) + path + " (" + device + ")");
    return;
  }
  // What went wrong with which device comes first: the general advice after it is what a glance misses.
  if (const lang::LangRow* reason = OpenFailureRow(lastFailure_)) {
    host_.AddInfo(line_.PathOf(device) + lang_.Text(*reason));
  }
  host_.AddInfo(lang_.Text(lang::lang_Info_ComInuse));
}

void TPortControl::LineLost() {
  // Only the open this report belongs to: after a close by hand or a new open, it says nothing.
  if (!PortOpened) return;
  line_.Close();
  ShowClosed();
  portLost_ = true;
  host_.AddInfo(lang_.Text(lang::lang_Info_ComLost));
  // A copy: the handler may hand the event to someone else (a search gives it back to the conversation).
  if (const auto handler = OnPortLost) handler();
}

void TPortControl::ShowClosed() {
  PortOpened = false;
  host_.ShowPortState(false);
}

void TPortControl::CloseComPort() {
  line_.Close();
  ShowClosed();
  if (const auto handler = OnClosed) handler();
}

bool TPortControl::SendCommand(const std::string& Text) {
  if (!PortOpened) {
    host_.AddInfo(lang_.Text(lang::lang_Info_ComIsOpen));
    return false;
  }
  lastCommand_ = Text;
  timeOut_.SetEnabled(true);
  // The result is not looked at: a port that failed after opening is reported by the reply time-out.
  line_.Write(Text);
  host_.AddInfo(lang_.Text(lang::lang_Info_Send) + Text);
  return true;
}

}  // namespace config
