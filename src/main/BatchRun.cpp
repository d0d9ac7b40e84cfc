#include "main/BatchRun.h"

#include <unistd.h>

#include <cstring>
#include <fstream>

#include "lang/OutcomeRows.h"
#include "platform/FilePath.h"
#include "platform/ProgramFolder.h"
#include "settings/Settings.h"
#include "values/Checks.h"

namespace cli {

TBatchRun::TBatchRun(platform::EventLoop& loop, const CliOptions& options, Console& console)
    : loop_(loop), options_(options), console_(console) {}

TBatchRun::~TBatchRun() {
  // Each job closes its port and ends its threads before the language list it speaks through goes.
  jobs_.clear();
  lang_.Release();
}

std::optional<std::string> TBatchRun::SettingsFileProblem() const {
  if (!options_.iniFile) return std::nullopt;
  const std::string& path = *options_.iniFile;
  if (!std::ifstream(platform::NativePath(path), std::ios::binary).is_open())
    return "cannot read settings file " + path;
  // A write without the section would put the defaults into the DTU while the user meant other values.
  if (options_.action == Action::Write &&
      settings::IniFile(path).ReadSection(settings::kDtuSection).empty()) {
    return "settings file " + path + " has no [DTU] section";
  }
  return std::nullopt;
}

std::optional<std::string> TBatchRun::PrepareValues() {
  // The file's sections as the window would load them from program.ini; without a file, the defaults.
  const settings::StoredSettings stored =
      options_.iniFile ? settings::LoadSettings(*options_.iniFile, false) : settings::StoredSettings{};
  line_ = config::LineFromListIndexes({stored.com[1], stored.com[2], stored.com[3], stored.com[4]});
  if (options_.baudRate) line_.baudRate = static_cast<uint32_t>(*options_.baudRate);
  if (options_.line) line_ = config::WholeLine(*options_.line);

  // Every value is checked before the first port opens: a batch with a mistake in it changes no DTU, and no
  // write stops half-way at a value the DTU was bound to refuse.
  const bool several = units_.size() > 1;
  for (const Unit& unit : units_) {
    unitValues_.push_back(WithGivenValues(stored.dtu, unit.values));
    // A read or a search sends none of the values: a settings file that would not do for a write does for
    // them.
    const bool sends = options_.action == Action::Write || options_.action == Action::Defaults;
    if (const auto problem = sends ? values::Check(unitValues_.back()) : std::nullopt) {
      return (several ? unit.port + ": " : "") + values::Table()[problem->row].key + " " +
             values::DescribeRule(*problem);
    }
  }
  return std::nullopt;
}

int TBatchRun::Run(const std::function<int()>& pendingSignal) {
  // First of all: the shell may already have emptied an input that standard output was sent to, and the
  // report must not empty one.
  if (const auto problem = OutputOverInput(options_, fileno(console_.OutFile()))) {
    console_.Error("dtu-config: " + *problem);
    return 2;
  }
  if (const auto problem = SettingsFileProblem()) {
    console_.Error("dtu-config: " + *problem);
    return 2;
  }
  auto resolved = ResolveUnits(options_, console_.Code());
  if (const auto* error = std::get_if<UnitsError>(&resolved)) {
    console_.Error("dtu-config: " + error->message);
    return 2;
  }
  units_ = std::get<std::vector<Unit>>(std::move(resolved));
  if (const auto problem = PrepareValues()) {
    console_.Error("dtu-config: " + *problem);
    return 2;
  }
  if (options_.reportFile) {
    report_.emplace(*options_.reportFile, options_.json);
    if (!report_->Open()) {
      ReportFileFailed();
      return 2;
    }
  }

  std::string langFile = platform::FindProgramFile("lang.txt");
  if (!platform::FileExists(langFile)) langFile.clear();
  lang_.Create(langFile, options_.chinese.value_or(lang::IsSystemChinese()));

  const bool several = units_.size() > 1;
  for (size_t i = 0; i < units_.size(); ++i) {
    const std::string prefix = several ? units_[i].port + ": " : "";
    jobs_.push_back(std::make_unique<TPortJob>(
        loop_, lang_, options_, units_[i].port, unitValues_[i], line_,
        [this, prefix](std::string_view line) { console_.Error(prefix + std::string(line)); }));
  }

  // Ticks now and then so that a stop request and the overall limits are seen even when no port has
  // anything to say.
  auto poll = loop_.CreateTimer([] {}, kPollIntervalMs);
  poll->SetEnabled(true);
  int signal = 0;
  ended_.assign(jobs_.size(), false);
  for (auto& job : jobs_) job->Start();
  // Jobs are judged and finished only here, between events, never inside a port's own nested wait.
  loop_.RunUntil([&] {
    if (pendingSignal && (signal = pendingSignal()) != 0) return true;
    bool allDone = true;
    for (size_t i = 0; i < jobs_.size(); ++i) {
      const bool done = jobs_[i]->Update();
      if (done && !ended_[i]) JobEnded(i);
      allDone = done && allDone;
    }
    return allDone;
  });
  poll.reset();

  for (size_t i = 0; i < jobs_.size(); ++i) {
    jobs_[i]->Finish(Outcome::Interrupted, lang_.Text(lang::lang_Cli_Interrupted));
    if (!ended_[i]) JobEnded(i);
  }
  if (report_ && !report_->Close()) ReportFileFailed();
  for (const auto& job : jobs_) ReportPort(*job);
  if (signal != 0) return 128 + signal;
  if (options_.action == Action::Scan) {
    PrintLinesFound();
  } else if (options_.json && options_.action == Action::Read) {
    std::vector<ReportRow> rows;
    for (size_t i = 0; i < jobs_.size(); ++i) rows.push_back(RowOf(i));
    console_.Output(ReadJson(rows));
  } else {
    PrintSections();
  }
  if (console_.OutputError() != 0) {
    console_.Error("dtu-config: cannot write standard output: " +
                   std::string(std::strerror(console_.OutputError())));
    return 1;
  }
  if (reportFailed_) return 1;
  for (const auto& job : jobs_) {
    if (job->Result() != Outcome::Succeeded) return 1;
  }
  return 0;
}

void TBatchRun::JobEnded(size_t job) {
  ended_[job] = true;
  if (report_ && !report_->Add(RowOf(job))) ReportFileFailed();
}

void TBatchRun::ReportFileFailed() {
  if (reportFailed_) return;
  reportFailed_ = true;
  console_.Error("dtu-config: cannot write report file " + report_->Path() + ": " +
                 std::strerror(report_->Error()));
}

void TBatchRun::ReportPort(const TPortJob& job) {
  std::string line = job.Device() + ": ";
  switch (job.Result()) {
    case Outcome::Succeeded:
      line += lang_.Text(lang::lang_Cli_Succeeded);
      break;
    case Outcome::Interrupted:
      line += lang_.Text(lang::lang_Cli_Interrupted);
      break;
    default:
      line += lang_.Text(lang::lang_Cli_Failed) + job.Reason();
      break;
  }
  console_.Error(line);
}

ReportRow TBatchRun::RowOf(size_t i) const {
  const TPortJob& job = *jobs_[i];
  ReportRow row{job.Device(), units_[i].adapterSerial, options_.action, job.Result(),
                job.Reason(), job.ElapsedMs()};
  if (const auto found = job.Found()) row.line = config::Describe(*found);
  if (options_.action == Action::Write || options_.action == Action::Defaults) {
    if (job.Sent()) row.values = settings::SectionOf(*job.Sent(), settings::AllRows());
  } else if (options_.action == Action::Read && job.Result() == Outcome::Succeeded) {
    row.values = settings::SectionOf(job.Values(), job.ReadRowsTold());
  }
  return row;
}

void TBatchRun::PrintLinesFound() {
  // One line per DTU found, for scripts to pick up.
  for (const auto& job : jobs_) {
    if (const auto found = job->Found())
      console_.Output(job->Device() + ": " + config::Describe(*found) + "\n");
  }
}

void TBatchRun::PrintSections() {
  if (options_.action != Action::Read) return;
  const bool terminal = isatty(fileno(console_.OutFile())) == 1;
  const bool several = jobs_.size() > 1;
  for (const auto& job : jobs_) {
    if (job->Result() != Outcome::Succeeded) continue;
    // A comment line names the DTU when there are several; the loader skips it.
    std::string text = several ? "; " + job->Device() + "\n" : "";
    text += settings::DtuSection(job->Values(), job->ReadRowsTold());
    if (!terminal) {
      console_.Output(text);
      continue;
    }
    // On a terminal the text is for reading: in the terminal's encoding, control bytes shown as escapes.
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find('\n', start);
      console_.Output(ForTerminal(std::string_view(text).substr(start, end - start), console_.Code()) + "\n");
      start = end + 1;
    }
  }
}

}  // namespace cli
