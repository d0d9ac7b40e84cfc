#pragma once
// The port control: opens the byte line with the PC line settings its host has chosen, closes it, and sends
// command texts to the DTU while echoing them in the log. A port that fails to open is logged with its
// device path and the reason; a port lost while open (the line's hang-up) is closed and logged once, and
// OnPortLost is raised. The reply time-out runs here: every command sent starts it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "config/ConversationHost.h"
#include "lang/LangHolder.h"
#include "serial/ByteLine.h"
#include "ui/Timer.h"

namespace config {

// The quiet time that ends a received chunk, and the reply time-out, for a PC baud rate: slow lines need a
// longer gap between bytes before a reply counts as complete, and longer to bring a whole reply.
uint32_t ReadIntervalForBaudRate(uint32_t baudRate);
uint32_t ReplyTimeoutForBaudRate(uint32_t baudRate);

// The row that says why a port did not open (it follows the device path); nullptr for None.
const lang::LangRow* OpenFailureRow(serial::OpenFailure reason);

class TPortControl {
 public:
  // timeOut: the reply time-out timer (the window's tmr_TimeOut); its interval follows the PC baud rate.
  TPortControl(TConversationHost& host, serial::ByteLine& line, lang::TLangHolder& lang, ui::TTimer& timeOut);

  // True only after a successful ReopenComPort; the line's own state is not consulted.
  bool PortOpened = false;

  // Closes, takes the host's chosen line, opens. Never raises: any failure ends in the closed state, with
  // the reason kept in LastOpenFailure (None after a success, Other for a failure that is not the device's).
  bool ReopenComPort();
  // Closes the port and opens it again with the host's chosen settings; a failure leaves it closed and logs
  // the device path with the reason (when known), then the lang_Info_ComInuse text. A COM name that opens is
  // logged with its device path.
  void OpenComPort();
  serial::OpenFailure LastOpenFailure() const { return lastFailure_; }
  // Whether the port was last closed because it was lost; cleared by the next open.
  bool PortLost() const { return portLost_; }
  void CloseComPort();
  // When the port is believed open: stores Text as LastCommand, switches the reply time-out on (without
  // restarting a running countdown), writes the bytes, and logs the lang_Info_Send text followed by Text;
  // returns true. Otherwise logs the lang_Info_ComIsOpen text, does nothing else and returns false.
  bool SendCommand(const std::string& Text);
  // The whole last command sent, CR LF included; empty before the first.
  const std::string& LastCommand() const { return lastCommand_; }
  // The settings the line was last opened with.
  const serial::PortSettings& Settings() const { return settings_; }

  ui::TTimer& TimeOut() { return timeOut_; }

  // The receive event: each chunk the line delivers, as it delivered it.
  std::function<void(const char* Buffer, uint16_t BufferLength)> OnReceiveData;
  // Raised once when an open port is lost (the device went away or hung up), after the port shows closed.
  std::function<void()> OnPortLost;
  // Raised by CloseComPort, after the port shows closed: whoever holds the port lets go of it.
  std::function<void()> OnClosed;
  // When set, the quiet time that ends a received chunk at every rate, from the next open on: the line
  // search reads the first bytes of an answer as they come instead of after the whole reply.
  std::optional<uint32_t> ReadIntervalMs;

 private:
  void ApplyChosenLine();
  void ShowClosed();
  void LineLost();

  TConversationHost& host_;
  serial::ByteLine& line_;
  lang::TLangHolder& lang_;
  ui::TTimer& timeOut_;
  // What the line was last opened with; a part the host leaves unset keeps its value.
  serial::PortSettings settings_;
  std::string lastCommand_;
  serial::OpenFailure lastFailure_ = serial::OpenFailure::None;
  bool portLost_ = false;
};

}  // namespace config
