#pragma once
// The device configuration of one main window: the read, write-all and restore-defaults conversations with
// the DTU, and the parsing of its replies back into the window's fields. One command goes out, one reply
// comes back and moves the conversation on; there is no queue and no worker, only the four state variables
// below, changed inside the handling of a received chunk or a timer tick on the window thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "lang/LangList.h"
#include "serial/CommandPort.h"
#include "ui/Application.h"
#include "ui/MainFormDesign.h"

namespace config {

// The entry names the DTU's listing of all settings can carry, looked up without regard to letter case.
enum class TMyStrSel { CIPCFG, CIPPACK, CIPMODE, CIPMUX, CSTT, CIPSTART };

class TDeviceConfig {
 public:
  // langList is owned by the application and created after this object, so it is looked at only when a
  // text is needed. Wires the two timers and the two HEX boxes of form.
  TDeviceConfig(ui::TMainFormDesign& form, std::unique_ptr<lang::TLangList>& langList,
                serial::CommandPort& port, ui::Application& app);
  TDeviceConfig(const TDeviceConfig&) = delete;
  TDeviceConfig& operator=(const TDeviceConfig&) = delete;

  bool WriteActive = false;
  int WriteStep = 1;
  bool ReadActive = false;
  int ReadStep = 1;

  // Shows the APN dialog modally; set by the window. SetOtherApn calls it.
  std::function<void()> ShowApnDialog;

  // Handler of btn_Default (Tag 1), btn_Read (Tag 2) and btn_SetAll (Tag 3).
  void btn_ReadClick(ui::Control& Sender);
  void RestoreDefaults();
  void StartRead();
  void StartWriteAll();

  // Steps 1 to 10; steps 9 and 10 first move the PC port to the DTU's new line settings. Other steps:
  // nothing.
  void SendSetCommand(int step);
  // Queries 1 to 3; other steps: nothing.
  void SendQuery(int step);

  void SetFixedApn(const std::string& text);
  void SetOtherApn(const std::string& text);

  // Handler of both HEX boxes: converts the box's edit to the form the box now shows. A hex pair that is
  // not valid raises EConvertError and leaves the edit as it was.
  void chk_DevIDClick(ui::Control& Sender);

  // Waits ms milliseconds while the loop keeps handling messages (received chunks and ticks included).
  void DelayWithMessages(uint32_t ms);

  // The receive event of the port: one call is one chunk and one reply.
  void Comm1ReceiveData(const void* Sender, const char* Buffer, uint16_t BufferLength);
  void HandleReply(const char* bytes, size_t length);

  void tmr_TimeOutTimer(ui::TTimer& Sender);
  void tmr_SendInfoTimer(ui::TTimer& Sender);

 private:
  std::string Text(const lang::LangRow& row);
  void AddInfo(const lang::LangRow& row);
  void EndAllSequences();

  void WriteCheck(const std::string& cleaned);
  void ReadAdvance();
  void SwitchPortBeforeStep(int step);

  void HandleBaudRateReply(std::string rest);
  void HandleFormatReply(std::string rest);
  void HandleListingReply(std::string rest);

  ui::TMainFormDesign& form_;
  std::unique_ptr<lang::TLangList>& langList_;
  serial::CommandPort& port_;
  ui::Application& app_;
  // Whether every reply of the running read so far was a plain OK; the read only reports success then.
  bool readRepliesOk_ = true;
};

}  // namespace config
