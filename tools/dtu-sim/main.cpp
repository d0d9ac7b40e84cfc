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
#include <vector>

#include "DtuSimulator.h"
#include "PtyDtu.h"
#include "SimOptions.h"

namespace {

constexpr const char* kUsage =
    "usage: dtu-sim [--echo off|exact|cr|lf|bare] [--echo-alone] [--delay MS] [--split MS[,PIECES]] "
    "[--banner]\n"
    "               [--refuse NAME]... [--answer NAME=TEXT]... [--forget NAME]... [--silent] [--link PATH]\n"
    "               [--line RATE,FORMAT] [--unsolicited NAME,MS,TEXT]... [--restart-at NAME[,N]]\n"
    "               [--double NAME]... [--pad-listing BYTES] [--pace RATE[,BYTES]]\n"
    "  --echo       echo each command: not at all, exactly as received, cut short at its CR, ending in LF\n"
    "               alone, or without its line end\n"
    "  --echo-alone send the echo on its own, before the answer\n"
    "  --delay MS   pause before each answer (default 5)\n"
    "  --split MS[,PIECES]  send each answer in PIECES parts (default 2) with this pause between them\n"
    "  --banner     send the power-on banner a second after the port is first opened\n"
    "  --refuse     answer ERROR to this command (CIPPACK, ICF, CIPR, ATW, ...); repeatable\n"
    "  --answer     answer this command with TEXT instead (\\r and \\n stand for CR and LF); repeatable\n"
    "  --forget     answer OK to this setting command (CIPPACK, CIPSCONT, ...) but keep the old value;\n"
    "               repeatable\n"
    "  --silent     answer nothing\n"
    "  --link PATH  also reach the port through this symbolic link (removed at exit)\n"
    "  --line RATE,FORMAT  start at these line settings instead, e.g. 9600,8N1 or 57600,7E2; the DTU\n"
    "               answers only a tool that uses them\n"
    "  --unsolicited NAME,MS,TEXT  send the line TEXT (between CR LFs) MS after each answer to NAME (or to\n"
    "               any command); a negative MS sends it before the answer, which follows -MS later;\n"
    "               repeatable, e.g. CIPR,100,CONNECT OK or any,-50,Call Ready\n"
    "  --restart-at NAME[,N]  restart on the Nth command named NAME (or any): no answer, the banner, and\n"
    "               every setting not saved with ATW lost; once\n"
    "  --double NAME  send the final result of this command (or any) twice; repeatable\n"
    "  --pad-listing BYTES  add +CIPSTATUS lines to the AT+CIPSCONT? listing until it is longer than BYTES\n"
    "  --pace RATE[,BYTES]  send every byte at this line rate, BYTES at a time (default 1)\n"
    "The DTU starts at 115200 baud, 8 data bits, no parity, 1 stop bit (picocom -b 115200 PATH).\n";

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
  const auto args = dtusim::ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
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
