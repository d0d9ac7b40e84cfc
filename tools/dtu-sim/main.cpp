// dtu-sim: a simulated DTU on a pseudo-terminal, for trying the tool without a module. The first line of
// standard output is the port path to open; the dialogue goes to standard error. Ends on SIGINT or SIGTERM.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "DtuSimulator.h"
#include "PtyDtu.h"

namespace {

constexpr const char* kUsage =
    "usage: dtu-sim [--echo off|exact|cr|lf|bare] [--echo-alone] [--delay MS] [--split MS] [--banner]\n"
    "               [--refuse NAME]... [--answer NAME=TEXT]... [--forget NAME]... [--silent] [--link PATH]\n"
    "               [--line RATE,FORMAT]\n"
    "  --echo       echo each command: not at all, exactly as received, cut short at its CR, ending in LF\n"
    "               alone, or without its line end\n"
    "  --echo-alone send the echo on its own, before the answer\n"
    "  --delay MS   pause before each answer (default 5)\n"
    "  --split MS   send each answer in two halves with this pause between them\n"
    "  --banner     send the power-on banner a second after the port is first opened\n"
    "  --refuse     answer ERROR to this command (CIPPACK, ICF, CIPR, ATW, ...); repeatable\n"
    "  --answer     answer this command with TEXT instead (\\r and \\n stand for CR and LF); repeatable\n"
    "  --forget     answer OK to this setting command (CIPPACK, CIPSCONT, ...) but keep the old value;\n"
    "               repeatable\n"
    "  --silent     answer nothing\n"
    "  --link PATH  also reach the port through this symbolic link (removed at exit)\n"
    "  --line RATE,FORMAT  start at these line settings instead, e.g. 9600,8N1 or 57600,7E2; the DTU\n"
    "               answers only a tool that uses them\n"
    "The DTU starts at 115200 baud, 8 data bits, no parity, 1 stop bit (picocom -b 115200 PATH).\n";

std::optional<uint32_t> Milliseconds(const char* text) {
  char* end = nullptr;
  errno = 0;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value > 600'000) return std::nullopt;
  return static_cast<uint32_t>(value);
}

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

// "9600,8N1" as the DTU keeps it: its rate and its AT+ICF codes. Only what AT+CIPR and AT+ICF can set.
bool ParseLine(std::string_view text, dtusim::DtuSettings& settings) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.size() != comma + 4) return false;
  const auto rate = Milliseconds(std::string(text.substr(0, comma)).c_str());
  static constexpr uint32_t kRates[] = {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};
  if (!rate || std::find(std::begin(kRates), std::end(kRates), *rate) == std::end(kRates)) return false;
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

struct Arguments {
  dtusim::Faults faults;
  dtusim::DtuSettings settings;
  bool banner = false;
  std::string link;
};

std::optional<Arguments> Parse(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto takeMs = [&](uint32_t& into) {
      const auto ms = value ? Milliseconds(value) : std::nullopt;
      if (ms) into = *ms, ++i;
      return ms.has_value();
    };
    if (option == "--echo" && value) {
      const std::string_view mode = argv[++i];
      if (mode == "off") {
        args.faults.echo = dtusim::EchoMode::Off;
      } else if (mode == "exact") {
        args.faults.echo = dtusim::EchoMode::Exact;
      } else if (mode == "cr") {
        args.faults.echo = dtusim::EchoMode::CutShort;
      } else if (mode == "lf") {
        args.faults.echo = dtusim::EchoMode::LfOnly;
      } else if (mode == "bare") {
        args.faults.echo = dtusim::EchoMode::Bare;
      } else {
        return std::nullopt;
      }
    } else if (option == "--echo-alone") {
      args.faults.echoAlone = true;
    } else if (option == "--delay") {
      if (!takeMs(args.faults.replyDelayMs)) return std::nullopt;
    } else if (option == "--split") {
      uint32_t pause = 0;
      if (!takeMs(pause)) return std::nullopt;
      args.faults.splitPauseMs = pause;
    } else if (option == "--banner") {
      args.banner = true;
    } else if (option == "--refuse" && value) {
      args.faults.refuse.insert(argv[++i]);
    } else if (option == "--answer" && value && std::strchr(value, '=') != nullptr) {
      const std::string_view answer = argv[++i];
      const size_t equals = answer.find('=');
      args.faults.answer[std::string(answer.substr(0, equals))] = Unescape(answer.substr(equals + 1));
    } else if (option == "--forget" && value) {
      args.faults.forget.insert(argv[++i]);
    } else if (option == "--silent") {
      args.faults.silent = true;
    } else if (option == "--line" && value) {
      if (!ParseLine(argv[++i], args.settings)) return std::nullopt;
    } else if (option == "--link" && value && *value != '\0') {
      args.link = argv[++i];
    } else {
      return std::nullopt;
    }
  }
  return args;
}

// A link left by an earlier run is replaced; any other file at that path is left alone.
bool MakeLink(const std::string& link, const std::string& target) {
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      std::fprintf(stderr, "dtu-sim: %s exists and is not a symbolic link\n", link.c_str());
      return false;
    }
    unlink(link.c_str());
  }
  if (symlink(target.c_str(), link.c_str()) != 0) {
    std::fprintf(stderr, "dtu-sim: cannot create %s: %s\n", link.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

void RemoveLink(const std::string& link, const std::string& target) {
  char points[256];
  const ssize_t n = readlink(link.c_str(), points, sizeof points - 1);
  if (n >= 0 && std::string_view(points, static_cast<std::size_t>(n)) == target) unlink(link.c_str());
}

void Log(dtusim::PtyDtu::LogKind kind, std::string_view text) {
  using Kind = dtusim::PtyDtu::LogKind;
  const char* prefix = kind == Kind::FromTool ? "tool> " : kind == Kind::ToTool ? "dtu < " : "note: ";
  const std::string line = kind == Kind::Note ? std::string(text) : dtusim::EscapeForLog(text);
  std::fprintf(stderr, "%s%s\n", prefix, line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const auto args = Parse(argc, argv);
  if (!args) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // Blocked before the serving thread exists, so the signals reach only sigwait below.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    dtusim::DtuSimulator simulator;
    simulator.faults = args->faults;
    simulator.settings = args->settings;
    dtusim::PtyDtu::Options options;
    options.logger = Log;
    if (args->banner) options.bannerAfterFirstOpenMs = 1000;
    dtusim::PtyDtu dtu(std::move(simulator), std::move(options));

    std::printf("%s\n", dtu.SlavePath().c_str());
    std::fflush(stdout);
    if (!args->link.empty() && !MakeLink(args->link, dtu.SlavePath())) return 1;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    dtu.Stop();
    if (!args->link.empty()) RemoveLink(args->link, dtu.SlavePath());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "dtu-sim: %s\n", error.what());
    return 1;
  }
  return 0;
}
