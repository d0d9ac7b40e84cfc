#include "config/DeviceConfig.h"
#include "lang/DialogueRows.h"
#include "lang/OutcomeRows.h"
#include "values/OutsideValues.h"

namespace config {

void TDeviceConfig::StartRead() {
  if (Busy()) {
    AddInfo(lang::lang_Info_Busy);
    return;
  }
  readActive_ = true;
  readStep_ = 1;
  readRefused_.clear();
  readUnread_.clear();
  readRows_.clear();
  UpdateBusy();
  SendQuery(1);
}

void TDeviceConfig::StartWriteAll() {
  if (Busy()) {
    AddInfo(lang::lang_Info_Busy);
    return;
  }
  BeginWrite(TAction::WriteAll);
}

void TDeviceConfig::BeginWrite(TAction action) {
  writeAction_ = action;
  writeActive_ = true;
  writeStep_ = 1;
  UpdateBusy();
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
  verifying_ = false;
  awaited_.clear();
  answerLines_.clear();
  port_.TimeOut().SetEnabled(false);
  UpdateBusy();
}

void TDeviceConfig::Cancel() {
  if (!writeActive_ && !readActive_ && !verifying_) return;
  port_.TimeOut().SetEnabled(false);
  awaited_.clear();
  answerLines_.clear();
  EndAllSequences(TOutcome::Cancelled, port_.LastCommand(), [this] { AddInfo(lang::lang_Info_Cancelled); });
}

void TDeviceConfig::SetSearching(bool searching) {
  searching_ = searching;
  UpdateBusy();
}

void TDeviceConfig::UpdateBusy() {
  if (Busy() == lastBusy_) return;
  lastBusy_ = Busy();
  if (OnBusyChanged) OnBusyChanged();
}

void TDeviceConfig::Shutdown() {
  Abort();
  sendInfo_.SetEnabled(false);
  shutDown_ = true;
}

void TDeviceConfig::RestoreDefaults() {
  if (Busy()) {
    AddInfo(lang::lang_Info_Busy);
    return;
  }
  values::DtuValues defaults = values::WithDefaults(host_.CurrentValues());
  std::vector<size_t> rows;
  for (size_t row = 0; row < values::Table().size(); ++row) {
    if (values::IsRestoredByDefaults(row)) rows.push_back(row);
  }
  host_.ShowValues(defaults, rows);
  // Defaults are always written to the DTU; the write ends as a restore-defaults.
  BeginWrite(TAction::RestoreDefaults);
}

void TDeviceConfig::WriteAnswered(const std::string& final, const std::string& command) {
  if (final != "OK") {
    // The steps before it stay applied in the DTU. The verdict names the result (ERROR, +CME ERROR: n).
    AddInfo(lang::lang_Info_Refused, CommandWithoutLineEnd(command) + " (" + final + ")");
    EndWrite(TOutcome::Refused, command);
    return;
  }
  if (writeStep_ < 10) {
    // Raised before the next command is built, so that while it is prepared (the pause before steps 9 and
    // 10) the write already names it.
    ++writeStep_;
    SendSetCommand(writeStep_);
  } else {
    WriteDone();
  }
}

void TDeviceConfig::WriteDone() {
  writeActive_ = false;
  writeStep_ = 1;
  if (!VerifyWrites) {
    AddInfo(lang::lang_Info_SetSuccess);
    RaiseEnd(writeAction_, TOutcome::Succeeded, port_.LastCommand());
    return;
  }
  // The DTU answered OK to every setting; only reading it back shows whether it kept them.
  written_ = host_.CurrentValues();
  readBack_ = written_;
  verifying_ = true;
  readActive_ = true;
  readStep_ = 1;
  readRefused_.clear();
  readUnread_.clear();
  readRows_.clear();
  SendQuery(1);
}

void TDeviceConfig::EndVerify() {
  verifying_ = false;
  if (!readRefused_.empty() || !readUnread_.empty()) {
    // The write was accepted but what the DTU holds now could not be told: no success.
    const std::string& command = !readRefused_.empty() ? readRefused_ : readUnread_;
    if (!readRefused_.empty()) {
      AddInfo(lang::lang_Info_Refused, CommandWithoutLineEnd(command) + readRefusedResult_);
    } else {
      LogUnreadable(command, UnchangedFields(0));
    }
    RaiseEnd(writeAction_, readRefused_.empty() ? TOutcome::Unreadable : TOutcome::Refused, command);
    return;
  }
  std::vector<std::string> lost;
  for (const size_t row : values::NotKept(written_, readBack_)) lost.push_back(host_.FieldName(row));
  if (lost.empty()) {
    AddInfo(lang::lang_Info_SetSuccess);
    RaiseEnd(writeAction_, TOutcome::Succeeded, port_.LastCommand());
    return;
  }
  std::string names;
  for (size_t i = 0; i < lost.size(); ++i) names += (i == 0 ? "" : ", ") + lost[i];
  AddInfo(lang::lang_Info_NotKept, names);
  if (OnSequenceEnd) OnSequenceEnd(TSequenceEnd{writeAction_, TOutcome::NotKept, port_.LastCommand(), lost});
  UpdateBusy();
}

void TDeviceConfig::ReadAdvance() {
  if (readStep_ < 3) {
    ++readStep_;
    SendQuery(readStep_);
    return;
  }
  readActive_ = false;
  readStep_ = 1;
  if (verifying_) {
    EndVerify();
    return;
  }
  if (!readRefused_.empty()) {
    AddInfo(lang::lang_Info_Refused, CommandWithoutLineEnd(readRefused_) + readRefusedResult_);
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
  // Gives the adapter time to settle on the new line settings before the next command goes out. What arrives
  // meanwhile answers nothing: no command is awaited.
  DelayWithMessages(200);
}

void TDeviceConfig::tmr_TimeOutTimer(ui::TTimer& Sender) {
  awaited_.clear();
  answerLines_.clear();
  EndAllSequences(TOutcome::TimedOut, port_.LastCommand(), [&] {
    AddInfo(lang::lang_receive_Timeout);
    Sender.SetEnabled(false);
  });
}

void TDeviceConfig::tmr_SendInfoTimer(ui::TTimer& Sender) {
  AddInfo(lang::lang_Info_SendInfo);
  Sender.SetEnabled(false);
}

bool TDeviceConfig::SendTyped(const std::string& command) {
  if (shutDown_) return false;
  if (Busy()) {
    AddInfo(lang::lang_Info_Busy);
    return false;
  }
  awaited_.clear();
  pending_.clear();
  if (!port_.SendCommand(command + "\r\n")) return false;
  port_.TimeOut().SetEnabled(false);
  return true;
}

void TDeviceConfig::Send(const std::string& text, bool forWrite) {
  // A host that went away during the pause before steps 9 and 10 sends nothing more.
  if (shutDown_) return;
  // The answer of this command is awaited from now on: set before the bytes go out, as a chunk may be handled
  // before SendCommand returns.
  awaited_ = text;
  answerLines_.clear();
  // What arrived before the command went out cannot answer it: a doubled OK in the chunk that held the last
  // answer is set aside, not taken for this one.
  pending_.clear();
  // The port control's "not opened" line is the verdict of a sequence that cannot send.
  if (port_.SendCommand(text)) return;
  awaited_.clear();
  if (forWrite) {
    EndWrite(TOutcome::PortClosed, text);
  } else if (verifying_) {
    EndAllSequences(TOutcome::PortClosed, text);
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
  // A read-back is the write's own end: it ends as the write.
  const bool wasWriting = writeActive_ || verifying_;
  const bool wasReading = readActive_ && !verifying_;
  writeActive_ = false;
  writeStep_ = 1;
  readActive_ = false;
  readStep_ = 1;
  verifying_ = false;
  awaited_.clear();
  if (beforeEvents) beforeEvents();
  if (wasWriting) RaiseEnd(writeAction_, outcome, command);
  if (wasReading) RaiseEnd(TAction::Read, outcome, command);
  UpdateBusy();
}

void TDeviceConfig::RaiseEnd(TAction action, TOutcome outcome, const std::string& command) {
  if (OnSequenceEnd) {
    TSequenceEnd end{action, outcome, command, {}};
    if (action == TAction::Read && outcome == TOutcome::Unreadable) end.unchanged = UnchangedFields(0);
    OnSequenceEnd(end);
  }
  UpdateBusy();
}

}  // namespace config
