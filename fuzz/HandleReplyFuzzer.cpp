// Random chunks from the line, in random conversation states, with the clock moving between them so that
// time-outs, the banner note and the pause before steps 9 and 10 (with replies handled inside it) all occur.
// The real conversation runs for a small host that holds plain values, so every reply read goes through
// values::ReadReply.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config/DeviceConfig.h"
#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"
#include "support/VirtualLine.h"
#include "values/Commands.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

class FuzzHost : public config::TConversationHost {
 public:
  explicit FuzzHost(FuzzedDataProvider& input, platform::VirtualEventLoop& loop)
      : input_(input), loop_(loop) {}

  values::DtuValues values;
  config::PortLine line = config::LineFromListIndexes({10, 0, 1, 0});
  const config::TDeviceConfig* conversation = nullptr;

  void AddInfo(const std::string&) override {}
  std::string PortDevice() override { return "COM1"; }
  config::PortLine ChosenLine() override { return line; }
  void ChooseLine(const config::PortLine& choice) override {
    line.Take(choice);
  }
  values::DtuValues CurrentValues() override { return values; }
  void ShowValues(const values::DtuValues& shown, const std::vector<size_t>& rows) override {
    const bool reading = conversation != nullptr && conversation->ReadActive();
    for (const size_t row : rows) {
      Check(row < values::Table().size());
      // A packet read as plain text must be one a write can send back: bytes without a text form come in
      // hex form with the flag set.
      const values::Row& field = values::Table()[row];
      if (reading && field.kind == values::Kind::Packet && !shown.IsHexForm(row)) {
        Check(shown.At(row).find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
      }
    }
    values = shown;
    // The window may hold a dialog open here (an APN of the DTU's own): the line and the timers run on.
    // Bounded, so that a listing cannot open dialogs without end.
    if (reading && ++dialogs_ < 4) loop_.AdvanceBy(input_.ConsumeIntegralInRange<uint32_t>(0, 4000));
  }
  std::string FieldName(size_t row) override { return values::Table()[row].key; }

 private:
  FuzzedDataProvider& input_;
  platform::VirtualEventLoop& loop_;
  int dialogs_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost dialogs;
  ui::Application app(loop, dialogs);
  ui::TTimer timeOut(app, "tmr_TimeOut", 3000);
  ui::TTimer sendInfo(app, "tmr_SendInfo", 1500);
  lang::TLangHolder lang;
  lang.Create("", input.ConsumeBool());
  FuzzHost host(input, loop);
  testing_support::VirtualLine line(loop);
  config::TPortControl port(host, line, lang, timeOut);
  config::TDeviceConfig config(host, port, lang, loop, sendInfo);
  host.conversation = &config;
  port.OpenComPort();

  host.values.Set("DevIDHex", input.ConsumeBool() ? "1" : "0");
  host.values.Set("HeartbeatFormatHex", input.ConsumeBool() ? "1" : "0");

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
          config.RestoreDefaults();
        }
        break;
      case 2: {
        // A command becomes LastCommand, so the chunks below can carry its echo.
        const int step = input.ConsumeIntegralInRange<int>(1, 13);
        port.SendCommand(step <= 10 ? values::CommandText(step, host.values) : values::QueryText(step - 10));
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
  Check(!timeOut.Enabled());
  return 0;
}
