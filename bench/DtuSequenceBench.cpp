// How long a read and a write-all take against the simulated DTU, with the whole program (window models, port
// control, serial component) on the real-time loop over a pseudo-terminal, against the least they can take:
// every reply is only taken as complete once the line has been quiet for the read interval, and write-all
// pauses 200 ms before each of its last two commands while the PC port follows the DTU.
//
// dtu_sequence_bench [runs]   (default 7)

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "app/TDtuProgram.h"
#include "dtu-sim/PtyDtu.h"
#include "platform/ProgramFolder.h"
#include "platform/RealTimeEventLoop.h"

namespace {

using Clock = std::chrono::steady_clock;

// No dialog is expected; one that shows up would be a fault of the run, so it is counted.
class CountingDialogHost : public ui::DialogHost {
 public:
  int shown = 0;
  void ShowMessage(const std::string&, const std::string&, ui::MessageIcon) override { ++shown; }
  void ShowModal(ui::TForm& form) override {
    ++shown;
    form.Close();
  }
  bool Ask(const std::string&, const std::string&, const std::string&, const std::string&) override {
    ++shown;
    return false;
  }
};

using bench::ScratchFolder;

struct Timing {
  double ms = 0;
  int replies = 0;
  bool ok = false;
};

class Rig {
 public:
  explicit Rig(uint32_t replyDelayMs) : dtu_(MakeSimulator(replyDelayMs)) {
    // English texts; the PC port starts at the DTU's own 115200 8N1.
    folder_.Write("program.ini", "[Sys]\r\nLang=0\r\n[Ports]\r\nCOM1=" + dtu_.SlavePath() + "\r\n");
    program_ = std::make_unique<app::TDtuProgram>(loop_, host_);
    program_->Start();
  }

  uint32_t ReadInterval() { return program_->frm_Main->Comm1.ReadIntervalTimeout(); }
  int Dialogs() const { return host_.shown; }

  Timing Time(ui::Control& button, const std::string& doneLine) {
    app::Tfrm_Main& main = *program_->frm_Main;
    main.mmo_Info.Clear();
    const size_t before = dtu_.Received().size();
    const Clock::time_point start = Clock::now();
    program_->Application.Dispatch([&button] { button.UserClick(); });
    bool expired = false;
    auto deadline = loop_.CreateTimer([&expired] { expired = true; }, 20000);
    deadline->SetEnabled(true);
    auto done = [&] {
      const auto& lines = main.mmo_Info.Lines();
      return std::find(lines.begin(), lines.end(), "  " + doneLine) != lines.end();
    };
    loop_.RunUntil([&] { return expired || done(); });
    Timing timing;
    timing.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    timing.replies = static_cast<int>(dtu_.Received().size() - before);
    timing.ok = done();
    return timing;
  }

  app::Tfrm_Main& Main() { return *program_->frm_Main; }

 private:
  static dtusim::DtuSimulator MakeSimulator(uint32_t replyDelayMs) {
    dtusim::DtuSimulator simulator;
    simulator.faults.replyDelayMs = replyDelayMs;
    return simulator;
  }

  ScratchFolder folder_;
  dtusim::PtyDtu dtu_;
  platform::RealTimeEventLoop loop_;
  CountingDialogHost host_;
  std::unique_ptr<app::TDtuProgram> program_;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Row {
  const char* name;
  std::function<ui::Control&(app::Tfrm_Main&)> button;
  std::string doneLine;
  int pauses;
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const std::vector<Row> rows = {
      {"read", [](app::Tfrm_Main& m) -> ui::Control& { return m.btn_Read; },
       "[Note]:Parameter read successfully.", 0},
      {"write-all", [](app::Tfrm_Main& m) -> ui::Control& { return m.btn_SetAll; },
       "[Note]: Parameter set successfully.", 2},
  };

  int failures = 0;
  for (const uint32_t replyDelay : {0u, 5u}) {
    Rig rig(replyDelay);
    const uint32_t interval = rig.ReadInterval();
    std::printf("simulated DTU answering %u ms after each command, read interval %u ms, median of %d runs\n",
                replyDelay, interval, runs);
    for (const Row& row : rows) {
      std::vector<double> times;
      int replies = 0;
      for (int run = 0; run < runs; ++run) {
        const Timing timing = rig.Time(row.button(rig.Main()), row.doneLine);
        if (!timing.ok) {
          ++failures;
          std::printf("  %s did not finish: %d commands sent\n", row.name, timing.replies);
          continue;
        }
        times.push_back(timing.ms);
        replies = timing.replies;
      }
      if (times.empty()) continue;
      const double floor = replies * (interval + replyDelay) + row.pauses * 200.0;
      const double median = Median(times);
      std::printf(
          "  %-9s %2d replies: %8.1f ms, floor %6.0f ms, ratio %.3f (goal <= 1.1), %.2f ms per reply over\n",
          row.name, replies, median, floor, median / floor, (median - floor) / replies);
    }
    if (rig.Dialogs() != 0) {
      ++failures;
      std::printf("  %d unexpected dialogs\n", rig.Dialogs());
    }
  }
  return failures == 0 ? 0 : 1;
}
