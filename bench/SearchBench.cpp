// How long the line search takes to find a DTU that answers within 300 ms, at the first, a middle and the
// last of its candidate settings, on the virtual clock against the simulated DTU: the port control, the
// conversation and the search are the program's own, the byte line a virtual one. The baseline, worked out in
// the same run, is one try per candidate with the full reply time-out of its rate, as the search used to do.
//
// search_bench

#include <cstdio>
#include <string>
#include <vector>

#include "config/DeviceConfig.h"
#include "config/PortSearch.h"
#include "platform/VirtualEventLoop.h"
#include "support/VirtualLine.h"
#include "tools/dtu-sim/DtuSimulator.h"
#include "ui/Form.h"

namespace {

class NoDialogs : public ui::DialogHost {
 public:
  void ShowMessage(const std::string&, const std::string&, ui::MessageIcon) override {}
  void ShowModal(ui::TForm& form) override { form.Close(); }
  bool Ask(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return false;
  }
};

class QuietHost : public config::TConversationHost {
 public:
  config::PortLine line = config::WholeLine({});
  void AddInfo(const std::string&) override {}
  std::string PortDevice() override { return "COM1"; }
  config::PortLine ChosenLine() override { return line; }
  void ChooseLine(const config::PortLine& choice) override {
    line.Take(choice);
  }
  values::DtuValues CurrentValues() override { return {}; }
  void ShowValues(const values::DtuValues&, const std::vector<size_t>&) override {}
  std::string FieldName(size_t) override { return {}; }
};

// The DTU's own codes for a line format (AT+ICF, parity).
void SetDtuLine(dtusim::DtuSettings& dtu, const config::LineChoice& line) {
  dtu.baudRate = line.baudRate;
  dtu.formatCode = line.dataBits == 8 ? (line.stopBits == 1 ? 3 : 1) : (line.stopBits == 1 ? 5 : 4);
  dtu.parityCode = line.parity == 'O' ? 0 : line.parity == 'E' ? 1 : 3;
}

// Virtual milliseconds from the start of the search to its verdict; 0 when it found nothing or the wrong
// line.
uint64_t TimeSearch(const config::LineChoice& dtuLine, uint32_t replyDelayMs) {
  platform::VirtualEventLoop loop;
  NoDialogs dialogs;
  ui::Application app{loop, dialogs};
  ui::TTimer timeOut{app, "tmr_TimeOut", 3000};
  ui::TTimer sendInfo{app, "tmr_SendInfo", 1500};
  lang::TLangHolder lang;
  lang.Create("", false);
  QuietHost host;
  dtusim::DtuSimulator dtu;
  SetDtuLine(dtu.settings, dtuLine);
  dtu.faults.replyDelayMs = replyDelayMs;
  testing_support::VirtualLine line{loop};
  line.Attach(dtu);
  config::TPortControl port{host, line, lang, timeOut};
  config::TDeviceConfig device{host, port, lang, loop, sendInfo};
  config::TPortSearch search{host, port, device, lang, loop};
  uint64_t endedAt = 0;
  search.OnFinished = [&] { endedAt = loop.Now(); };
  port.OpenComPort();
  const uint64_t start = loop.Now();
  search.Start();
  loop.AdvanceBy(30 * 60 * 1000);
  return search.Found() == dtuLine ? endedAt - start : 0;
}

}  // namespace

int main() {
  constexpr uint32_t kReplyDelayMs = 300;
  const auto candidates = config::LineCandidates();
  std::printf("a DTU answering within %u ms, %zu candidate settings (goal: under 60 s at any of them)\n",
              kReplyDelayMs, candidates.size());
  std::printf("  %-8s %-12s %12s %14s %8s\n", "try", "settings", "search (s)", "former (s)", "ratio");
  bool ok = true;
  for (const size_t at : {size_t{0}, candidates.size() / 2, candidates.size() - 1}) {
    const uint64_t ms = TimeSearch(candidates[at], kReplyDelayMs);
    // The former search: every candidate before it waited its full reply time-out.
    uint64_t baseline = kReplyDelayMs;
    for (size_t i = 0; i < at; ++i) baseline += config::ReplyTimeoutForBaudRate(candidates[i].baudRate);
    ok = ok && ms != 0 && ms < 60000;
    std::printf("  %-8zu %-12s %12.1f %14.1f %8.2f\n", at + 1, config::Describe(candidates[at]).c_str(),
                static_cast<double>(ms) / 1000, static_cast<double>(baseline) / 1000,
                static_cast<double>(ms) / static_cast<double>(baseline));
  }
  std::printf("  %s\n", ok ? "every one found within 60 s" : "NOT every one found within 60 s");
  return ok ? 0 : 1;
}
