#pragma once
// The port control of the main window: opens Comm1 with the settings of the five PC port lists, closes it,
// toggles it from the port button, and sends command texts to the DTU while echoing them in the log.

#include <memory>
#include <string>

#include "lang/LangList.h"
#include "serial/Comm.h"
#include "serial/CommandPort.h"
#include "ui/MainFormDesign.h"

namespace serial {

// The quiet time that ends a received chunk, and the reply time-out, for a PC baud rate: slow lines need a
// longer gap between bytes before a reply counts as complete, and longer to bring a whole reply.
uint32_t ReadIntervalForBaudRate(uint32_t baudRate);
uint32_t ReplyTimeoutForBaudRate(uint32_t baudRate);

class TPortControl : public CommandPort {
 public:
  TPortControl(ui::TMainFormDesign& form, TComm& Comm1, std::unique_ptr<lang::TLangList>& LangList);

  // True only after a successful ReopenComPort; the component's own state is not consulted.
  bool PortOpened = false;

  // Closes, applies the five lists, opens. Never raises: any failure ends in the closed state.
  bool ReopenComPort();
  void OpenComPort() override;
  void CloseComPort();
  void SendCommand(const std::string& Text) override;
  const std::string& LastCommand() const override { return lastCommand_; }

  // The port button: opens when its caption is the open text of the current language, else closes.
  void btn_ComClick(ui::Control& Sender);
  // Any of the five PC port lists (and the DTU's parity, data-bit and stop-bit lists) changed by the user.
  void cbb_Open_ComNameChange(ui::Control& Sender);

 private:
  std::string Text(const lang::LangRow& row) { return langList_->GetLangText(row); }
  void ShowClosed();

  ui::TMainFormDesign& form_;
  TComm& comm_;
  std::unique_ptr<lang::TLangList>& langList_;
  std::string lastCommand_;
};

}  // namespace serial
