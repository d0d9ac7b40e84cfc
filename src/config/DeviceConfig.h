#pragma once
// The device configuration of one main window: the read, write-all and restore-defaults conversations with
// the DTU, and the parsing of its replies back into the window's fields. One command goes out, one reply
// comes back and moves the conversation on; there is no queue and no worker, only the four state variables
// below, changed inside the handling of a received chunk or a timer tick on the window thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/Encoding.h"
#include "config/PortControl.h"
#include "config/SequenceEnd.h"
#include "lang/LangHolder.h"
#include "ui/Application.h"
#include "ui/MainFormDesign.h"

namespace config {

// The command as the log shows it: without its CR LF.
std::string CommandWithoutLineEnd(std::string command);
// A field's name as the window shows it: its label's caption without the blanks around it.
std::string FieldCaption(const ui::TLabel& label);

// The entry names the DTU's listing of all settings can carry, looked up without regard to letter case.
enum class TMyStrSel { CIPCFG, CIPPACK, CIPMODE, CIPMUX, CSTT, CIPSTART };

class TDeviceConfig {
 public:
  // Wires the two timers, the two HEX boxes and the three action buttons of form. The language list is
  // looked at only when a text is needed.
  TDeviceConfig(ui::TMainFormDesign& form, lang::TLangHolder& lang, TPortControl& port, ui::Application& app);
  TDeviceConfig(const TDeviceConfig&) = delete;
  TDeviceConfig& operator=(const TDeviceConfig&) = delete;

  bool WriteActive() const { return writeActive_; }
  int WriteStep() const { return writeStep_; }
  bool ReadActive() const { return readActive_; }
  int ReadStep() const { return readStep_; }

  // Raised once when a sequence ends, for each sequence that was running. A restore-defaults is a
  // write-all of the default fields and ends as TAction::RestoreDefaults. Raised after the sequence's state
  // is back at its start and after the log lines of the end, so a handler may start a new sequence.
  std::function<void(const TSequenceEnd&)> OnSequenceEnd;

  // Shows the APN dialog modally; set by the window. SetOtherApn calls it without an APN; a read that finds
  // an APN of the DTU's own calls it with that APN, for the dialog to show.
  std::function<void(const std::optional<ApnParts>& listed)> ShowApnDialog;

  // The CIPMUX and CIPMODE values of the last read's listing, when it had them.
  std::optional<std::string> ListedCipmux;
  std::optional<std::string> ListedCipmode;

  // Handler of btn_Default, btn_Read and btn_SetAll, dispatching on the Tag.
  void btn_ReadClick(ui::Control& Sender);
  void RestoreDefaults();
  void StartRead();
  void StartWriteAll();
  // Ends every sequence at once without an end event and stops the reply time-out: the caller, who knows
  // why, tells the user. A reply that comes later is only logged.
  void Abort();
  // For a window that closes: Abort, stop both timers, and from now on send nothing and handle no reply.
  void Shutdown();

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
  void AddInfo(const lang::LangRow& row, const std::string& tail = {});
  // The verdict of a reply that could not be read, naming the command and the fields left unchanged.
  void LogUnreadable(const std::string& command, const std::vector<ui::TLabel*>& unchanged);
  // A field the running read has been told by the DTU.
  void Reported(const ui::Control& field);
  // The captions of the fields query (1 to 3; 0: every query) should fill and the read has not been told.
  std::vector<ui::TLabel*> UnchangedFields(int query);
  // Sends one command of a running sequence; a port that cannot send ends that sequence.
  void Send(const std::string& text, bool forWrite);
  void EndWrite(TOutcome outcome, const std::string& command);
  void EndRead(TOutcome outcome, const std::string& command);
  // Both directions start over; beforeEvents (the log lines of the end) runs before the end events.
  void EndAllSequences(TOutcome outcome, const std::string& command,
                       const std::function<void()>& beforeEvents = {});
  void RaiseEnd(TAction action, TOutcome outcome, const std::string& command);

  void WriteCheck(const std::string& cleaned);
  void ReadAdvance();
  void SwitchPortBeforeStep(int step);

  void HandleBaudRateReply(std::string rest);
  void HandleFormatReply(std::string rest);
  void HandleListingReply(std::string rest);

  ui::TMainFormDesign& form_;
  lang::TLangHolder& lang_;
  TPortControl& port_;
  ui::Application& app_;

  bool writeActive_ = false;
  int writeStep_ = 1;
  bool readActive_ = false;
  int readStep_ = 1;
  // The running write-all was started by restore-defaults.
  TAction writeAction_ = TAction::WriteAll;
  bool restoring_ = false;
  // The first query of the running read whose reply was not a plain OK, and the first whose reply did not
  // report all its fields; the read only succeeds without either.
  std::string readRefused_;
  std::string readUnread_;
  std::vector<const ui::Control*> reported_;
  bool shutDown_ = false;
};

}  // namespace config
