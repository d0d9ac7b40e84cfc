#include "main/PortJob.h"

#include "lang/DialogueRows.h"
#include "lang/OutcomeRows.h"
#include "platform/ProgramFolder.h"
#include "serial/PortNames.h"
#include "settings/IniFile.h"
#include "values/Checks.h"
#include "values/OutsideValues.h"

namespace cli {
namespace {

void SetUpComm(serial::TComm& comm) {
  serial::ApplyStoredDesign(comm);
  // COM1..COM9 lead where the [Ports] section of the program's own program.ini says, as in the window; read
  // at every open, so that an edited mapping counts from the next open on.
  comm.ResolvePath = [](const std::string& name) {
    serial::PortMap map;
    const settings::IniFile ini(platform::SettingsFolder() + "program.ini");
    for (const auto& [key, value] : ini.ReadSection("Ports")) map.emplace(key, value);
    return serial::ResolveDevicePath(name, map);
  };
}

std::optional<config::LineChoice> Whole(const config::PortLine& line) {
  if (!line.baudRate || !line.dataBits || !line.parity || !line.stopBits) return std::nullopt;
  return config::LineChoice{*line.baudRate, *line.dataBits, *line.parity, *line.stopBits};
}

}  // namespace

TPortJob::TPortJob(platform::EventLoop& loop, lang::TLangHolder& lang, const CliOptions& options,
                   std::string device, values::DtuValues values, config::PortLine line, LineSink sink)
    : loop_(loop),
      lang_(lang),
      options_(options),
      deviceName_(std::move(device)),
      sink_(std::move(sink)),
      values_(std::move(values)),
      line_(line),
      dialogs_(sink_),
      application_(loop, dialogs_),
      comm_(loop),
      commLine_(comm_),
      timeOut_(application_, "tmr_TimeOut", 3000),
      sendInfo_(application_, "tmr_SendInfo", 1500),
      port_(*this, commLine_, lang, timeOut_),
      config_(*this, port_, lang, loop, sendInfo_),
      search_(*this, port_, config_, lang, loop) {
  SetUpComm(comm_);
  // write --verify: the conversation reads the DTU back and ends the write as not kept where it differs,
  // as the window does.
  config_.VerifyWrites = options_.verify;
  // Only the first end counts: the action is one sequence.
  config_.OnSequenceEnd = [this](const config::TSequenceEnd& end) {
    if (!end_) end_ = end;
  };
  search_.OnFinished = [this] { searchEnded_ = true; };
}

TPortJob::~TPortJob() {
  search_.Stop(false);
  config_.Shutdown();
  port_.CloseComPort();
  comm_.ClosePort();
}

void TPortJob::AddInfo(const std::string& text) {
  // A search tries a hundred settings in the worst case; its dialogue at each would bury the log, so the
  // command line shows a line per try instead (ChooseLine) and the search's result as the last line.
  if (searching_) return;
  EachLine("  " + text, sink_);
}

void TPortJob::ChooseLine(const config::PortLine& line) {
  line_.Take(line);
  const auto whole = Whole(line_);
  if (searching_ && search_.Running() && whole)
    sink_(lang_.Text(lang::lang_Cli_Trying) + config::Describe(*whole));
}

void TPortJob::ShowValues(const values::DtuValues& values, const std::vector<size_t>&) { values_ = values; }

std::string TPortJob::FieldName(size_t row) { return values::Table()[row].key; }

std::optional<config::LineChoice> TPortJob::Found() const { return search_.Found(); }

void TPortJob::Start() {
  startTick_ = loop_.TickCount();
  if (options_.action == Action::Scan || options_.autoBaud) {
    searching_ = true;
    application_.Dispatch([this] { search_.Start(); });
    return;
  }
  application_.Dispatch([this] { port_.OpenComPort(); });
  if (!port_.PortOpened) {
    // The same reason the log gives, in the language of the run.
    std::string reason = lang_.Text(lang::lang_Cli_NotOpened);
    const serial::OpenFailure failure = port_.LastOpenFailure();
    if (failure != serial::OpenFailure::Other && failure != serial::OpenFailure::None) {
      reason += lang_.Text(*config::OpenFailureRow(failure));
    }
    Finish(Outcome::NotOpened, reason);
    return;
  }
  StartAction();
}

void TPortJob::StartAction() {
  application_.Dispatch([this] {
    switch (options_.action) {
      case Action::Read:
        config_.StartRead();
        break;
      case Action::Write:
        config_.StartWriteAll();
        break;
      case Action::Defaults:
        config_.RestoreDefaults();
        break;
      case Action::Scan:
        break;
    }
  });
}

// The search is over: scan is done, --baud auto goes on with the action at the settings found, with the
// port the search left open.
void TPortJob::JudgeSearch() {
  searching_ = false;
  if (!search_.Found()) {
    if (search_.PortLost()) {
      // No other settings can reach a device that is gone.
      Finish(Outcome::NotOpened, lang_.Text(lang::lang_Cli_PortLost));
    } else if (search_.NeverOpened()) {
      Finish(Outcome::NotOpened, lang_.Text(lang::lang_Cli_NotOpened));
    } else {
      Finish(Outcome::NotFound, lang_.Text(lang::lang_Cli_NoLine));
    }
    return;
  }
  if (options_.action == Action::Scan) {
    Finish(Outcome::Succeeded, "");
    return;
  }
  StartAction();
}

bool TPortJob::SequenceActive() const { return config_.Busy(); }

void TPortJob::Conclude(const config::TSequenceEnd& end) {
  const std::string command = config::CommandWithoutLineEnd(end.command);
  switch (end.outcome) {
    case config::TOutcome::Succeeded:
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
      Finish(Outcome::NotOpened,
             lang_.Text(port_.PortLost() ? lang::lang_Cli_PortLost : lang::lang_Cli_NotReopened));
      return;
    case config::TOutcome::Invalid:
      Finish(Outcome::Refused, end.problem
                                   ? FieldName(end.problem->row) + " " + values::DescribeRule(*end.problem)
                                   : lang_.Text(lang::lang_Cli_NothingSent));
      return;
    case config::TOutcome::NotKept: {
      std::string reason = lang_.Text(lang::lang_Cli_NotKept);
      for (size_t i = 0; i < end.unchanged.size(); ++i) reason += (i == 0 ? "" : ", ") + end.unchanged[i];
      Finish(Outcome::NotKept, reason);
      return;
    }
    case config::TOutcome::Restarted:
      Finish(Outcome::Refused, lang_.Text(lang::lang_Info_Restarted));
      return;
    case config::TOutcome::Cancelled:
      // Nobody cancels a command-line conversation but the job itself, which has its own reason.
      Finish(Outcome::Interrupted, lang_.Text(lang::lang_Cli_Interrupted));
      return;
  }
}

bool TPortJob::Update() {
  if (outcome_ != Outcome::Running) return true;
  // The limit covers the whole job: a search that has not found the line by then ends there too.
  const uint64_t limitMs = static_cast<uint64_t>(options_.timeoutSeconds) * 1000;
  const bool overLimit = static_cast<uint32_t>(loop_.TickCount() - startTick_) >= limitMs;
  if (searching_) {
    if (searchEnded_ || !search_.Running()) {
      JudgeSearch();
    } else if (overLimit) {
      TimedOut();
    }
    return outcome_ != Outcome::Running;
  }
  if (end_) {
    const config::TSequenceEnd end = *end_;
    if (end.action != config::TAction::Read && !sent_) sent_ = values_;
    Conclude(end);
  } else if (!SequenceActive()) {
    // No end was reported and nothing runs: the action's handler failed before its first command (its
    // error is in the log).
    Finish(Outcome::Refused, lang_.Text(lang::lang_Cli_NothingSent));
  } else if (overLimit) {
    TimedOut();
  }
  return outcome_ != Outcome::Running;
}

void TPortJob::TimedOut() {
  Finish(Outcome::TimedOut, lang_.Text(lang::lang_Cli_NoResult) + std::to_string(options_.timeoutSeconds) +
                                lang_.Text(lang::lang_Cli_NoResultEnd));
}

void TPortJob::Finish(Outcome outcome, std::string reason) {
  if (outcome_ != Outcome::Running) return;
  outcome_ = outcome;
  reason_ = std::move(reason);
  finishTick_ = loop_.TickCount();
  // While searching_ holds, the search's cancelled line stays out of the log: the reason says it all.
  search_.Stop(false);
  searching_ = false;
  config_.Abort();
  sendInfo_.SetEnabled(false);
  port_.CloseComPort();
}

uint32_t TPortJob::ElapsedMs() const {
  return (outcome_ == Outcome::Running ? loop_.TickCount() : finishTick_) - startTick_;
}

}  // namespace cli
