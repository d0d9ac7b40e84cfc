#pragma once
// The device configuration over one port: the read, write-all and restore-defaults conversations with the
// DTU, read as a modem speaks. What arrives is cut into lines; a command's answer ends with its final result
// (OK, ERROR, +CME ERROR: n, +CMS ERROR: n) or the reply time-out. Lines before it are the echo, the
// information lines the command expects (+CIPR:, +ICF:, the listing's entries) or lines that answer nothing
// (RDY, Call Ready, +CSQ:, CONNECT OK ...), which are set aside. One command is in flight at a time, an
// answer is taken only for the command sent and only once, and nothing is sent after a sequence has ended.
// Everything runs on the loop's thread. Commands are built from the values the host holds at each step, and
// replies become values that the host shows.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/ConversationHost.h"
#include "config/PortControl.h"
#include "config/SequenceEnd.h"
#include "lang/LangHolder.h"
#include "platform/EventLoop.h"
#include "ui/Timer.h"

namespace config {

// The command as the log shows it: without its CR LF.
std::string CommandWithoutLineEnd(std::string command);

// The rule a value breaks, in the current language ("must be a whole number from 1 to 65535").
std::string RuleText(lang::TLangHolder& lang, const values::Problem& problem);
// The log line of a value that cannot be sent, in the current language: the field and the rule.
std::string ProblemLine(lang::TLangHolder& lang, const std::string& fieldName,
                        const values::Problem& problem);

class TDeviceConfig {
 public:
  // sendInfo: the one-shot timer of the note after the DTU's start-up banner (the window's tmr_SendInfo).
  // The language list is looked at only when a text is needed.
  TDeviceConfig(TConversationHost& host, TPortControl& port, lang::TLangHolder& lang,
                platform::EventLoop& loop, ui::TTimer& sendInfo);
  TDeviceConfig(const TDeviceConfig&) = delete;
  TDeviceConfig& operator=(const TDeviceConfig&) = delete;

  bool WriteActive() const { return writeActive_; }
  int WriteStep() const { return writeStep_; }
  bool ReadActive() const { return readActive_; }
  int ReadStep() const { return readStep_; }
  // Whether a read, a write-all (with its read-back) or restore-defaults is running, or a line search holds
  // the port. Only one runs at a time: starting another while busy is refused with a log line.
  bool Busy() const { return writeActive_ || readActive_ || verifying_ || searching_; }
  // Raised each time Busy() changes, after the change.
  std::function<void()> OnBusyChanged;
  // The line search tells the conversation that it holds the port (TPortSearch calls it).
  void SetSearching(bool searching);
  // Ends the running read or write at once with the verdict "cancelled" (logged, and raised as
  // TOutcome::Cancelled); the port stays open and a reply that comes later is only logged. Nothing when idle.
  void Cancel();
  // Write-all and restore-defaults end with a read-back of the DTU, as write --verify does: a field the DTU
  // accepted but did not keep ends the write as TOutcome::NotKept, naming the fields. On by default in the
  // window; the command line sets it from --verify.
  bool VerifyWrites = false;

  // The rows the running or last read took from the DTU's replies, in the order they came.
  const std::vector<size_t>& ReadRows() const { return readRows_; }

  // Raised once when a sequence ends, for each sequence that was running. A restore-defaults is a write-all
  // of the default values and ends as TAction::RestoreDefaults. Raised after the sequence's state is back at
  // its start and after the log lines of the end, so a handler may start a new sequence.
  std::function<void(const TSequenceEnd&)> OnSequenceEnd;

  // The host shows the default values, then the write-all starts with them.
  void RestoreDefaults();
  void StartRead();
  // Checks every value first: one that cannot be sent is logged with its field and rule, shown by the host,
  // and ends the write (TOutcome::Invalid) before anything is sent.
  void StartWriteAll();
  // Sends one command the user typed, CR LF added, outside any sequence: what comes back is logged as it
  // arrives and moves nothing on, and no reply time-out runs, as some answers (a connection's) take long.
  // Refused with a log line while busy; returns whether the command went out.
  bool SendTyped(const std::string& command);
  // Ends every sequence at once without an end event and stops the reply time-out: the caller, who knows
  // why, tells the user. A reply that comes later is only logged.
  void Abort();
  // For a host that goes away: Abort, stop both timers, and from now on send nothing and handle no reply.
  void Shutdown();

  // Steps 1 to 10; steps 9 and 10 first move the PC port to the DTU's new line settings. Other steps:
  // nothing.
  void SendSetCommand(int step);
  // Queries 1 to 3; other steps: nothing.
  void SendQuery(int step);

  // Waits ms milliseconds while the loop keeps handling messages (received chunks and ticks included).
  void DelayWithMessages(uint32_t ms);

  // The receive event of the port: a chunk of what the DTU sent, cut wherever the line paused.
  void Comm1ReceiveData(const void* Sender, const char* Buffer, uint16_t BufferLength);
  void HandleReply(const char* bytes, size_t length);

  void tmr_TimeOutTimer(ui::TTimer& Sender);
  void tmr_SendInfoTimer(ui::TTimer& Sender);

 private:
  void AddInfo(const lang::LangRow& row, const std::string& tail = {});
  // The verdict of a reply that could not be read, naming the command and the fields left unchanged.
  void LogUnreadable(const std::string& command, const std::vector<std::string>& unchanged);
  // The names of the fields query (1 to 3; 0: every query) should fill and the read has not been told.
  std::vector<std::string> UnchangedFields(int query);
  // Sends one command of a running sequence; a port that cannot send ends that sequence.
  void Send(const std::string& text, bool forWrite);
  void EndWrite(TOutcome outcome, const std::string& command);
  void EndRead(TOutcome outcome, const std::string& command);
  // Both directions start over; beforeEvents (the log lines of the end) runs before the end events.
  void EndAllSequences(TOutcome outcome, const std::string& command,
                       const std::function<void()>& beforeEvents = {});
  void RaiseEnd(TAction action, TOutcome outcome, const std::string& command);
  // Logs a value that cannot be sent, lets the host show it, and ends the write. Returns whether the values
  // were refused.
  bool RefuseInvalid(const values::DtuValues& values);

  void BeginWrite(TAction action);
  // The awaited command's answer ended with its final result.
  void Answered(const std::string& final, const std::string& command);
  void WriteAnswered(const std::string& final, const std::string& command);
  void ReadAnswered(const std::string& final, const std::string& command);
  void TakeLine(const std::string& line);
  // Whether an information line belongs to the answer of the awaited query.
  bool Expected(const std::string& line) const;
  void ReadAdvance();
  // After the write's last step: the read-back, or the end.
  void WriteDone();
  void EndVerify();
  void UpdateBusy();
  void SwitchPortBeforeStep(int step, const values::DtuValues& values);

  TConversationHost& host_;
  TPortControl& port_;
  lang::TLangHolder& lang_;
  platform::EventLoop& loop_;
  ui::TTimer& sendInfo_;

  bool writeActive_ = false;
  int writeStep_ = 1;
  bool readActive_ = false;
  int readStep_ = 1;
  // The running write-all was started by restore-defaults.
  TAction writeAction_ = TAction::WriteAll;
  // The first query of the running read whose reply was not a plain OK, and the first whose reply did not
  // report all its fields; the read only succeeds without either.
  std::string readRefused_;
  std::string readUnread_;
  // The final result of the refused query, as the verdict names it (" (ERROR)"); empty for an OK whose
  // answer held an error.
  std::string readRefusedResult_;
  std::vector<size_t> readRows_;
  bool shutDown_ = false;
  bool verifying_ = false;
  bool searching_ = false;
  bool lastBusy_ = false;
  // What arrived after the last complete line.
  std::string pending_;
  // The command whose answer is awaited (empty: none), and the information lines of its answer so far.
  std::string awaited_;
  std::vector<std::string> answerLines_;
  // The chunk being handled added to the awaited answer.
  bool answerGrew_ = false;
  // A write's read-back: what the write sent, and what the DTU reports.
  values::DtuValues written_;
  values::DtuValues readBack_;
};

}  // namespace config
