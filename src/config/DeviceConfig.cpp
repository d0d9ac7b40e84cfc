#include "config/DeviceConfig.h"

#include "lang/CheckRows.h"
#include "values/Commands.h"

namespace config {

TDeviceConfig::TDeviceConfig(TConversationHost& host, TPortControl& port, lang::TLangHolder& lang,
                             platform::EventLoop& loop, ui::TTimer& sendInfo)
    : host_(host), port_(port), lang_(lang), loop_(loop), sendInfo_(sendInfo) {
  port_.TimeOut().OnTimer = [this](ui::TTimer& sender) { tmr_TimeOutTimer(sender); };
  sendInfo_.OnTimer = [this](ui::TTimer& sender) { tmr_SendInfoTimer(sender); };
  // No trap here: the reply handler catches every error of its own.
  port_.OnReceiveData = [this](const char* buffer, uint16_t length) {
    Comm1ReceiveData(&port_, buffer, length);
  };
  // A lost port answers nothing more: the running sequences end now, not at the time-out.
  port_.OnPortLost = [this] {
    port_.TimeOut().SetEnabled(false);
    EndAllSequences(TOutcome::PortClosed, port_.LastCommand());
  };
}

void TDeviceConfig::AddInfo(const lang::LangRow& row, const std::string& tail) {
  host_.AddInfo(lang_.Text(row) + tail);
}

void TDeviceConfig::SendSetCommand(int step) {
  if (step < 1 || step > 10) return;
  if (step == 9 || step == 10) {
    SwitchPortBeforeStep(step, host_.CurrentValues());
    // The pause handles messages: a reply, a time-out or a lost port may have ended the write meanwhile,
    // and nothing is sent after a sequence has ended.
    if (!writeActive_) return;
  }
  // Asked for only now: the pause before steps 9 and 10 handles messages, and the host may have changed a
  // value meanwhile. A value that became one the DTU cannot take ends the write before it is sent.
  const values::DtuValues values = host_.CurrentValues();
  if (writeActive_ && RefuseInvalid(values)) return;
  Send(values::CommandText(step, values), true);
}

void TDeviceConfig::SendQuery(int step) {
  if (step < 1 || step > 3) return;
  Send(values::QueryText(step), false);
}

void TDeviceConfig::DelayWithMessages(uint32_t ms) { loop_.WaitWithMessages(ms); }

std::string CommandWithoutLineEnd(std::string command) {
  while (!command.empty() && (command.back() == '\r' || command.back() == '\n')) command.pop_back();
  return command;
}

std::string RuleText(lang::TLangHolder& lang, const values::Problem& problem) {
  std::string rule;
  switch (problem.rule) {
    case values::Rule::Number:
      rule = lang.Text(lang::lang_Rule_Number) + std::to_string(problem.min) + lang.Text(lang::lang_Rule_To) +
             std::to_string(problem.max);
      break;
    case values::Rule::ListItem:
      rule = lang.Text(lang::lang_Rule_List) + std::to_string(problem.max);
      break;
    case values::Rule::HexPairs:
      rule = lang.Text(lang::lang_Rule_Hex);
      break;
    case values::Rule::LineBreak:
      rule = lang.Text(lang::lang_Rule_LineBreak);
      break;
    case values::Rule::Quote:
      rule = lang.Text(lang::lang_Rule_Quote);
      break;
    case values::Rule::Empty:
      rule = lang.Text(lang::lang_Rule_Empty);
      break;
    case values::Rule::NotGbk:
      rule = lang.Text(lang::lang_Rule_NotGbk);
      break;
  }
  return rule;
}

std::string ProblemLine(lang::TLangHolder& lang, const std::string& fieldName,
                        const values::Problem& problem) {
  return lang.Text(lang::lang_Info_NotSent) + fieldName + ": " + RuleText(lang, problem);
}

bool TDeviceConfig::RefuseInvalid(const values::DtuValues& values) {
  const auto problem = values::Check(values);
  if (!problem) return false;
  host_.AddInfo(ProblemLine(lang_, host_.FieldName(problem->row), *problem));
  host_.ShowProblem(*problem);
  if (writeActive_) {
    writeActive_ = false;
    writeStep_ = 1;
    // No command is concerned: the one the value belongs to was never built.
    if (OnSequenceEnd) OnSequenceEnd(TSequenceEnd{writeAction_, TOutcome::Invalid, "", {}, problem});
    UpdateBusy();
  }
  return true;
}

}  // namespace config
