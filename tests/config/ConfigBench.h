#pragma once
// One port's conversation on a virtual clock, over a virtual byte line wired to a simulated DTU, for a host
// that holds plain values as the command line does. The log is English so that lines read as plain text.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "config/DeviceConfig.h"
#include "config/PortSearch.h"
#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"
#include "support/VirtualLine.h"
#include "tools/dtu-sim/DtuSimulator.h"

namespace values {
// A failed comparison of values names the rows.
inline void PrintTo(const DtuValues& shown, std::ostream* out) {
  for (size_t row = 0; row < Table().size(); ++row)
    *out << "\n  " << Table()[row].key << "=" << shown.At(row);
}
}  // namespace values

namespace config_test {

// Names the rows of a value-parameterised suite by their name field.
constexpr auto ByName = [](const auto& row) { return std::string(row.param.name); };

class TestHost : public config::TConversationHost {
 public:
  values::DtuValues values;
  config::PortLine line = config::LineFromListIndexes({10, 0, 1, 0});  // 115200 8N1
  std::vector<std::string> log;
  // The rows of each ShowValues, every ChooseLine and every problem shown, in order.
  std::vector<std::vector<size_t>> shown;
  std::vector<config::PortLine> chosen;
  std::vector<values::Problem> problems;

  void AddInfo(const std::string& text) override { log.push_back("  " + text); }
  std::string PortDevice() override { return "COM1"; }
  config::PortLine ChosenLine() override { return line; }
  void ChooseLine(const config::PortLine& choice) override {
    chosen.push_back(choice);
    line.Take(choice);
  }
  values::DtuValues CurrentValues() override { return values; }
  void ShowValues(const values::DtuValues& taken, const std::vector<size_t>& rows) override {
    values = taken;
    shown.push_back(rows);
  }
  std::string FieldName(size_t row) override { return values::Table()[row].key; }
  void ShowProblem(const values::Problem& problem) override { problems.push_back(problem); }
};

struct ConfigBench {
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost dialogs;
  ui::Application app{loop, dialogs};
  ui::TTimer timeOut{app, "tmr_TimeOut", 3000};
  ui::TTimer sendInfo{app, "tmr_SendInfo", 1500};
  lang::TLangHolder lang;
  TestHost host;
  dtusim::DtuSimulator dtu;
  testing_support::VirtualLine line{loop};
  config::TPortControl port{host, line, lang, timeOut};
  config::TDeviceConfig config{host, port, lang, loop, sendInfo};
  config::TPortSearch search{host, port, config, lang, loop};
  std::vector<config::TSequenceEnd> ends;

  ConfigBench() {
    lang.Create("", false);
    line.Attach(dtu);
    config.OnSequenceEnd = [this](const config::TSequenceEnd& end) { ends.push_back(end); };
    port.OpenComPort();
  }

  // Hands a chunk straight to the receive event, as the line does.
  void Receive(const std::string& chunk) {
    line.OnReceive(chunk.data(), static_cast<uint16_t>(chunk.size()));
  }

  // How often a text of the language list is a line of the log.
  int Count(const lang::LangRow& row) {
    const std::string wanted = "  " + lang.Text(row);
    return static_cast<int>(std::count(host.log.begin(), host.log.end(), wanted));
  }
  bool Idle() const {
    return !config.WriteActive() && !config.ReadActive() && config.WriteStep() == 1 && config.ReadStep() == 1;
  }
};

}  // namespace config_test
