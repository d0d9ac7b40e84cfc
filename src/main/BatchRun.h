#pragma once
// One device action on every port of the command line at once: a TPortJob per port, all on one loop, the
// log of each port to standard error as it comes, then a last line per port and, for a read, the section
// read from each DTU on standard output (for scan, the line settings found).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lang/LangHolder.h"
#include "main/CliOptions.h"
#include "main/Console.h"
#include "main/OutputFiles.h"
#include "main/PortJob.h"
#include "main/Report.h"
#include "main/Units.h"
#include "platform/EventLoop.h"

namespace cli {

// How often the run looks at its ports and at a pending stop request while nothing else happens.
inline constexpr uint32_t kPollIntervalMs = 25;

class TBatchRun {
 public:
  TBatchRun(platform::EventLoop& loop, const CliOptions& options, Console& console);
  ~TBatchRun();
  TBatchRun(const TBatchRun&) = delete;
  TBatchRun& operator=(const TBatchRun&) = delete;

  // Runs the action until every port has finished, or until pendingSignal (looked at every few
  // milliseconds, on the loop's thread) returns a signal number. Returns the exit status: 0 every port
  // succeeded, 1 any failed or an output could not be written, 2 input that cannot be used (a settings
  // file, a units file, a value that cannot be sent, an output that is also an input, a report that cannot
  // be written before any port opens), 128 + the signal when stopped.
  int Run(const std::function<int()>& pendingSignal = {});

  // The ports' jobs, in the order of the units, once Run has built them.
  const std::vector<std::unique_ptr<TPortJob>>& Jobs() const { return jobs_; }

 private:
  std::optional<std::string> SettingsFileProblem() const;
  // The values of each unit and the PC line settings from the settings file and the options; a message for
  // the first value that cannot be sent.
  std::optional<std::string> PrepareValues();
  void ReportPort(const TPortJob& job);
  void PrintSections();
  void PrintLinesFound();
  ReportRow RowOf(size_t job) const;
  // The row of a job that has just ended goes to the report at once.
  void JobEnded(size_t job);
  // Says once that the report could not be written, naming the file and the reason.
  void ReportFileFailed();

  platform::EventLoop& loop_;
  const CliOptions& options_;
  Console& console_;
  lang::TLangHolder lang_;
  // In the order of the jobs.
  std::vector<Unit> units_;
  std::vector<values::DtuValues> unitValues_;
  config::PortLine line_;
  std::vector<std::unique_ptr<TPortJob>> jobs_;
  // Whether each job's row is in the report.
  std::vector<bool> ended_;
  // Opened before any port, so that a report that cannot be written is known before a DTU is changed.
  std::optional<TReportFile> report_;
  bool reportFailed_ = false;
};

}  // namespace cli
