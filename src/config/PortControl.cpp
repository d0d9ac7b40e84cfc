#include "config/PortControl.h"

#include <charconv>
#include <stdexcept>

#include "values/ListMeanings.h"

namespace config {
namespace {

// The baud text as a decimal integer; anything else is a conversion error, as the list could hold no rate.
uint32_t BaudRateFromText(const std::string& text) {
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || rest != end) {
    throw std::invalid_argument("'" + text + "' is not a valid integer value");
  }
  return value;
}

}  // namespace

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

TPortControl::TPortControl(ui::TMainFormDesign& form, serial::ByteLine& line, lang::TLangHolder& lang)
    : form_(form), line_(line), lang_(lang) {
  // What was still on its way when the port was closed is dropped: nobody waits for it, and a closing
  // window must not get it.
  line_.OnReceive = [this](const char* bytes, uint16_t length) {
    if (PortOpened && OnReceiveData) OnReceiveData(bytes, length);
  };
  line_.OnHangup = [this] { LineLost(); };
}

std::string TPortControl::SelectedDevice() const {
  if (DeviceForItem) {
    std::string device = DeviceForItem(form_.cbb_Open_ComName.ItemIndex());
    if (!device.empty()) return device;
  }
  return form_.cbb_Open_ComName.Text();
}

void TPortControl::ApplyPortLists() {
  settings_.BaudRate = BaudRateFromText(form_.cbb_Open_BaudRate.Text());
  if (const auto parity = values::ParityAt(form_.cbb_Open_Parity.ItemIndex())) {
    switch (parity->parity) {
      case values::Parity::None:
        settings_.Parity = serial::TParity::None;
        break;
      case values::Parity::Odd:
        settings_.Parity = serial::TParity::Odd;
        break;
      case values::Parity::Even:
        settings_.Parity = serial::TParity::Even;
        break;
    }
  }
  if (const auto bits = values::DataBitsAt(form_.cbb_Open_Byte.ItemIndex())) {
    settings_.ByteSize = *bits == 7 ? serial::TByteSize::_7 : serial::TByteSize::_8;
  }
  if (const auto bits = values::StopBitsAt(form_.cbb_Open_Stop.ItemIndex())) {
    settings_.StopBits = *bits == 1 ? serial::TStopBits::_1 : serial::TStopBits::_2;
  }
}

bool TPortControl::ReopenComPort() {
  try {
    // The caption shows the close text while the attempt runs; a failure puts the open text back.
    form_.btn_Com.SetCaption(lang_.Text(lang::lang_Command_Close));
    line_.Close();
    PortOpened = false;
    ApplyPortLists();
    form_.tmr_TimeOut.SetEnabled(false);
    form_.tmr_TimeOut.SetInterval(ReplyTimeoutForBaudRate(settings_.BaudRate));
    portLost_ = false;
    lastFailure_ = serial::OpenFailure::None;
    line_.Open(SelectedDevice(), settings_, ReadIntervalForBaudRate(settings_.BaudRate));
    form_.btn_Com.SetPicture(form_.img_Open.Picture);
    PortOpened = true;
    return true;
  } catch (const serial::ECommsError& error) {
    lastFailure_ = error.Reason();
  } catch (...) {
    lastFailure_ = serial::OpenFailure::Other;
  }
  form_.btn_Com.SetCaption(lang_.Text(lang::lang_Command_Open));
  form_.btn_Com.SetPicture(form_.img_Close.Picture);
  PortOpened = false;
  return false;
}

void TPortControl::OpenComPort() {
  const std::string device = SelectedDevice();
  if (ReopenComPort()) {
    // "COM3" says nothing about the device on Linux, nor does a [Ports] mapping; the log says which it was.
    const std::string path = line_.PathOf(device);
    if (path != device) form_.AddInfo(lang_.Text(lang::lang_Info_ComDevice) + path + " (" + device + ")");
    return;
  }
  form_.AddInfo(lang_.Text(lang::lang_Info_ComInuse));
  if (const lang::LangRow* reason = OpenFailureRow(lastFailure_)) {
    form_.AddInfo(line_.PathOf(device) + lang_.Text(*reason));
  }
}

void TPortControl::LineLost() {
  // Only the open this report belongs to: after a close by hand or a new open, it says nothing.
  if (!PortOpened) return;
  line_.Close();
  ShowClosed();
  portLost_ = true;
  form_.AddInfo(lang_.Text(lang::lang_Info_ComLost));
  if (OnPortLost) OnPortLost();
}

void TPortControl::ShowClosed() {
  form_.btn_Com.SetPicture(form_.img_Close.Picture);
  form_.btn_Com.SetCaption(lang_.Text(lang::lang_Command_Open));
  PortOpened = false;
}

void TPortControl::CloseComPort() {
  line_.Close();
  ShowClosed();
}

bool TPortControl::SendCommand(const std::string& Text) {
  if (!PortOpened) {
    form_.AddInfo(lang_.Text(lang::lang_Info_ComIsOpen));
    return false;
  }
  lastCommand_ = Text;
  form_.tmr_TimeOut.SetEnabled(true);
  // The result is not looked at: a port that failed after opening is reported by the reply time-out.
  line_.Write(Text);
  form_.AddInfo(lang_.Text(lang::lang_Info_Send) + Text);
  return true;
}

void TPortControl::btn_ComClick(ui::Control&) {
  if (form_.btn_Com.Caption() == lang_.Text(lang::lang_Command_Open)) {
    OpenComPort();
  } else {
    CloseComPort();
  }
}

void TPortControl::cbb_Open_ComNameChange(ui::Control&) { OpenComPort(); }

}  // namespace config
