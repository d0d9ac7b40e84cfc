// How a batch scales: write --verify on 64 simulated DTUs at once (64 pseudo-terminals, one loop) against the
// same on one DTU, measured in the same run, and how much memory each port adds. The ports run side by side,
// so the batch should take hardly longer than one DTU (goal: ratio <= 1.2).
//
// batch_bench [ports] [runs]   (defaults 64 and 3)

#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "dtu-sim/PtyDtu.h"
#include "main/BatchRun.h"
#include "main/Console.h"
#include "platform/ProgramFolder.h"
#include "platform/RealTimeEventLoop.h"

namespace {

using Clock = std::chrono::steady_clock;

using bench::ScratchFolder;

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

struct Result {
  double ms = 0;
  int status = -1;
  size_t commands = 0;  // received by all the DTUs together
};

// One write --verify on count fresh DTUs, each given its own DevID through {n}.
Result WriteAndVerify(int count, const std::string& ini) {
  std::vector<std::unique_ptr<dtusim::PtyDtu>> dtus;
  cli::CliOptions options;
  options.action = cli::Action::Write;
  options.iniFile = ini;
  options.verify = true;
  options.chinese = false;
  options.sets = {{"DevID", "LOGIN:{n}"}};
  for (int i = 0; i < count; ++i) {
    dtus.push_back(std::make_unique<dtusim::PtyDtu>());
    options.ports.push_back(dtus.back()->SlavePath());
  }
  std::FILE* sink = std::fopen("/dev/null", "w");
  cli::Console console(sink, sink, cli::TerminalCode::Utf8);
  platform::RealTimeEventLoop loop;
  Result result;
  const auto start = Clock::now();
  {
    cli::TBatchRun run(loop, options, console);
    result.status = run.Run();
  }
  result.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  for (const auto& dtu : dtus) result.commands += dtu->Received().size();
  std::fclose(sink);
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int ports = argc > 1 ? std::max(2, std::atoi(argv[1])) : 64;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const ScratchFolder folder;
  const std::string ini = folder.Write("batch.ini", "[DTU]\nIP=192.0.2.1\nPort=5000\n");

  int failures = 0;
  std::vector<double> one;
  std::vector<double> many;
  long rssOne = 0;
  long rssMany = 0;
  for (int run = 0; run < runs; ++run) {
    const Result single = WriteAndVerify(1, ini);
    // The peak only ever rises: the one-DTU figure is the one taken before any batch ran.
    if (run == 0) rssOne = PeakRssKb();
    const Result batch = WriteAndVerify(ports, ini);
    rssMany = std::max(rssMany, PeakRssKb());
    // Ten settings and the three queries of the read-back per DTU: anything else is no whole run.
    if (single.status != 0 || batch.status != 0 || single.commands != 13 ||
        batch.commands != 13u * static_cast<size_t>(ports)) {
      ++failures;
      std::printf("  run %d failed: one DTU exit %d (%zu commands), %d DTUs exit %d (%zu commands)\n",
                  run + 1, single.status, single.commands, ports, batch.status, batch.commands);
      continue;
    }
    one.push_back(single.ms);
    many.push_back(batch.ms);
  }
  if (one.empty()) return 1;
  const double oneMs = Median(one);
  const double manyMs = Median(many);
  std::printf(
      "write --verify, median of %d runs: one DTU %.1f ms, %d DTUs %.1f ms, ratio %.3f (goal <= 1.2)\n",
      static_cast<int>(one.size()), oneMs, ports, manyMs, manyMs / oneMs);
  // Peak resident size, which a batch only ever raises: what the larger batch added, per extra port (the
  // simulated DTUs, in the same process, are counted in).
  std::printf("peak memory: one DTU %ld KiB, %d DTUs %ld KiB, %.1f KiB per extra port\n", rssOne, ports,
              rssMany, static_cast<double>(rssMany - rssOne) / (ports - 1));
  return failures == 0 ? 0 : 1;
}
