#pragma once
// A window timer: ticks on the window thread while enabled; errors escaping its handler go to the general
// error report.

#include <functional>
#include <memory>

#include "ui/Application.h"

namespace ui {

class TTimer {
 public:
  TTimer(Application& app, std::string name, uint32_t intervalMs);
  const std::string Name;
  std::function<void(TTimer& sender)> OnTimer;

  bool Enabled() const { return timer_->Enabled(); }
  // Enabling a running timer does not restart its countdown.
  void SetEnabled(bool enabled) { timer_->SetEnabled(enabled); }
  uint32_t Interval() const { return timer_->Interval(); }
  // Changing the interval of a running timer restarts its countdown.
  void SetInterval(uint32_t ms) { timer_->SetInterval(ms); }

 private:
  std::unique_ptr<platform::LoopTimer> timer_;
};

}  // namespace ui
