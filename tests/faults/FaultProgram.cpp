#include "faults/FaultProgram.h"

#include <algorithm>

#include "settings/IniFile.h"

namespace faults {

SkippingClockLoop::SkippingClockLoop() : start_(std::chrono::steady_clock::now()) {}

void SkippingClockLoop::Skip(uint32_t ms) {
  {
    std::lock_guard lock(mutex_);
    skipped_ += ms;
  }
  posted_.notify_all();
}

uint64_t SkippingClockLoop::NowMs() {
  const auto real =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
  std::lock_guard lock(mutex_);
  return static_cast<uint64_t>(real.count()) + skipped_;
}

void SkippingClockLoop::WaitForWork(std::optional<uint64_t> deadline) {
  std::unique_lock lock(mutex_);
  auto hasWork = [this] { return !TasksEmptyLocked(); };
  if (hasWork()) return;
  if (deadline) {
    // The deadline is on the moved clock; in real time it comes that much earlier.
    const uint64_t realDeadline = *deadline > skipped_ ? *deadline - skipped_ : 0;
    posted_.wait_until(lock, start_ + std::chrono::milliseconds(realDeadline), hasWork);
  } else {
    posted_.wait(lock, hasWork);
  }
}

void FaultProgram::StartProgram(const std::string& extraIni) {
  folder.Write("program.ini",
               "[Sys]\r\nLang=0\r\n" + extraIni + "[Ports]\r\nCOM1=" + dtu->SlavePath() + "\r\n");
  StartOnCurrentFiles();
}

void FaultProgram::StartOnCurrentFiles() {
  program = std::make_unique<app::TDtuProgram>(loop, host);
  program->Start();
}

void FaultProgram::EndProgram() {
  program->frm_Main->UserClose();
  program.reset();
}

void FaultProgram::TearDown() {
  program.reset();
  dtu.reset();
}

bool FaultProgram::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
  const auto until = std::chrono::steady_clock::now() + deadline;
  // The simulated DTU changes state on its own thread without posting to our loop: look again now and then.
  auto poll = loop.CreateTimer([] {}, 10);
  poll->SetEnabled(true);
  loop.RunUntil([&] { return done() || std::chrono::steady_clock::now() >= until; });
  return done();
}

void FaultProgram::SkipPastReplyTimeout() {
  ASSERT_TRUE(Main().tmr_TimeOut.Enabled()) << "no reply is awaited";
  loop.Skip(Main().tmr_TimeOut.Interval());
  loop.ProcessMessages();
}

int FaultProgram::LogCount(const std::string& line) const {
  const auto& lines = program->frm_Main->mmo_Info.Lines();
  return static_cast<int>(std::count(lines.begin(), lines.end(), "  " + line));
}

bool FaultProgram::LogHas(const std::string& line) const { return LogCount(line) > 0; }

void FaultProgram::UserClick(ui::Control& control) {
  program->Application.Dispatch([&control] { control.UserClick(); });
}

void FaultProgram::MapCom1(const std::string& path) {
  settings::IniFile((folder.Path() / "program.ini").string()).WriteString("Ports", "COM1", path);
}

}  // namespace faults
