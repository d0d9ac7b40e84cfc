// How much the component costs on the receive side, against a plain read() loop on the same kind of line:
// 64 MiB through a pseudo-terminal both ways in one run, then the delay between a reply's last byte and its
// OnReceiveData beyond the read interval.
//
// serial_throughput_bench [MiB [rounds]]   (default 64 MiB, 5 rounds)

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/RealTimeEventLoop.h"
#include "platform/UniqueFd.h"
#include "serial/Comm.h"
#include "serial/posix/LineSettings.h"

namespace {

using Clock = std::chrono::steady_clock;

// Wall time and the processor time of the whole process (all threads, kernel included) of one run.
struct Cost {
  double wall = 1e9;
  double cpu = 1e9;
};

double ProcessCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

template <class Run>
Cost Measure(Run run) {
  const double cpuBefore = ProcessCpuSeconds();
  const double wall = run();
  return {wall, ProcessCpuSeconds() - cpuBefore};
}

struct Pty {
  platform::UniqueFd master;
  std::string slavePath;
};

Pty OpenPty() {
  Pty pty{platform::UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)), {}};
  char name[128];
  if (!pty.master.Valid() || ::grantpt(pty.master.Get()) != 0 || ::unlockpt(pty.master.Get()) != 0 ||
      ::ptsname_r(pty.master.Get(), name, sizeof name) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  pty.slavePath = name;
  return pty;
}

// Feeds total bytes into the master as fast as the line takes them.
std::thread Feed(int master, size_t total) {
  return std::thread([master, total] {
    std::string block(64 * 1024, 'x');
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i);
    size_t sent = 0;
    while (sent < total) {
      const ssize_t n = ::write(master, block.data(), std::min(block.size(), total - sent));
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
  });
}

double PlainSeconds(size_t total) {
  Pty pty = OpenPty();
  platform::UniqueFd slave(::open(pty.slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  const auto current = serial::ReadLineSettings(slave.Get());
  if (!current) throw std::runtime_error("no line settings");
  serial::LineRequest request;
  request.BaudRate = 115200;
  serial::WriteLineSettings(slave.Get(), serial::BuildLineSettings(request, *current));

  const Clock::time_point start = Clock::now();
  std::thread feeder = Feed(pty.master.Get(), total);
  char buffer[1024];
  size_t got = 0;
  while (got < total) {
    const ssize_t n = ::read(slave.Get(), buffer, sizeof buffer);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  feeder.join();
  return seconds;
}

double CommSeconds(size_t total) {
  Pty pty = OpenPty();
  platform::RealTimeEventLoop loop;
  serial::TComm comm(loop);
  comm.CommName = pty.slavePath;
  comm.SetBaudRate(115200);
  comm.SetOutx_CtsFlow(false);
  comm.SetReadIntervalTimeout(20);
  size_t got = 0;
  comm.OnReceiveData = [&got](serial::TComm*, const char*, uint16_t BufferLength) { got += BufferLength; };
  comm.OpenPort();

  const Clock::time_point start = Clock::now();
  std::thread feeder = Feed(pty.master.Get(), total);
  loop.RunUntil([&] { return got >= total; });
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  feeder.join();
  return seconds;
}

// Milliseconds from writing a reply to its event, less the read interval, for each of trials replies.
std::vector<double> ReplyDelays(int trials, uint32_t intervalMs) {
  Pty pty = OpenPty();
  platform::RealTimeEventLoop loop;
  serial::TComm comm(loop);
  comm.CommName = pty.slavePath;
  comm.SetOutx_CtsFlow(false);
  comm.SetReadIntervalTimeout(intervalMs);
  Clock::time_point arrived;
  bool received = false;
  comm.OnReceiveData = [&](serial::TComm*, const char*, uint16_t) {
    arrived = Clock::now();
    received = true;
  };
  comm.OpenPort();

  const std::string reply = "+CIPSCONT: 0,\"TCP\",\"10.0.0.1\",5000\r\nOK\r\n";
  std::vector<double> delays;
  for (int i = 0; i < trials; ++i) {
    received = false;
    if (::write(pty.master.Get(), reply.data(), reply.size()) != static_cast<ssize_t>(reply.size())) break;
    const Clock::time_point sent = Clock::now();
    loop.RunUntil([&] { return received; });
    delays.push_back(std::chrono::duration<double, std::milli>(arrived - sent).count() - intervalMs);
  }
  return delays;
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  const size_t total = mib * 1024 * 1024;

  // Alternate the two and keep the best of each, so a busy moment of the machine hurts neither alone.
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  Cost plain;
  Cost comm;
  for (int round = 0; round < rounds; ++round) {
    const Cost p = Measure([total] { return PlainSeconds(total); });
    const Cost c = Measure([total] { return CommSeconds(total); });
    plain = {std::min(plain.wall, p.wall), std::min(plain.cpu, p.cpu)};
    comm = {std::min(comm.wall, c.wall), std::min(comm.cpu, c.cpu)};
  }
  const double m = static_cast<double>(mib);
  std::printf("%zu MiB through a pseudo-terminal, best of %d rounds each\n", mib, rounds);
  std::printf("  plain read() loop, 1024-byte reads: %8.1f MiB/s, %6.1f MiB per processor second\n",
              m / plain.wall, m / plain.cpu);
  std::printf("  TComm into OnReceiveData:           %8.1f MiB/s, %6.1f MiB per processor second\n",
              m / comm.wall, m / comm.cpu);
  std::printf("  ratio TComm / plain:                %8.3f (goal >= 0.9); processor time ratio %.3f\n",
              plain.wall / comm.wall, plain.cpu / comm.cpu);

  const uint32_t interval = 20;
  const std::vector<double> delays = ReplyDelays(100, interval);
  std::printf("reply to event beyond ReadIntervalTimeout %u ms, %zu replies\n", interval, delays.size());
  std::printf("  median %.3f ms, 90th percentile %.3f ms, worst %.3f ms (goal: median < 2 ms)\n",
              Percentile(delays, 0.5), Percentile(delays, 0.9), Percentile(delays, 1.0));
  return 0;
}
