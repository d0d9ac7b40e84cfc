#pragma once
// One DTU of a command-line run: its serial port, the port control and the device configuration over it,
// and the line search for scan and --baud auto, driven by this job as their host. The job holds the DTU's
// values and the PC line settings itself and passes every log line on as it comes; it comes to one outcome.

#include <cstdint>
#include <optional>
#include <string>

#include "config/ConversationHost.h"
#include "config/DeviceConfig.h"
#include "config/PortControl.h"
#include "config/PortSearch.h"
#include "config/SequenceEnd.h"
#include "lang/LangHolder.h"
#include "main/CliOptions.h"
#include "settings/DtuSection.h"
#include "main/LogLines.h"
#include "main/Outcome.h"
#include "serial/Comm.h"
#include "serial/CommLine.h"
#include "ui/Application.h"
#include "ui/Timer.h"

namespace cli {

class TPortJob : public config::TConversationHost {
 public:
  // device: what the port opens ("COMn", mapped by the [Ports] section of the program's own program.ini, or
  // a path); values: what a write sends, already checked; line: the PC line settings to open with. Nothing is
  // opened yet. lang must hold its list and outlive the job.
  TPortJob(platform::EventLoop& loop, lang::TLangHolder& lang, const CliOptions& options, std::string device,
           values::DtuValues values, config::PortLine line, LineSink sink);
  ~TPortJob() override;
  TPortJob(const TPortJob&) = delete;
  TPortJob& operator=(const TPortJob&) = delete;

  // scan and --baud auto: starts the search for the line settings; otherwise opens the PC port and starts
  // the action. A port that cannot be opened ends the job at once.
  void Start();
  // Judges the job after an event: the search or the action has come to its end (as the search and the
  // conversation report it), or the overall limit (--timeout, from Start: the search and the action) has
  // passed. Returns whether the job is over.
  bool Update();
  // Ends a running job with this outcome: the search and the conversation are dropped and the port closed.
  void Finish(Outcome outcome, std::string reason);

  const std::string& Device() const { return deviceName_; }
  Outcome Result() const { return outcome_; }
  const std::string& Reason() const { return reason_; }
  // scan, --baud auto: the line settings the DTU answered at, once found.
  std::optional<config::LineChoice> Found() const;
  // The values held now: those given, then what the read took or the write-all sent.
  const values::DtuValues& Values() const { return values_; }
  // read: the rows the section and the report tell (see RowsTold).
  std::vector<size_t> ReadRowsTold() const { return settings::RowsTold(config_.ReadRows()); }
  // write and defaults: the [DTU] values the write-all sent (or tried to), once it came to its end.
  const std::optional<values::DtuValues>& Sent() const { return sent_; }
  // From Start to the end of the job (to now while it runs), on the loop's clock; the search included.
  uint32_t ElapsedMs() const;

  // The host of the port control, the conversation and the search.
  void AddInfo(const std::string& text) override;
  std::string PortDevice() override { return deviceName_; }
  config::PortLine ChosenLine() override { return line_; }
  void ChooseLine(const config::PortLine& line) override;
  values::DtuValues CurrentValues() override { return values_; }
  void ShowValues(const values::DtuValues& values, const std::vector<size_t>& rows) override;
  std::string FieldName(size_t row) override;

 private:
  void StartAction();
  void JudgeSearch();
  void TimedOut();
  bool SequenceActive() const;
  void Conclude(const config::TSequenceEnd& end);

  platform::EventLoop& loop_;
  lang::TLangHolder& lang_;
  const CliOptions& options_;
  std::string deviceName_;
  LineSink sink_;
  values::DtuValues values_;
  config::PortLine line_;

  TLineDialogHost dialogs_;
  ui::Application application_;
  serial::TComm comm_;
  serial::TCommLine commLine_;
  ui::TTimer timeOut_;
  ui::TTimer sendInfo_;
  config::TPortControl port_;
  config::TDeviceConfig config_;
  config::TPortSearch search_;

  bool searching_ = false;
  bool searchEnded_ = false;
  std::optional<config::TSequenceEnd> end_;
  std::optional<values::DtuValues> sent_;
  uint32_t startTick_ = 0;
  uint32_t finishTick_ = 0;
  Outcome outcome_ = Outcome::Running;
  std::string reason_;
};

}  // namespace cli
