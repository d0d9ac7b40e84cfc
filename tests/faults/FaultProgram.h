#pragma once
// The whole program over a pseudo-terminal, as the end-to-end tests run it, on a real-time loop whose clock a
// test can move forward: reply time-outs are reached by moving the clock, not by waiting for them.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/TDtuProgram.h"
#include "dtu-sim/PtyDtu.h"
#include "lang/LangRows.h"
#include "platform/BasicEventLoop.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogHost.h"

namespace faults {

// Real time plus an offset that only grows. Threads and pseudo-terminals run in real time; the program's
// timers see the moved clock at once.
class SkippingClockLoop final : public platform::BasicEventLoop {
 public:
  SkippingClockLoop();
  void Skip(uint32_t ms);

 protected:
  uint64_t NowMs() override;
  void WaitForWork(std::optional<uint64_t> deadline) override;

 private:
  std::chrono::steady_clock::time_point start_;
  uint64_t skipped_ = 0;  // guarded by mutex_
};

class FaultProgram : public testing::Test {
 protected:
  // Starts the program in English with COM1 mapped to the simulated DTU; extraIni goes before the mapping.
  void StartProgram(const std::string& extraIni = "");
  // Starts the program on whatever program.ini the folder holds.
  void StartOnCurrentFiles();
  // Closes the program as the close button does and releases it.
  void EndProgram();
  void TearDown() override;

  app::Tfrm_Main& Main() { return *program->frm_Main; }
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds deadline = std::chrono::seconds(20));
  // Moves the clock past the reply time-out and lets the timer fire.
  void SkipPastReplyTimeout();
  bool LogHas(const std::string& line) const;
  int LogCount(const std::string& line) const;
  void UserClick(ui::Control& control);
  // Points COM1 at another device path in program.ini's [Ports] section, as a user would edit it.
  void MapCom1(const std::string& path);

  testing_support::ProgramFolder folder;
  std::unique_ptr<dtusim::PtyDtu> dtu = std::make_unique<dtusim::PtyDtu>();
  SkippingClockLoop loop;
  testing_support::ScriptedDialogHost host;
  std::unique_ptr<app::TDtuProgram> program;
};

// The log lines in English (the built-in English texts are ASCII).
inline std::string English(const lang::LangRow& row) { return std::string(row.English); }

}  // namespace faults
