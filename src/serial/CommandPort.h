#pragma once
// What the device configuration needs of the port: the one way out to the DTU. The port control implements
// it over Comm1; tests implement it over a simulated DTU in virtual time.

#include <string>

namespace serial {

class CommandPort {
 public:
  virtual ~CommandPort() = default;
  // When the port is believed open: stores Text as LastCommand, switches tmr_TimeOut on (without restarting a
  // running countdown), writes the bytes, and logs the lang_Info_Send text followed by Text. Otherwise logs
  // the lang_Info_ComIsOpen text and does nothing else.
  virtual void SendCommand(const std::string& Text) = 0;
  // Closes the port and opens it again with the settings of the five PC port lists; a failure leaves it
  // closed and logs the lang_Info_ComInuse text.
  virtual void OpenComPort() = 0;
  // The whole last command sent, CR LF included; empty before the first.
  virtual const std::string& LastCommand() const = 0;
};

}  // namespace serial
