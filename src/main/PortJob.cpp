#include "main/PortJob.h"

#include <algorithm>

#include "app/LangApply.h"
#include "lang/OutcomeRows.h"
#include "settings/Settings.h"

namespace cli {

void TLineDialogHost::ShowMessage(const std::string& text, const std::string&, ui::MessageIcon) {
  // A message box may hold several lines; the log takes them one by one.
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    sink_(std::string_view(text).substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

void TLineDialogHost::ShowModal(ui::TForm& form) { form.Close(); }

TPortJob::TPortJob(platform::EventLoop& loop, lang::TLangHolder& lang, const CliOptions& options,
                   const std::string& iniPath, std::string device, LineSink sink)
    : loop_(loop),
      lang_(lang),
      options_(options),
      device_(std::move(device)),
      sink_(std::move(sink)),
      host_(sink_),
      application_(loop, host_) {
  form_ = std::make_unique<app::Tfrm_Main>(application_, lang_);
  application_.Title = form_->Caption();
  // The language comes from the command line, not from the file.
  settings::LoadSettings(*form_, iniPath, lang_.IsChinese());
  app::ApplyMainLang(*form_, lang_.List());
  // Only the first end counts: the action is one sequence.
  form_->Device.OnSequenceEnd = [this](const config::TSequenceEnd& end) {
    if (!end_) end_ = end;
  };

  // The port list offers COM1..COM9 and the devices present; a path it does not list is added, as the
  // window adds the devices it finds.
  std::vector<std::string> names = form_->cbb_Open_ComName.Items();
  auto found = std::find(names.begin(), names.end(), device_);
  if (found == names.end()) {
    names.push_back(device_);
    form_->cbb_Open_ComName.SetItems(names);
    found = names.end() - 1;
  }
  form_->cbb_Open_ComName.SetItemIndex(static_cast<int>(found - names.begin()));

  if (options_.baudRate) {
    const auto& rates = form_->cbb_Open_BaudRate.Items();
    const auto rate = std::find(rates.begin(), rates.end(), std::to_string(*options_.baudRate));
    form_->cbb_Open_BaudRate.SetItemIndex(static_cast<int>(rate - rates.begin()));
  }

  apn_ = std::make_unique<app::Tfrm_APN>(application_, lang_, form_->edt_APN_other);
  apn_->FormCreate();
  form_->frm_APN = apn_.get();
}

TPortJob::~TPortJob() {
  // The dialog writes into the main window's APN field, so it goes first; the main window closes its port
  // and ends the port's threads.
  form_->frm_APN = nullptr;
  apn_.reset();
  form_.reset();
}

void TPortJob::Start() {
  startTick_ = loop_.TickCount();
  application_.Dispatch([this] { form_->btn_Com.Click(); });
  FlushLog();
  if (!form_->PortControl.PortOpened) {
    // The same reason the log gives, in the language of the run.
    std::string reason = lang_.Text(lang::lang_Cli_NotOpened);
    const serial::OpenFailure failure = form_->PortControl.LastOpenFailure();
    if (failure != serial::OpenFailure::Other && failure != serial::OpenFailure::None) {
      reason += lang_.Text(*config::OpenFailureRow(failure));
    }
    Finish(Outcome::NotOpened, reason);
    return;
  }
  ui::TButton& button = options_.action == Action::Read    ? form_->btn_Read
                        : options_.action == Action::Write ? form_->btn_SetAll
                                                           : form_->btn_Default;
  application_.Dispatch([&button] { button.Click(); });
}

void TPortJob::FlushLog() {
  const auto& lines = form_->mmo_Info.Lines();
  if (form_->mmo_Info.ClearCount() != clearsSeen_) {
    clearsSeen_ = form_->mmo_Info.ClearCount();
    linesShown_ = 0;
  }
  for (; linesShown_ < lines.size(); ++linesShown_) sink_(lines[linesShown_]);
}

bool TPortJob::SequenceActive() const {
  if (written_) return form_->Device.ReadActive();
  return options_.action == Action::Read ? form_->Device.ReadActive() : form_->Device.WriteActive();
}

void TPortJob::Conclude(const config::TSequenceEnd& end) {
  const std::string command = config::CommandWithoutLineEnd(end.command);
  switch (end.outcome) {
    case config::TOutcome::Succeeded:
      if (options_.verify && end.action != config::TAction::Read && !written_) {
        // The read-back is a second sequence: its end is the one that counts from now on.
        written_ = WrittenFields(*form_);
        end_.reset();
        application_.Dispatch([this] { form_->btn_Read.Click(); });
        return;
      }
      if (written_) {
        const auto lost = NotKept(*written_, ReadBackFields(*form_));
        if (!lost.empty()) {
          std::string reason = lang_.Text(lang::lang_Cli_NotKept);
          for (size_t i = 0; i < lost.size(); ++i) reason += (i == 0 ? "" : ", ") + lost[i];
          Finish(Outcome::NotKept, reason);
          return;
        }
      }
      Finish(Outcome::Succeeded, "");
      return;
    case config::TOutcome::Refused:
      Finish(Outcome::Refused, lang_.Text(lang::lang_Cli_Refused) + command);
      return;
    case config::TOutcome::TimedOut:
      Finish(Outcome::TimedOut, lang_.Text(lang::lang_Cli_Timeout));
      return;
    case config::TOutcome::Unreadable: {
      std::string reason = lang_.Text(lang::lang_Cli_Unread) + command;
      for (size_t i = 0; i < end.unchanged.size(); ++i) {
        reason += (i == 0 ? lang_.Text(lang::lang_Info_Unchanged) : ", ") + end.unchanged[i];
      }
      Finish(Outcome::Refused, reason);
      return;
    }
    case config::TOutcome::PortClosed:
      // The window would wait here for the user to open the port by hand; nobody can do that here.
      Finish(Outcome::NotOpened, lang_.Text(form_->PortControl.PortLost() ? lang::lang_Cli_PortLost
                                                                          : lang::lang_Cli_NotReopened));
      return;
  }
}

bool TPortJob::Update() {
  if (outcome_ != Outcome::Running) return true;
  FlushLog();
  const uint64_t limitMs = static_cast<uint64_t>(options_.timeoutSeconds) * 1000;
  if (end_) {
    const config::TSequenceEnd end = *end_;  // a read-back replaces it
    if (end.action != config::TAction::Read && !sent_) sent_ = DtuValues(*form_);
    Conclude(end);
  } else if (!SequenceActive()) {
    // No end was reported and nothing runs: the action's handler failed before its first command (its
    // error is in the log).
    Finish(Outcome::Refused, lang_.Text(lang::lang_Cli_NothingSent));
  } else if (static_cast<uint32_t>(loop_.TickCount() - startTick_) >= limitMs) {
    Finish(Outcome::TimedOut, lang_.Text(lang::lang_Cli_NoResult) + std::to_string(options_.timeoutSeconds) +
                                  lang_.Text(lang::lang_Cli_NoResultEnd));
  }
  return outcome_ != Outcome::Running;
}

void TPortJob::Finish(Outcome outcome, std::string reason) {
  if (outcome_ != Outcome::Running) return;
  FlushLog();
  outcome_ = outcome;
  reason_ = std::move(reason);
  finishTick_ = loop_.TickCount();
  form_->Device.Abort();
  form_->tmr_SendInfo.SetEnabled(false);
  form_->PortControl.CloseComPort();
}

uint32_t TPortJob::ElapsedMs() const {
  return (outcome_ == Outcome::Running ? loop_.TickCount() : finishTick_) - startTick_;
}

}  // namespace cli
