#include "main/BatchRun.h"

#include <unistd.h>

#include <fstream>

#include "app/Tfrm_Main.h"
#include "lang/OutcomeRows.h"
#include "main/DtuSection.h"
#include "platform/ProgramFolder.h"
#include "settings/IniFile.h"
#include "ui/DeviceFields.h"

namespace cli {
namespace {

// Longer than any reply time-out, so that only the reply time-out ends a try.
constexpr int kMaxProbeSeconds = 24 * 60 * 60;

// A read shows the two command texts kept only in the settings file as the DTU listed them, and only when it
// did: a read tells what the DTU reported and nothing else.
CommandTexts ShowListedTexts(app::Tfrm_Main& form) {
  const auto& listedMux = form.Device.ListedCipmux;
  const auto& listedMode = form.Device.ListedCipmode;
  if (listedMux) form.CipmuxText = "AT+CIPMUX=" + *listedMux;
  if (listedMode) form.CipmodeText = "AT+CIPMODE=" + *listedMode;
  return {listedMux.has_value(), listedMode.has_value()};
}

}  // namespace

TBatchRun::TBatchRun(platform::EventLoop& loop, const CliOptions& options, Console& console)
    : loop_(loop), options_(options), console_(console), unitSettings_(options.iniFile) {}

TBatchRun::~TBatchRun() {
  // Each job closes its port and ends its threads before the language list it speaks through goes.
  jobs_.clear();
  lang_.Release();
}

std::optional<std::string> TBatchRun::SettingsFileProblem() const {
  if (!options_.iniFile) return std::nullopt;
  const std::string& path = *options_.iniFile;
  if (!std::ifstream(path, std::ios::binary).is_open()) return "cannot read settings file " + path;
  // A write without the section would put the defaults into the DTU while the user meant other values.
  if (options_.action == Action::Write && settings::IniFile(path).ReadSection(ui::kDtuSection).empty()) {
    return "settings file " + path + " has no [DTU] section";
  }
  return std::nullopt;
}

int TBatchRun::Run(const std::function<int()>& pendingSignal) {
  if (const auto problem = SettingsFileProblem()) {
    console_.Error("dtu-config: " + *problem);
    return 2;
  }

  // Every unit is checked before the first port opens: a batch with a mistake in it changes no DTU.
  auto resolved = ResolveUnits(options_);
  if (const auto* error = std::get_if<UnitsError>(&resolved)) {
    console_.Error("dtu-config: " + error->message);
    return 2;
  }
  units_ = std::get<std::vector<Unit>>(std::move(resolved));
  std::vector<std::string> iniPaths;
  try {
    for (const Unit& unit : units_) iniPaths.push_back(unitSettings_.FileFor(unit));
  } catch (const std::exception& error) {
    console_.Error(std::string("dtu-config: ") + error.what());
    return 2;
  }

  if (options_.reportFile) {
    report_.open(*options_.reportFile, std::ios::binary | std::ios::trunc);
    if (!report_.is_open()) {
      console_.Error("dtu-config: cannot write report file " + *options_.reportFile);
      return 2;
    }
  }

  std::string langFile = app::Tfrm_Main::FilePath("lang.txt");
  if (!platform::FileExists(langFile)) langFile.clear();
  lang_.Create(langFile, options_.chinese.value_or(lang::IsSystemChinese()));

  const bool several = units_.size() > 1;
  const auto sinkFor = [this, several](const std::string& device) -> LineSink {
    const std::string prefix = several ? device + ": " : "";
    return [this, prefix](std::string_view line) { console_.Error(prefix + std::string(line)); };
  };

  // Ticks now and then so that log lines show while a port pauses between steps, and a stop request and
  // the overall limits are seen even when no port has anything to say.
  auto poll = loop_.CreateTimer(
      [this] {
        for (auto& job : jobs_) {
          if (job->Result() == Outcome::Running) job->FlushLog();
        }
      },
      kPollIntervalMs);
  poll->SetEnabled(true);

  int signal = 0;
  const bool searching = options_.action == Action::Scan || options_.autoBaud;
  if (searching) {
    signal = SearchLines(pendingSignal, sinkFor);
    if (options_.action == Action::Scan) return ReportScan(signal);
    try {
      for (size_t i = 0; i < units_.size(); ++i) {
        if (const auto& found = searches_[i]->Found()) {
          iniPaths[i] = unitSettings_.FileWithLine(iniPaths[i], units_[i], *found);
        }
      }
    } catch (const std::exception& error) {
      console_.Error(std::string("dtu-config: ") + error.what());
      return 2;
    }
  }

  for (size_t i = 0; i < units_.size(); ++i) {
    jobs_.push_back(std::make_unique<TPortJob>(loop_, lang_, options_, iniPaths[i], units_[i].port,
                                               sinkFor(units_[i].port)));
    // A DTU that answered at no settings is not worth opening its port again for.
    if (searching && !searches_[i]->Found()) {
      if (signal != 0) {
        jobs_.back()->Finish(Outcome::Interrupted, lang_.Text(lang::lang_Cli_Interrupted));
      } else if (searches_[i]->NeverOpened()) {
        jobs_.back()->Finish(Outcome::NotOpened, lang_.Text(lang::lang_Cli_NotOpened));
      } else {
        jobs_.back()->Finish(Outcome::NotFound, lang_.Text(lang::lang_Cli_NoLine));
      }
    }
  }

  if (signal == 0) {
    for (auto& job : jobs_) {
      if (job->Result() == Outcome::Running) job->Start();
    }
    // Jobs are judged and finished only here, between events, never inside a port's own nested wait.
    loop_.RunUntil([&] {
      if (pendingSignal && (signal = pendingSignal()) != 0) return true;
      bool allDone = true;
      for (auto& job : jobs_) allDone = job->Update() && allDone;
      return allDone;
    });
  }
  poll.reset();

  for (auto& job : jobs_) job->Finish(Outcome::Interrupted, lang_.Text(lang::lang_Cli_Interrupted));
  for (const auto& job : jobs_) ReportPort(*job);
  const std::vector<ReportRow> rows = ReportRows();
  WriteReport(rows);
  if (signal != 0) return 128 + signal;
  if (options_.json && options_.action == Action::Read) {
    console_.Output(ReadJson(rows));
  } else {
    PrintSections();
  }
  for (const auto& job : jobs_) {
    if (job->Result() != Outcome::Succeeded) return 1;
  }
  return 0;
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

int TBatchRun::SearchLines(const std::function<int()>& pendingSignal,
                           const std::function<LineSink(const std::string&)>& sinkFor) {
  probeOptions_ = options_;
  probeOptions_.action = Action::Read;
  probeOptions_.baudRate.reset();
  probeOptions_.autoBaud = false;
  probeOptions_.verify = false;
  // A try ends at the reply time-out of the settings it tries; no other limit may cut it shorter.
  probeOptions_.timeoutSeconds = kMaxProbeSeconds;
  for (const Unit& unit : units_) {
    searches_.push_back(std::make_unique<TLineSearch>(loop_, lang_, probeOptions_, unitSettings_, unit.port,
                                                      sinkFor(unit.port)));
  }
  for (auto& search : searches_) search->Start();
  int signal = 0;
  loop_.RunUntil([&] {
    if (pendingSignal && (signal = pendingSignal()) != 0) return true;
    bool allDone = true;
    for (auto& search : searches_) allDone = search->Update() && allDone;
    return allDone;
  });
  for (auto& search : searches_) search->Stop();
  return signal;
}

int TBatchRun::ReportScan(int signal) {
  std::vector<ReportRow> rows;
  bool allFound = true;
  for (size_t i = 0; i < searches_.size(); ++i) {
    const TLineSearch& search = *searches_[i];
    ReportRow row{search.Device(),   units_[i].adapterSerial, Action::Scan, Outcome::Succeeded, "",
                  search.ElapsedMs()};
    if (search.Found()) {
      row.line = config::Describe(*search.Found());
    } else if (signal != 0) {
      row.outcome = Outcome::Interrupted;
    } else if (search.NeverOpened()) {
      row.outcome = Outcome::NotOpened;
      row.reason = lang_.Text(lang::lang_Cli_NotOpened);
    } else {
      row.outcome = Outcome::NotFound;
      row.reason = lang_.Text(lang::lang_Cli_NoLine);
    }
    allFound = allFound && search.Found();
    std::string line = search.Device() + ": ";
    if (row.outcome == Outcome::Succeeded) {
      line += lang_.Text(lang::lang_Cli_Succeeded);
    } else if (row.outcome == Outcome::Interrupted) {
      line += lang_.Text(lang::lang_Cli_Interrupted);
    } else {
      line += lang_.Text(lang::lang_Cli_Failed) + row.reason;
    }
    console_.Error(line);
    rows.push_back(std::move(row));
  }
  WriteReport(rows);
  if (signal != 0) return 128 + signal;
  // The settings found go to standard output, one line per DTU, for scripts to pick up.
  for (const ReportRow& row : rows) {
    if (!row.line.empty()) console_.Output(row.port + ": " + row.line + "\n");
  }
  return allFound ? 0 : 1;
}

void TBatchRun::WriteReport(const std::vector<ReportRow>& rows) {
  if (!report_.is_open()) return;
  report_ << (options_.json ? ReportJson(rows) : ReportCsv(rows));
  report_.close();
  if (!report_)
    console_.Error("dtu-config: the report file " + *options_.reportFile + " could not be written");
}

std::vector<ReportRow> TBatchRun::ReportRows() {
  std::vector<ReportRow> rows;
  for (size_t i = 0; i < jobs_.size(); ++i) {
    TPortJob& job = *jobs_[i];
    ReportRow row{job.Device(), units_[i].adapterSerial, options_.action, job.Result(),
                  job.Reason(), job.ElapsedMs()};
    if (!searches_.empty()) {
      const TLineSearch& search = *searches_[i];
      // The job of a port whose search found nothing never ran: its time is the search's.
      row.ms = search.ElapsedMs() + (search.Found() ? job.ElapsedMs() : 0);
      if (search.Found()) row.line = config::Describe(*search.Found());
    }
    if (options_.action != Action::Read) {
      row.values = job.Sent().value_or(SectionValues{});
    } else if (job.Result() == Outcome::Succeeded) {
      row.values = DtuValues(job.Form(), ShowListedTexts(job.Form()));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void TBatchRun::PrintSections() {
  if (options_.action != Action::Read) return;
  const bool terminal = isatty(fileno(console_.OutFile())) == 1;
  const bool several = jobs_.size() > 1;
  for (const auto& job : jobs_) {
    if (job->Result() != Outcome::Succeeded) continue;
    // A comment line names the DTU when there are several; the loader skips it.
    std::string text = several ? "; " + job->Device() + "\n" : "";
    app::Tfrm_Main& form = job->Form();
    text += DtuSection(form, "\n", ShowListedTexts(form));
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
