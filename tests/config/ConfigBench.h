#pragma once
// One main window's device configuration and its port control on a virtual clock, over a virtual byte
// line. The log is English so that lines read as plain text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/DeviceConfig.h"
#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"
#include "support/VirtualLine.h"
#include "ui/MainFormDesign.h"

namespace config_test {

// Names the rows of a value-parameterised suite by their name field.
struct ByName {
  template <typename Param>
  std::string operator()(const testing::TestParamInfo<Param>& row) const {
    return row.param.name;
  }
};

struct ConfigBench {
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app{loop, host};
  ui::TMainFormDesign form{app};
  lang::TLangHolder lang;
  testing_support::VirtualLine line{loop};
  config::TPortControl port{form, line, lang};
  config::TDeviceConfig config{form, lang, port, app};
  // Every end the conversation reported, in order.
  std::vector<config::TSequenceEnd> ends;

  ConfigBench() {
    lang.Create("", false);
    config.OnSequenceEnd = [this](const config::TSequenceEnd& end) { ends.push_back(end); };
    // The settings' defaults: the designed data-bit list shows "7" until they are loaded.
    form.cbb_Com_Byte.SetItemIndex(1);
    form.cbb_APN.SetItemIndex(0);
    form.ShowFixedApn("CMNET");
    // The state after start-up: the port open with the PC port lists.
    port.OpenComPort();
  }

  // Hands a chunk straight to the receive event, as the line does.
  void Receive(const std::string& chunk) {
    line.OnReceive(chunk.data(), static_cast<uint16_t>(chunk.size()));
  }

  std::string Text(const lang::LangRow& row) { return lang.Text(row); }
  // How often a message of the language table is in the log.
  int Count(const lang::LangRow& row) {
    const std::string wanted = "  " + Text(row);
    int count = 0;
    for (const std::string& logged : form.mmo_Info.Lines()) count += logged == wanted ? 1 : 0;
    return count;
  }
  const std::vector<std::string>& Log() { return form.mmo_Info.Lines(); }
  bool Idle() const {
    return !config.WriteActive() && !config.ReadActive() && config.WriteStep() == 1 && config.ReadStep() == 1;
  }
};

}  // namespace config_test
