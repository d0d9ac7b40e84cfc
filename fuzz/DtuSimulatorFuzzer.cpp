// The simulated DTU's command parser with any bytes, in any line format and with any faults switched on. It
// must never fail, record every command it completes, and however its settings were changed, its listing of
// them must fit in the 1024 bytes a reader takes as one reply.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "DtuSimulator.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Commands that change what the listing holds, with fuzzed values; random bytes alone seldom make a command
// the DTU accepts.
std::string MakeCommand(FuzzedDataProvider& input) {
  auto text = [&input](size_t max) { return input.ConsumeRandomLengthString(max); };
  auto hex = [&input] {
    std::string digits;
    const size_t count = 2 * input.ConsumeIntegralInRange<size_t>(0, 140);
    for (size_t i = 0; i < count; ++i)
      digits += "0123456789abcdefABCDEF"[input.ConsumeIntegralInRange(0, 21)];
    return digits;
  };
  auto number = [&input] { return std::to_string(input.ConsumeIntegralInRange<uint32_t>(0, 999999999)); };
  switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0:
      return "AT+CSTT=\"" + text(60) + "\",\"" + text(60) + "\",\"" + text(60) + "\"";
    case 1:
      return "AT+CIPCFG=1," + number() + ",0," + number() + "," + number() + "," + number();
    case 2:
      return "AT+CIPPACK=" + std::to_string(input.ConsumeIntegralInRange(0, 1)) + ",\"" + hex() + "\"";
    case 3:
      return "AT+CIPSCONT=0,\"" + std::string(input.ConsumeBool() ? "TCP" : "udp") + "\",\"" + text(120) +
             "\"," + number() + ",2";
    case 4:
      return "AT+ICF=" + number() + "," + number();
    case 5:
      return "AT+CIPR=" + number();
    case 6:
      return "AT + CIPMUX = " + number();
    case 7:
      return "AT+CIPSCONT?";
    default:
      return text(1200);
  }
}

dtusim::LineFormat MakeFormat(FuzzedDataProvider& input, const dtusim::DtuSimulator& sim) {
  if (input.ConsumeBool()) return sim.Line();
  dtusim::LineFormat format;
  format.baudRate = input.ConsumeIntegral<uint32_t>();
  format.dataBits = input.ConsumeIntegralInRange(5, 8);
  format.parity = "NOE"[input.ConsumeIntegralInRange(0, 2)];
  format.stopBits = input.ConsumeIntegralInRange(1, 2);
  return format;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  dtusim::DtuSimulator sim;
  sim.faults.echo = static_cast<dtusim::EchoMode>(input.ConsumeIntegralInRange(0, 2));
  sim.faults.echoAlone = input.ConsumeBool();
  if (input.ConsumeBool()) sim.faults.splitPauseMs = input.ConsumeIntegralInRange<uint32_t>(0, 1000);
  sim.faults.silent = input.ConsumeIntegralInRange(0, 15) == 0;
  if (input.ConsumeIntegralInRange(0, 7) == 0) sim.faults.refuse.insert(input.ConsumeRandomLengthString(10));

  while (input.remaining_bytes() > 0) {
    std::string bytes = input.ConsumeBool() ? MakeCommand(input) : input.ConsumeRandomLengthString(300);
    if (input.ConsumeBool()) bytes += input.ConsumeBool() ? "\r\n" : "\r";
    const size_t before = sim.received.size();
    (void)sim.Receive(bytes, MakeFormat(input, sim));
    Check(sim.received.size() >= before);
    for (size_t i = before; i < sim.received.size(); ++i) {
      const std::string& command = sim.received[i];
      Check(!command.empty() && (command.back() == '\r' || command.back() == '\n'));
    }
  }

  // The listing as a well-behaved DTU sends it, whatever state the settings were left in.
  dtusim::DtuSimulator asked;
  asked.settings = sim.settings;
  const auto bursts = asked.Receive("AT+CIPSCONT?\r\n", asked.Line());
  Check(bursts.size() == 1);
  Check(bursts[0].bytes.size() <= 1024);
  Check(bursts[0].bytes.find("+CIPSTART:") != std::string::npos);
  return 0;
}
