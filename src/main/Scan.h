#pragma once
// The search for the PC line settings at which a DTU answers (scan, and --baud auto before an action): one
// try after the other, each a read of the DTU's rate with the PC port opened at the next candidate, until
// the DTU answers its first query. A try waits no longer than the window's reply time-out for the settings
// tried, and ends as soon as the reply is in.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/LineChoice.h"
#include "lang/LangHolder.h"
#include "main/PortJob.h"
#include "main/UnitSettings.h"
#include "platform/EventLoop.h"

namespace cli {

class TLineSearch {
 public:
  // probeOptions: a read without its overall limit; it, lang and files must outlive the search. Each try's
  // log is kept from the sink: only a line per try reaches it.
  TLineSearch(platform::EventLoop& loop, lang::TLangHolder& lang, const CliOptions& probeOptions,
              TUnitSettings& files, std::string device, LineSink sink);
  ~TLineSearch();
  TLineSearch(const TLineSearch&) = delete;
  TLineSearch& operator=(const TLineSearch&) = delete;

  // Starts the first try.
  void Start();
  // Judges the running try after an event and starts the next one when it is over. Returns whether the
  // search is over (found, or every candidate tried).
  bool Update();
  // Drops the running try; the search is over.
  void Stop();

  const std::string& Device() const { return device_; }
  // The settings the DTU answered at, once found.
  const std::optional<config::LineChoice>& Found() const { return found_; }
  // Whether the port did not even open at the first candidate, which every adapter supports: the device
  // is not there, and the search gave up at once.
  bool NeverOpened() const { return opened_ == 0; }
  uint32_t ElapsedMs() const;

 private:
  void StartTry();

  platform::EventLoop& loop_;
  lang::TLangHolder& lang_;
  const CliOptions& probeOptions_;
  TUnitSettings& files_;
  std::string device_;
  LineSink sink_;
  std::vector<config::LineChoice> candidates_;
  size_t next_ = 0;
  std::unique_ptr<TPortJob> try_;
  std::optional<config::LineChoice> found_;
  int opened_ = 0;
  bool over_ = false;
  uint32_t startTick_ = 0;
  uint32_t endTick_ = 0;
};

}  // namespace cli
