#include "config/DeviceConfig.h"
#include "lang/OutcomeRows.h"

namespace config {

void TDeviceConfig::StartRead() {
  readActive_ = true;
  readStep_ = 1;
  readRefused_.clear();
  readUnread_.clear();
  readRows_.clear();
  SendQuery(1);
}

void TDeviceConfig::StartWriteAll() { BeginWrite(TAction::WriteAll); }

void TDeviceConfig::BeginWrite(TAction action) {
  writeAction_ = action;
  writeActive_ = true;
  writeStep_ = 1;
  // Every value is checked before the first command: a write that stopped at a value the DTU was bound to
  // refuse would leave it half-written, its format perhaps already changed.
  if (RefuseInvalid(host_.CurrentValues())) return;
  SendSetCommand(1);
}

void TDeviceConfig::Abort() {
  writeActive_ = false;
  writeStep_ = 1;
  readActive_ = false;
  readStep_ = 1;
  port_.TimeOut().SetEnabled(false);
}

void TDeviceConfig::Shutdown() {
  Abort();
  sendInfo_.SetEnabled(false);
  shutDown_ = true;
}

void TDeviceConfig::RestoreDefaults() {
  values::DtuValues defaults = values::WithDefaults(host_.CurrentValues());
  std::vector<size_t> rows;
  for (size_t row = 0; row < values::Table().size(); ++row) {
    if (values::IsRestoredByDefaults(row)) rows.push_back(row);
  }
  host_.ShowValues(defaults, rows);
  // Defaults are always written to the DTU; the write ends as a restore-defaults.
  BeginWrite(TAction::RestoreDefaults);
}

void TDeviceConfig::WriteCheck(const std::string& cleaned) {
  // A refusal ("ERROR") must end the write even though it carries capital letters that look like an OK.
  const bool accepted = cleaned.find("OK") != std::string::npos && cleaned.find("ERROR") == std::string::npos;
  if (!accepted) {
    // The reply is already in the log; the steps before it stay applied in the DTU.
    if (writeActive_) AddInfo(lang::lang_Info_Refused, CommandWithoutLineEnd(port_.LastCommand()));
    EndWrite(TOutcome::Refused, port_.LastCommand());
    return;
  }
  if (writeStep_ < 10) {
    // Raised before the next command is built, so a reply handled during the port switch's pause already
    // belongs to the new step.
    ++writeStep_;
    SendSetCommand(writeStep_);
  } else {
    writeActive_ = false;
    writeStep_ = 1;
    AddInfo(lang::lang_Info_SetSuccess);
    RaiseEnd(writeAction_, TOutcome::Succeeded, port_.LastCommand());
  }
}

void TDeviceConfig::ReadAdvance() {
  if (readStep_ < 3) {
    ++readStep_;
    SendQuery(readStep_);
    return;
  }
  readActive_ = false;
  readStep_ = 1;
  if (!readRefused_.empty()) {
    AddInfo(lang::lang_Info_Refused, CommandWithoutLineEnd(readRefused_));
    RaiseEnd(TAction::Read, TOutcome::Refused, readRefused_);
  } else if (!readUnread_.empty()) {
    LogUnreadable(readUnread_, UnchangedFields(0));
    RaiseEnd(TAction::Read, TOutcome::Unreadable, readUnread_);
  } else {
    AddInfo(lang::lang_Info_ReadSuccess);
    RaiseEnd(TAction::Read, TOutcome::Succeeded, port_.LastCommand());
  }
}

void TDeviceConfig::SwitchPortBeforeStep(int step, const values::DtuValues& values) {
  // The DTU answered step 8 in the old format and switches after it; step 9's answer comes at the old baud
  // rate and switches that. The PC follows one stage at a time; the host takes the settings as its choice
  // without a change event, so the port is re-opened here once.
  PortLine line = LineFromListIndexes(
      {values.IndexOf("BaudRate"), values.IndexOf("Parity"), values.IndexOf("Byte"), values.IndexOf("Stop")});
  if (step == 9) line.baudRate.reset();
  host_.ChooseLine(line);
  port_.OpenComPort();
  // Gives the adapter time to settle on the new line settings before the next command goes out.
  DelayWithMessages(200);
}

void TDeviceConfig::tmr_TimeOutTimer(ui::TTimer& Sender) {
  EndAllSequences(TOutcome::TimedOut, port_.LastCommand(), [&] {
    AddInfo(lang::lang_receive_Timeout);
    Sender.SetEnabled(false);
  });
}

void TDeviceConfig::tmr_SendInfoTimer(ui::TTimer& Sender) {
  AddInfo(lang::lang_Info_SendInfo);
  Sender.SetEnabled(false);
}

void TDeviceConfig::Send(const std::string& text, bool forWrite) {
  // A host that went away during the pause before steps 9 and 10 sends nothing more.
  if (shutDown_) return;
  // The port control's "not opened" line is the verdict of a sequence that cannot send.
  if (port_.SendCommand(text)) return;
  if (forWrite) {
    EndWrite(TOutcome::PortClosed, text);
  } else {
    EndRead(TOutcome::PortClosed, text);
  }
}

void TDeviceConfig::EndWrite(TOutcome outcome, const std::string& command) {
  if (!writeActive_) return;
  writeActive_ = false;
  writeStep_ = 1;
  RaiseEnd(writeAction_, outcome, command);
}

void TDeviceConfig::EndRead(TOutcome outcome, const std::string& command) {
  if (!readActive_) return;
  readActive_ = false;
  readStep_ = 1;
  RaiseEnd(TAction::Read, outcome, command);
}

void TDeviceConfig::EndAllSequences(TOutcome outcome, const std::string& command,
                                    const std::function<void()>& beforeEvents) {
  const bool wasWriting = writeActive_;
  const bool wasReading = readActive_;
  writeActive_ = false;
  writeStep_ = 1;
  readActive_ = false;
  readStep_ = 1;
  if (beforeEvents) beforeEvents();
  if (wasWriting) RaiseEnd(writeAction_, outcome, command);
  if (wasReading) RaiseEnd(TAction::Read, outcome, command);
}

void TDeviceConfig::RaiseEnd(TAction action, TOutcome outcome, const std::string& command) {
  if (!OnSequenceEnd) return;
  TSequenceEnd end{action, outcome, command, {}};
  if (action == TAction::Read && outcome == TOutcome::Unreadable) end.unchanged = UnchangedFields(0);
  OnSequenceEnd(end);
}

}  // namespace config
