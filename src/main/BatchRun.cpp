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
  for (size_t i = 0; i < units_.size(); ++i) {
    const std::string& device = units_[i].port;
    const std::string prefix = several ? device + ": " : "";
    jobs_.push_back(std::make_unique<TPortJob>(
        loop_, lang_, options_, iniPaths[i], device,
        [this, prefix](std::string_view line) { console_.Error(prefix + std::string(line)); }));
  }

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

  for (auto& job : jobs_) job->Start();
  int signal = 0;
  // Jobs are judged and finished only here, between events, never inside a port's own nested wait.
  loop_.RunUntil([&] {
    if (pendingSignal && (signal = pendingSignal()) != 0) return true;
    bool allDone = true;
    for (auto& job : jobs_) allDone = job->Update() && allDone;
    return allDone;
  });
  poll.reset();

  for (auto& job : jobs_) job->Finish(Outcome::Interrupted, lang_.Text(lang::lang_Cli_Interrupted));
  for (const auto& job : jobs_) ReportPort(*job);
  const std::vector<ReportRow> rows = ReportRows();
  if (report_.is_open()) {
    report_ << (options_.json ? ReportJson(rows) : ReportCsv(rows));
    report_.close();
    if (!report_)
      console_.Error("dtu-config: the report file " + *options_.reportFile + " could not be written");
  }
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

std::vector<ReportRow> TBatchRun::ReportRows() {
  std::vector<ReportRow> rows;
  for (size_t i = 0; i < jobs_.size(); ++i) {
    TPortJob& job = *jobs_[i];
    ReportRow row{job.Device(),
                  units_[i].adapterSerial,
                  options_.action,
                  job.Result(),
                  job.Reason(),
                  job.ElapsedMs(),
                  {}};
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
