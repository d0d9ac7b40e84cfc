#pragma once
// The window's search for the PC line settings at which the DTU on the chosen port answers. Each candidate
// in turn (most likely first) goes into the PC port lists, the port is opened with it and the DTU is asked
// "AT+CIPR?"; the first candidate that brings an answer holding "+CIPR:" stays in the lists and the port
// stays open with it. Each try waits at most the reply time-out of its rate and ends as soon as the answer
// is in. While the search runs it has the port's replies to itself; the conversation gets them back after.

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "config/DeviceConfig.h"
#include "config/LineChoice.h"
#include "config/PortControl.h"
#include "lang/LangHolder.h"
#include "platform/EventLoop.h"
#include "ui/MainFormDesign.h"

namespace config {

class TPortSearch {
 public:
  TPortSearch(ui::TMainFormDesign& form, TPortControl& port, TDeviceConfig& device, lang::TLangHolder& lang,
              platform::EventLoop& loop);
  ~TPortSearch();
  TPortSearch(const TPortSearch&) = delete;
  TPortSearch& operator=(const TPortSearch&) = delete;

  // Ends a running read or write, then starts with the first candidate. Nothing while a search runs.
  void Start();
  // Ends a running search; the lists get back what they held before it.
  void Stop();
  bool Running() const { return running_; }
  // The settings found by the last search, if it found any.
  const std::optional<LineChoice>& Found() const { return found_; }

 private:
  void Try();
  void Received(const char* bytes, uint16_t length);
  void Finish(bool found);

  ui::TMainFormDesign& form_;
  TPortControl& port_;
  TDeviceConfig& device_;
  lang::TLangHolder& lang_;
  std::unique_ptr<platform::LoopTimer> timer_;
  std::vector<LineChoice> candidates_;
  size_t next_ = 0;
  bool running_ = false;
  std::optional<LineChoice> found_;
  std::function<void(const char*, uint16_t)> conversation_;
  // What the PC port lists held before the search.
  std::array<int, 4> saved_ = {};
};

}  // namespace config
