#pragma once
// One main window's device configuration on a virtual clock, talking through the simulated port, with the
// buttons wired the way the window wires them. The log is English so that lines read as plain text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/DeviceConfig.h"
#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"
#include "support/SimulatedPort.h"
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
  std::unique_ptr<lang::TLangList> langList;
  testing_support::SimulatedPort port{form, langList, loop};
  config::TDeviceConfig config{form, langList, port, app};

  ConfigBench() {
    langList = std::make_unique<lang::TLangList>("", false);
    // The settings' defaults: the designed data-bit list shows "7" until they are loaded.
    form.cbb_Com_Byte.SetItemIndex(1);
    form.cbb_APN.SetItemIndex(0);
    form.ShowFixedApn("CMNET");
    for (ui::Control* button :
         {static_cast<ui::Control*>(&form.btn_Default), static_cast<ui::Control*>(&form.btn_Read),
          static_cast<ui::Control*>(&form.btn_SetAll)}) {
      button->OnClick = [this](ui::Control& sender) { config.btn_ReadClick(sender); };
    }
    port.onReceive = [this](const char* buffer, uint16_t length) {
      config.Comm1ReceiveData(&port, buffer, length);
    };
  }

  // Hands a chunk straight to the receive event, as the port does.
  void Receive(const std::string& chunk) {
    config.Comm1ReceiveData(&port, chunk.data(), static_cast<uint16_t>(chunk.size()));
  }

  std::string Text(const lang::LangRow& row) { return langList->GetLangText(row); }
  // How often a message of the language table is in the log.
  int Count(const lang::LangRow& row) {
    const std::string line = "  " + Text(row);
    int count = 0;
    for (const std::string& logged : form.mmo_Info.Lines()) count += logged == line ? 1 : 0;
    return count;
  }
  const std::vector<std::string>& Log() { return form.mmo_Info.Lines(); }
  bool Idle() const {
    return !config.WriteActive && !config.ReadActive && config.WriteStep == 1 && config.ReadStep == 1;
  }
};

}  // namespace config_test
