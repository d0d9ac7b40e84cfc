// What a port open pays for a large program.ini: the [Ports] section read whole, as the open does to map its
// COM name, and one key looked up at the end of it, against reading the file's bytes alone in the same run.
// The same reads on a file half as large tell whether the cost grows with the file (ratio 2) or faster.
//
// ini_read_bench [keys [runs]]   (default 100000 [Ports] keys, about 2 MB, and 5 runs)

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "settings/IniFile.h"

namespace {

using Clock = std::chrono::steady_clock;

// A program.ini as the window leaves it, with a [Ports] section of the given size between its sections.
std::string ProgramIni(int keys) {
  std::string text =
      "[Sys]\r\nLang=0\r\n[Com]\r\nComName=0\r\nBaudRate=6\r\nParity=0\r\nByte=3\r\nStop=0\r\n";
  text += "[Ports]\r\n";
  for (int n = 1; n <= keys; ++n) {
    text += "COM" + std::to_string(n) + "=/dev/ttyS" + std::to_string(n % 10) + "\r\n";
  }
  text +=
      "[DTU]\r\nAPN Index=0\r\nAPN Str=CMNET\r\nIP=192.0.2.1\r\nPort=5000\r\nProtocol=0\r\nDevID=LOGIN\r\n";
  return text;
}

// The floor under any read: the file's bytes into memory.
size_t ReadBytes(const std::string& path) {
  std::string bytes;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char buffer[8192];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
    bytes.append(buffer, static_cast<size_t>(got));
  close(fd);
  return bytes.size();
}

double MedianMs(int runs, const std::function<size_t()>& work, size_t& check) {
  std::vector<double> ms;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    check = work();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

struct Figures {
  double bytesMs = 0;
  double sectionMs = 0;
  double lastKeyMs = 0;
  bool whole = false;  // every key listed and the last one found
};

Figures Measure(const bench::ScratchFolder& folder, int keys, int runs) {
  const std::string path = folder.Write("program.ini", ProgramIni(keys));
  const settings::IniFile ini(path);
  const std::string lastKey = "COM" + std::to_string(keys);
  const std::string lastValue = "/dev/ttyS" + std::to_string(keys % 10);
  Figures figures;
  size_t bytes = 0;
  size_t listed = 0;
  size_t found = 0;
  figures.bytesMs = MedianMs(
      runs, [&] { return ReadBytes(path); }, bytes);
  figures.sectionMs = MedianMs(
      runs, [&] { return ini.ReadSection("Ports").size(); }, listed);
  figures.lastKeyMs = MedianMs(
      runs, [&] { return size_t{ini.ReadString("Ports", lastKey, "") == lastValue}; }, found);
  figures.whole = bytes > 0 && listed == static_cast<size_t>(keys) && found == 1;
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int keys = argc > 1 ? std::max(2, std::atoi(argv[1])) : 100000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const bench::ScratchFolder folder;
  const Figures full = Measure(folder, keys, runs);
  const Figures half = Measure(folder, keys / 2, runs);
  if (!full.whole || !half.whole) {
    std::printf("a read gave the wrong keys\n");
    return 1;
  }
  std::printf("program.ini of %.1f MB (%d [Ports] keys), median of %d runs:\n",
              static_cast<double>(ProgramIni(keys).size()) / 1e6, keys, runs);
  std::printf("  the file's bytes alone:        %8.2f ms (baseline)\n", full.bytesMs);
  std::printf(
      "  [Ports] read as a port open:   %8.2f ms, ratio %.1f to the baseline (goal: well under 1 s)\n",
      full.sectionMs, full.sectionMs / full.bytesMs);
  std::printf("  the last [Ports] key:          %8.2f ms, ratio %.1f to the baseline\n", full.lastKeyMs,
              full.lastKeyMs / full.bytesMs);
  std::printf("  twice the keys, [Ports] read:  ratio %.2f, last key %.2f (linear: 2, quadratic: 4)\n",
              full.sectionMs / half.sectionMs, full.lastKeyMs / half.lastKeyMs);
  return 0;
}
