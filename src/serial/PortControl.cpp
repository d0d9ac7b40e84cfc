#include "serial/PortControl.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace serial {
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

TPortControl::TPortControl(ui::TMainFormDesign& form, TComm& Comm1,
                           std::unique_ptr<lang::TLangList>& LangList)
    : form_(form), comm_(Comm1), langList_(LangList) {}

bool TPortControl::ReopenComPort() {
  try {
    // The caption shows the close text while the attempt runs; a failure puts the open text back.
    form_.btn_Com.SetCaption(Text(lang::lang_Command_Close));
    comm_.ClosePort();
    comm_.CommName = form_.cbb_Open_ComName.Text();
    comm_.SetBaudRate(BaudRateFromText(form_.cbb_Open_BaudRate.Text()));
    switch (form_.cbb_Open_Parity.ItemIndex()) {
      case 0:
        comm_.SetParityCheck(false);
        comm_.Parity = TParity::None;
        break;
      case 1:
        comm_.SetParityCheck(true);
        comm_.Parity = TParity::Odd;
        break;
      case 2:
        comm_.SetParityCheck(true);
        comm_.Parity = TParity::Even;
        break;
      default:
        break;
    }
    switch (form_.cbb_Open_Byte.ItemIndex()) {
      case 0:
        comm_.SetByteSize(TByteSize::_7);
        break;
      case 1:
        comm_.SetByteSize(TByteSize::_8);
        break;
      default:
        break;
    }
    switch (form_.cbb_Open_Stop.ItemIndex()) {
      case 0:
        comm_.SetStopBits(TStopBits::_1);
        break;
      case 1:
        comm_.SetStopBits(TStopBits::_2);
        break;
      default:
        break;
    }
    form_.tmr_TimeOut.SetEnabled(false);
    comm_.SetReadIntervalTimeout(ReadIntervalForBaudRate(comm_.BaudRate()));
    form_.tmr_TimeOut.SetInterval(ReplyTimeoutForBaudRate(comm_.BaudRate()));
    comm_.OpenPort();
    form_.btn_Com.SetPicture(form_.img_Open.Picture);
    PortOpened = true;
    return true;
  } catch (...) {
    // Whatever failed, the user sees the one "port in use or missing" line; the reason is not shown.
    form_.btn_Com.SetCaption(Text(lang::lang_Command_Open));
    form_.btn_Com.SetPicture(form_.img_Close.Picture);
    PortOpened = false;
    return false;
  }
}

void TPortControl::OpenComPort() {
  if (!ReopenComPort()) form_.AddInfo(Text(lang::lang_Info_ComInuse));
}

void TPortControl::ShowClosed() {
  form_.btn_Com.SetPicture(form_.img_Close.Picture);
  form_.btn_Com.SetCaption(Text(lang::lang_Command_Open));
  PortOpened = false;
}

void TPortControl::CloseComPort() {
  comm_.ClosePort();
  ShowClosed();
}

void TPortControl::SendCommand(const std::string& Text_) {
  if (!PortOpened) {
    form_.AddInfo(Text(lang::lang_Info_ComIsOpen));
    return;
  }
  lastCommand_ = Text_;
  form_.tmr_TimeOut.SetEnabled(true);
  // A command longer than one write request goes out in pieces, in order; the result is not looked at, as a
  // port that failed after opening is reported by the reply time-out.
  for (size_t offset = 0; offset < Text_.size(); offset += 65535) {
    const size_t length = std::min<size_t>(65535, Text_.size() - offset);
    comm_.WriteData(Text_.data() + offset, static_cast<uint16_t>(length));
  }
  form_.AddInfo(Text(lang::lang_Info_Send) + Text_);
}

void TPortControl::btn_ComClick(ui::Control&) {
  if (form_.btn_Com.Caption() == Text(lang::lang_Command_Open)) {
    OpenComPort();
  } else {
    CloseComPort();
  }
}

void TPortControl::cbb_Open_ComNameChange(ui::Control&) { OpenComPort(); }

}  // namespace serial
