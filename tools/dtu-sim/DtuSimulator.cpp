#include "DtuSimulator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "AtCommand.h"

namespace dtusim {
namespace {

constexpr std::string_view kOk = "\r\nOK\r\n";
constexpr std::string_view kError = "\r\nERROR\r\n";
constexpr std::array<uint32_t, 11> kBaudRates = {300,   600,   1200,  2400,  4800,  9600,
                                                 14400, 19200, 38400, 57600, 115200};

constexpr std::string_view kBanner = "\r\n@@Ver:DTU-SIM V1.0.0\r\n\r\nRDY\r\n";

std::string Framed(std::string_view lines) { return "\r\n" + std::string(lines) + "\r\n" + std::string(kOk); }

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Numbers are unquoted decimal digits; the module keeps them as integers, so "0050" reads back as 50.
std::optional<uint32_t> Number(const AtArgument& arg) {
  if (arg.quoted || arg.text.empty() || arg.text.size() > 9) return std::nullopt;
  uint32_t value = 0;
  const char* end = arg.text.data() + arg.text.size();
  auto [ptr, ec] = std::from_chars(arg.text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

bool IsNumber(const AtArgument& arg, uint32_t expected) { return Number(arg) == expected; }

bool IsHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool ApplyCstt(const std::vector<AtArgument>& args, DtuSettings& settings) {
  if (args.empty() || args.size() > 3) return false;
  for (const auto& arg : args) {
    if (arg.text.size() > kMaxApnText) return false;
  }
  settings.apn = args[0].text;
  settings.apnAccount = args.size() > 1 ? args[1].text : "";
  settings.apnPassword = args.size() > 2 ? args[2].text : "";
  return true;
}

bool ApplyCipcfg(const std::vector<AtArgument>& args, DtuSettings& settings) {
  if (args.size() != 6 || !IsNumber(args[0], 1) || !IsNumber(args[2], 0)) return false;
  const auto heartbeat = Number(args[1]);
  const auto waitTime = Number(args[3]);
  const auto waitLength = Number(args[4]);
  const auto restart = Number(args[5]);
  if (!heartbeat || !waitTime || !waitLength || !restart) return false;
  settings.heartbeatTime = std::to_string(*heartbeat);
  settings.waitTime = std::to_string(*waitTime);
  settings.waitLength = std::to_string(*waitLength);
  settings.restartTime = std::to_string(*restart);
  return true;
}

bool ApplyCippack(const std::vector<AtArgument>& args, DtuSettings& settings) {
  if (args.size() != 2) return false;
  const auto which = Number(args[0]);
  const std::string& hex = args[1].text;
  if (!which || *which > 1 || hex.size() % 2 != 0 || hex.size() > 2 * kMaxPacketBytes || !IsHex(hex))
    return false;
  // The module keeps the packet as bytes and lists them in upper-case digits.
  (*which == 0 ? settings.heartbeatPacketHex : settings.registrationPacketHex) = Upper(hex);
  return true;
}

bool ApplySwitch(const std::vector<AtArgument>& args, std::string& setting) {
  if (args.size() != 1) return false;
  const auto value = Number(args[0]);
  if (!value || *value > 1) return false;
  setting = std::to_string(*value);
  return true;
}

bool ApplyCipscont(const std::vector<AtArgument>& args, DtuSettings& settings) {
  if (args.size() != 5 || !IsNumber(args[0], 0) || !IsNumber(args[4], 2)) return false;
  const std::string protocol = Upper(args[1].text);
  const auto port = Number(args[3]);
  if ((protocol != "TCP" && protocol != "UDP") || !port || *port == 0 || *port > 65535) return false;
  if (args[2].text.empty() || args[2].text.size() > kMaxServerText) return false;
  settings.protocol = protocol;
  settings.server = args[2].text;
  settings.port = std::to_string(*port);
  return true;
}

bool ApplyIcf(const std::vector<AtArgument>& args, DtuSettings& settings) {
  if (args.size() != 2) return false;
  const auto format = Number(args[0]);
  const auto parity = Number(args[1]);
  if (!format || (*format != 1 && *format != 3 && *format != 4 && *format != 5)) return false;
  if (!parity || (*parity != 0 && *parity != 1 && *parity != 3)) return false;
  settings.formatCode = static_cast<int>(*format);
  settings.parityCode = static_cast<int>(*parity);
  return true;
}

bool ApplyCipr(const std::vector<AtArgument>& args, DtuSettings& settings) {
  if (args.size() != 1) return false;
  const auto rate = Number(args[0]);
  if (!rate || std::find(kBaudRates.begin(), kBaudRates.end(), *rate) == kBaudRates.end()) return false;
  settings.baudRate = *rate;
  return true;
}

bool ApplySetting(const AtCommand& command, DtuSettings& settings) {
  const auto& name = command.name;
  const auto& args = command.args;
  if (name == "CSTT") return ApplyCstt(args, settings);
  if (name == "CIPCFG") return ApplyCipcfg(args, settings);
  if (name == "CIPPACK") return ApplyCippack(args, settings);
  if (name == "CIPMUX") return ApplySwitch(args, settings.cipmux);
  if (name == "CIPMODE") return ApplySwitch(args, settings.cipmode);
  if (name == "CIPSCONT") return ApplyCipscont(args, settings);
  if (name == "ICF") return ApplyIcf(args, settings);
  if (name == "CIPR") return ApplyCipr(args, settings);
  return false;
}

// The command line without its line end and without the stray line ends a terminal may put before it.
std::string_view Body(std::string_view command) {
  while (!command.empty() && (command.back() == '\r' || command.back() == '\n')) command.remove_suffix(1);
  while (!command.empty() && (command.front() == '\r' || command.front() == '\n')) command.remove_prefix(1);
  return command;
}

bool IsBlankLine(std::string_view body) {
  return std::all_of(body.begin(), body.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool Matches(const std::string& wanted, const std::string& name) {
  const std::string upper = Upper(wanted);
  return upper == "ANY" || upper == name;
}

bool AnyMatches(const std::set<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& wanted) { return Matches(wanted, name); });
}

// The last line of an answer, with the line ends around it: its final result.
std::string FinalResult(const std::string& answer) {
  if (answer.size() < 3) return answer;
  const std::size_t start = answer.rfind("\r\n", answer.size() - 3);
  return start == std::string::npos ? answer : answer.substr(start);
}

}  // namespace

LineFormat DtuSimulator::Line() const {
  LineFormat line;
  line.baudRate = settings.baudRate;
  line.dataBits = (settings.formatCode == 4 || settings.formatCode == 5) ? 7 : 8;
  line.stopBits = (settings.formatCode == 1 || settings.formatCode == 4) ? 2 : 1;
  line.parity = settings.parityCode == 0 ? 'O' : settings.parityCode == 1 ? 'E' : 'N';
  return line;
}

std::vector<Burst> DtuSimulator::Receive(std::string_view bytes, const LineFormat& sentWith) {
  if (!kept_) kept_ = settings;
  std::vector<Burst> out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\n' && lfMayFollow_ && pending_.empty()) {
      // The LF of a command already answered at its CR.
      if (!received.empty()) received.back() += '\n';
      lfMayFollow_ = false;
      continue;
    }
    lfMayFollow_ = false;
    if (c != '\r') {
      // Past the module's buffer the rest of the line is lost; one byte more marks the line as overflowed.
      if (pending_.size() <= kMaxCommandBytes) pending_ += c;
      continue;
    }
    pending_ += c;
    if (i + 1 < bytes.size()) {
      if (bytes[i + 1] == '\n') pending_ += bytes[++i];
    } else {
      lfMayFollow_ = true;
    }
    std::string command;
    command.swap(pending_);
    Handle(command, sentWith, out);
  }
  return out;
}

void DtuSimulator::Handle(const std::string& command, const LineFormat& sentWith, std::vector<Burst>& out) {
  received.push_back(command);
  if (sentWith != Line() || faults.silent) return;
  const std::string_view body = Body(command);
  if (IsBlankLine(body)) return;

  const LineFormat replyFormat = Line();
  const bool overlong = body.size() > kMaxCommandBytes;
  const auto parsed = overlong ? std::nullopt : ParseAtCommand(body);
  const std::string name = parsed ? parsed->name : "";
  std::string echo;
  if (faults.echo == EchoMode::Exact) echo = command;
  if (faults.echo == EchoMode::CutShort) echo = std::string(Body(command)) + "\r";
  if (faults.echo == EchoMode::LfOnly) echo = std::string(Body(command)) + "\n";
  if (faults.echo == EchoMode::Bare) echo = std::string(Body(command));

  std::vector<Burst> bursts;
  if (RestartsOn(name)) {
    // The module echoes as the bytes come in, then goes down before it acts on the command.
    if (!echo.empty()) bursts.push_back({0, std::move(echo), replyFormat});
    settings = *kept_;
    bursts.push_back({faults.replyDelayMs, std::string(kBanner), Line()});
    for (auto& burst : Paced(std::move(bursts))) out.push_back(std::move(burst));
    return;
  }
  if (faults.echoAlone && !echo.empty()) {
    bursts.push_back({0, std::move(echo), replyFormat});
    echo.clear();
  }
  std::string answer = overlong ? std::string(kError) : Answer(body);
  if (AnyMatches(faults.doubleResult, name)) answer += FinalResult(answer);

  uint32_t delay = faults.replyDelayMs;
  for (const auto& line : faults.unsolicited) {
    if (line.delayMs >= 0 || !Matches(line.after, name)) continue;
    bursts.push_back({delay, echo + "\r\n" + line.text + "\r\n", replyFormat});
    echo.clear();
    delay = static_cast<uint32_t>(-static_cast<int64_t>(line.delayMs));
  }
  const std::size_t pieces = faults.splitPauseMs && answer.size() >= 2
                                 ? std::clamp<std::size_t>(faults.splitPieces, 1, answer.size())
                                 : 1;
  for (std::size_t i = 0; i < pieces; ++i) {
    const std::size_t from = i * answer.size() / pieces;
    const std::size_t to = (i + 1) * answer.size() / pieces;
    bursts.push_back({i == 0 ? delay : *faults.splitPauseMs,
                      (i == 0 ? echo : "") + answer.substr(from, to - from), replyFormat});
  }

  // Lines after the reply already use the line format the reply may have switched to.
  std::vector<const UnsolicitedLine*> after;
  for (const auto& line : faults.unsolicited) {
    if (line.delayMs >= 0 && Matches(line.after, name)) after.push_back(&line);
  }
  std::stable_sort(after.begin(), after.end(), [](auto* a, auto* b) { return a->delayMs < b->delayMs; });
  int32_t sinceReply = 0;
  for (const UnsolicitedLine* line : after) {
    bursts.push_back(
        {static_cast<uint32_t>(line->delayMs - sinceReply), "\r\n" + line->text + "\r\n", Line()});
    sinceReply = line->delayMs;
  }
  for (auto& burst : Paced(std::move(bursts))) out.push_back(std::move(burst));
}

bool DtuSimulator::RestartsOn(const std::string& name) {
  if (!faults.restart || !Matches(faults.restart->at, name)) return false;
  if (faults.restart->nth > 1) {
    --faults.restart->nth;
    return false;
  }
  faults.restart.reset();
  return true;
}

std::vector<Burst> DtuSimulator::Paced(std::vector<Burst> bursts) const {
  if (!faults.paceBaud || *faults.paceBaud == 0) return bursts;
  const uint64_t baud = *faults.paceBaud;
  const std::size_t chunk = std::max<std::size_t>(faults.paceChunkBytes, 1);
  std::vector<Burst> paced;
  for (auto& burst : bursts) {
    if (burst.bytes.empty()) {
      paced.push_back(std::move(burst));
      continue;
    }
    const auto& f = burst.format;
    const uint64_t bitsPerByte =
        1 + static_cast<uint64_t>(f.dataBits) + (f.parity == 'N' ? 0 : 1) + static_cast<uint64_t>(f.stopBits);
    // Times are counted from the burst's start and rounded up, so rounding never adds up over a long reply.
    uint32_t delay = burst.delayMs;
    uint64_t doneMs = 0;
    for (std::size_t from = 0; from < burst.bytes.size(); from += chunk) {
      const std::size_t to = std::min(from + chunk, burst.bytes.size());
      const uint64_t endMs = (to * bitsPerByte * 1000 + baud - 1) / baud;
      paced.push_back(
          {delay + static_cast<uint32_t>(endMs - doneMs), burst.bytes.substr(from, to - from), f});
      doneMs = endMs;
      delay = 0;
    }
  }
  return paced;
}

std::string DtuSimulator::Answer(std::string_view line) {
  const auto command = ParseAtCommand(line);
  if (!command) return std::string(kError);
  for (const auto& refused : faults.refuse) {
    if (Upper(refused) == command->name) return std::string(kError);
  }
  for (const auto& [name, bytes] : faults.answer) {
    if (Upper(name) == command->name) return bytes;
  }
  using Kind = AtCommand::Kind;
  switch (command->kind) {
    case Kind::Basic:
      if (command->name == "AT") return std::string(kOk);
      if (command->name == "ATW") {
        settings.saved = true;
        kept_ = settings;
        return std::string(kOk);
      }
      return std::string(kError);
    case Kind::Query:
      if (command->name == "CIPR") return Framed("+CIPR: " + std::to_string(settings.baudRate));
      if (command->name == "ICF") {
        return Framed("+ICF: " + std::to_string(settings.formatCode) + "," +
                      std::to_string(settings.parityCode));
      }
      if (command->name == "CIPSCONT") return Framed(Listing());
      return std::string(kError);
    case Kind::Set: {
      // A refused value leaves every setting as it was.
      DtuSettings changed = settings;
      if (!ApplySetting(*command, changed)) return std::string(kError);
      for (const auto& forgotten : faults.forget) {
        if (Upper(forgotten) == command->name) return std::string(kOk);
      }
      settings = std::move(changed);
      return std::string(kOk);
    }
    case Kind::Run:
    case Kind::Test:
      break;
  }
  return std::string(kError);
}

std::string DtuSimulator::Listing() const {
  const auto& s = settings;
  std::string text;
  text += "+CIPCFG: 1," + s.heartbeatTime + ",0," + s.waitTime + "," + s.waitLength + "," + s.restartTime +
          "\r\n";
  text += "+CIPPACK: 0," + Quoted(s.heartbeatPacketHex) + "\r\n";
  text += "+CIPPACK: 1," + Quoted(s.registrationPacketHex) + "\r\n";
  text += "+CIPMODE: " + s.cipmode + "\r\n";
  text += "+CIPMUX: " + s.cipmux + "\r\n";
  text += "+CSTT: " + Quoted(s.apn) + "," + Quoted(s.apnAccount) + "," + Quoted(s.apnPassword) + "\r\n";
  text += "+CIPSTART: " + Quoted(s.protocol) + "," + Quoted(s.server) + "," + s.port + ",2";
  for (int n = 0; faults.padListingTo > 0 && Framed(text).size() <= faults.padListingTo; ++n) {
    text += "\r\n+CIPSTATUS: " + std::to_string(n) + ",\"TCP\",\"0.0.0.0\",\"0\",\"INITIAL\"";
  }
  return text;
}

std::vector<Burst> DtuSimulator::PowerOn() const { return Paced({{0, std::string(kBanner), Line()}}); }

}  // namespace dtusim
