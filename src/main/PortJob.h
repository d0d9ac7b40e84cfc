#pragma once
// One DTU of a command-line run: a main window model of its own (port control, device configuration, the
// settings loader, an APN dialog) driven as a user would drive the window, and the outcome it came to.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Tfrm_APN.h"
#include "app/Tfrm_Main.h"
#include "config/SequenceEnd.h"
#include "main/CliOptions.h"
#include "main/DtuSection.h"
#include "main/Verify.h"
#include "ui/Application.h"

namespace cli {

enum class Outcome {
  Running,
  Succeeded,    // the conversation reported success
  Refused,      // the DTU answered something the sequence does not accept
  TimedOut,     // no reply in time, or the overall limit passed
  NotOpened,    // the PC port could not be opened (at the start, or when following the DTU's new settings)
  Interrupted,  // stopped by a signal
  NotKept,      // write --verify: the read-back showed a field other than it was written
  NotFound,     // scan, --baud auto: the DTU answered at none of the line settings tried
};

// Receives each GBK line meant for the user, without a line end.
using LineSink = std::function<void(std::string_view gbkLine)>;

// Message boxes cannot be shown here: their texts go to the log, and a modal form closes at once, as if the
// user had closed it without pressing its button.
class TLineDialogHost : public ui::DialogHost {
 public:
  explicit TLineDialogHost(LineSink sink) : sink_(std::move(sink)) {}
  void ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) override;
  void ShowModal(ui::TForm& form) override;

 private:
  LineSink sink_;
};

class TPortJob {
 public:
  // Builds the models and loads the settings (iniPath: an empty file stands for none). Nothing is opened
  // yet. lang must hold its list and outlive the job.
  TPortJob(platform::EventLoop& loop, lang::TLangHolder& lang, const CliOptions& options,
           const std::string& iniPath, std::string device, LineSink sink);
  ~TPortJob();
  TPortJob(const TPortJob&) = delete;
  TPortJob& operator=(const TPortJob&) = delete;

  // Opens the PC port with the port button, then presses the action's button. A port that cannot be
  // opened ends the job at once.
  void Start();
  // Passes the log lines added since the last call to the sink.
  void FlushLog();
  // Ends the job after an event when the action has come to its end (as the conversation reported it) or
  // the overall limit has passed. Returns whether the job is over.
  bool Update();
  // Ends a running job with this outcome: the conversation is dropped and the port closed.
  void Finish(Outcome outcome, std::string reason);

  const std::string& Device() const { return device_; }
  Outcome Result() const { return outcome_; }
  const std::string& Reason() const { return reason_; }
  app::Tfrm_Main& Form() { return *form_; }
  // write --verify: the fields the write-all sent, once it succeeded; nothing before or without --verify.
  const std::optional<FieldValues>& Written() const { return written_; }
  // write and defaults: the [DTU] values the write-all sent (or tried to), once it came to its end.
  const std::optional<SectionValues>& Sent() const { return sent_; }
  // How the action's sequence ended, once it did.
  const std::optional<config::TSequenceEnd>& End() const { return end_; }
  // From Start to the end of the job (to now while it runs), on the loop's clock.
  uint32_t ElapsedMs() const;

 private:
  bool SequenceActive() const;
  void Conclude(const config::TSequenceEnd& end);

  platform::EventLoop& loop_;
  lang::TLangHolder& lang_;
  const CliOptions& options_;
  std::string device_;
  LineSink sink_;

  TLineDialogHost host_;
  ui::Application application_;
  std::unique_ptr<app::Tfrm_Main> form_;
  std::unique_ptr<app::Tfrm_APN> apn_;

  size_t linesShown_ = 0;
  uint64_t clearsSeen_ = 0;
  std::optional<config::TSequenceEnd> end_;
  std::optional<FieldValues> written_;
  std::optional<SectionValues> sent_;
  uint32_t finishTick_ = 0;
  uint32_t startTick_ = 0;
  Outcome outcome_ = Outcome::Running;
  std::string reason_;
};

}  // namespace cli
