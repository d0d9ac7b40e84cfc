// Random chunks from the line, in random conversation states, with the clock moving between them so that
// time-outs, the banner note and the pause before steps 9 and 10 (with replies handled inside it) all occur.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>

#include "config/DeviceConfig.h"
#include "config/Encoding.h"
#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"
#include "support/VirtualLine.h"
#include "ui/MainFormDesign.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app(loop, host);
  ui::TMainFormDesign form(app);
  lang::TLangHolder lang;
  lang.Create("", input.ConsumeBool());
  testing_support::VirtualLine line(loop);
  config::TPortControl port(form, line, lang);
  config::TDeviceConfig config(form, lang, port, app);
  port.OpenComPort();

  form.chk_DevID.SetChecked(input.ConsumeBool());
  form.chk_HeartbeatFormat.SetChecked(input.ConsumeBool());
  int apnDialogs = 0;
  config.ShowApnDialog = [&](const std::optional<config::ApnParts>&) {
    // A dialog lets the line and the timers run; bounded so a listing cannot open dialogs without end.
    if (++apnDialogs < 4) loop.AdvanceBy(input.ConsumeIntegralInRange<uint32_t>(0, 4000));
  };

  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange<int>(0, 7)) {
      case 0:
        if (input.ConsumeBool()) {
          config.StartWriteAll();
        } else {
          config.Abort();
        }
        break;
      case 1:
        if (input.ConsumeBool()) {
          config.StartRead();
        } else {
          form.btn_Default.Click();
        }
        break;
      case 2: {
        // A command becomes LastCommand, so the chunks below can carry its echo.
        const int step = input.ConsumeIntegralInRange<int>(1, 13);
        port.SendCommand(step <= 10 ? config::SetCommandText(form, step) : config::QueryText(step - 10));
        break;
      }
      case 3:
        // Arrives later, possibly inside a pause or a dialog.
        line.Inject(input.ConsumeRandomLengthString(1024), input.ConsumeIntegralInRange<uint32_t>(0, 400));
        break;
      case 4:
        loop.AdvanceBy(input.ConsumeIntegralInRange<uint32_t>(0, 9000));
        break;
      case 5:
        if (input.ConsumeBool()) {
          port.OpenComPort();
        } else {
          port.CloseComPort();
        }
        break;
      default: {
        const std::string chunk = input.ConsumeRandomLengthString(1024);
        config.HandleReply(chunk.data(), chunk.size());
        break;
      }
    }
    Check(config.WriteStep() >= 1 && config.WriteStep() <= 10);
    Check(config.ReadStep() >= 1 && config.ReadStep() <= 3);
  }
  // Every command sent gets its reply or its time-out: nothing is left counting down.
  loop.AdvanceBy(20000);
  Check(line.PendingChunks() == 0);
  Check(!form.tmr_TimeOut.Enabled());
  return 0;
}
