#include "SimOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace dtusim {
namespace {

// A whole decimal number from min to max, nothing else around it.
template <class Int>
std::optional<Int> Whole(std::string_view text, Int min, Int max) {
  Int value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max) return std::nullopt;
  return value;
}

std::optional<uint32_t> Milliseconds(std::string_view text) { return Whole<uint32_t>(text, 0, 600'000); }

// "\r" and "\n" in an option's text stand for CR and LF, which a shell argument cannot carry easily.
std::string Unescape(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == 'n')) {
      bytes.push_back(text[++i] == 'r' ? '\r' : '\n');
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

constexpr uint32_t kRates[] = {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};

bool IsRate(std::optional<uint32_t> rate) {
  return rate && std::find(std::begin(kRates), std::end(kRates), *rate) != std::end(kRates);
}

// "9600,8N1" as the DTU keeps it: its rate and its AT+ICF codes. Only what AT+CIPR and AT+ICF can set.
bool ParseLine(std::string_view text, DtuSettings& settings) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.size() != comma + 4) return false;
  const auto rate = Whole<uint32_t>(text.substr(0, comma), 0, 115200);
  if (!IsRate(rate)) return false;
  const char data = text[comma + 1];
  const char parity = text[comma + 2];
  const char stop = text[comma + 3];
  if ((data != '7' && data != '8') || (stop != '1' && stop != '2')) return false;
  if (parity != 'N' && parity != 'O' && parity != 'E') return false;
  settings.baudRate = *rate;
  settings.formatCode = data == '8' ? (stop == '2' ? 1 : 3) : (stop == '2' ? 4 : 5);
  settings.parityCode = parity == 'O' ? 0 : parity == 'E' ? 1 : 3;
  return true;
}

// "FIRST" or "FIRST,SECOND": the text before the first comma and what follows it (nothing without one).
std::pair<std::string_view, std::optional<std::string_view>> CommaPair(std::string_view text) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return {text, std::nullopt};
  return {text.substr(0, comma), text.substr(comma + 1)};
}

// "NAME,MS,TEXT": the text keeps any further commas ("+CSQ: 20,0").
std::optional<UnsolicitedLine> ParseUnsolicited(std::string_view value) {
  const auto [name, rest] = CommaPair(value);
  if (name.empty() || !rest) return std::nullopt;
  const auto [ms, text] = CommaPair(*rest);
  const auto delay = Whole<int32_t>(ms, -600'000, 600'000);
  if (!delay || !text || text->empty()) return std::nullopt;
  return UnsolicitedLine{std::string(name), *delay, Unescape(*text)};
}

bool ParseEcho(std::string_view mode, EchoMode& echo) {
  static constexpr std::pair<std::string_view, EchoMode> kModes[] = {{"off", EchoMode::Off},
                                                                     {"exact", EchoMode::Exact},
                                                                     {"cr", EchoMode::CutShort},
                                                                     {"lf", EchoMode::LfOnly},
                                                                     {"bare", EchoMode::Bare}};
  for (const auto& [word, value] : kModes) {
    if (mode == word) {
      echo = value;
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args) {
  SimOptions options;
  Faults& faults = options.faults;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view option = args[i];
    if (option == "--echo-alone") {
      faults.echoAlone = true;
      continue;
    }
    if (option == "--banner") {
      options.banner = true;
      continue;
    }
    if (option == "--silent") {
      faults.silent = true;
      continue;
    }
    // Every other option takes a value.
    if (i + 1 >= args.size()) return std::nullopt;
    const std::string& value = args[++i];
    bool ok = true;
    if (option == "--echo") {
      ok = ParseEcho(value, faults.echo);
    } else if (option == "--delay") {
      const auto ms = Milliseconds(value);
      if (ms) faults.replyDelayMs = *ms;
      ok = ms.has_value();
    } else if (option == "--split") {
      const auto [ms, pieces] = CommaPair(value);
      const auto pause = Milliseconds(ms);
      const auto count = pieces ? Whole<uint32_t>(*pieces, 2, 1'000'000) : 2u;
      if (pause && count) faults.splitPauseMs = *pause, faults.splitPieces = *count;
      ok = pause && count;
    } else if (option == "--refuse") {
      faults.refuse.insert(value);
    } else if (option == "--answer" && value.find('=') != std::string::npos) {
      const size_t equals = value.find('=');
      faults.answer[value.substr(0, equals)] = Unescape(std::string_view(value).substr(equals + 1));
    } else if (option == "--forget") {
      faults.forget.insert(value);
    } else if (option == "--unsolicited") {
      const auto line = ParseUnsolicited(value);
      if (line) faults.unsolicited.push_back(*line);
      ok = line.has_value();
    } else if (option == "--restart-at") {
      const auto [name, nth] = CommaPair(value);
      const auto count = nth ? Whole<size_t>(*nth, 1, 1'000'000) : size_t{1};
      if (!name.empty() && count) faults.restart = RestartFault{std::string(name), *count};
      ok = !name.empty() && count;
    } else if (option == "--double") {
      faults.doubleResult.insert(value);
    } else if (option == "--pad-listing") {
      const auto bytes = Whole<size_t>(value, 1, 1'000'000);
      if (bytes) faults.padListingTo = *bytes;
      ok = bytes.has_value();
    } else if (option == "--pace") {
      const auto [rate, chunk] = CommaPair(value);
      const auto baud = Whole<uint32_t>(rate, 1, 4'000'000);
      const auto bytes = chunk ? Whole<size_t>(*chunk, 1, 1'000'000) : size_t{1};
      if (baud && bytes) faults.paceBaud = *baud, faults.paceChunkBytes = *bytes;
      ok = baud && bytes;
    } else if (option == "--line") {
      ok = ParseLine(value, options.settings);
    } else if (option == "--link" && !value.empty()) {
      options.link = value;
    } else {
      ok = false;
    }
    if (!ok) return std::nullopt;
  }
  return options;
}

}  // namespace dtusim
