#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "PtyDtu.h"
#include "SlaveLine.h"
#include "platform/UniqueFd.h"

namespace {

using dtusim::PtyDtu;
using namespace std::chrono_literals;

// Generous: only reached when something is broken.
constexpr auto kDeadline = 5s;

class Slave {
 public:
  explicit Slave(const std::string& path, uint32_t baudRate = 115200)
      : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    EXPECT_GE(fd_.Get(), 0);
    EXPECT_TRUE(simtest::SetSlaveLine(fd_.Get(), baudRate));
  }
  int fd() const { return fd_.Get(); }

  void Send(const std::string& text) const {
    ASSERT_EQ(write(fd_.Get(), text.data(), text.size()), ssize_t(text.size()));
  }

  // Everything read until the text holds end, or what came before the deadline.
  std::string ReadUntil(const std::string& end) const {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (got.find(end) == std::string::npos) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd p{fd_.Get(), POLLIN, 0};
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[1024];
      const ssize_t n = read(fd_.Get(), buffer, sizeof buffer);
      if (n <= 0) break;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

 private:
  platform::UniqueFd fd_;
};

TEST(PtyDtu, AnswersOverThePseudoTerminalAndAgainAfterTheToolReopens) {
  std::mutex mutex;
  std::vector<std::string> fromTool;
  PtyDtu::Options options;
  options.logger = [&](PtyDtu::LogKind kind, std::string_view text) {
    std::lock_guard lock(mutex);
    if (kind == PtyDtu::LogKind::FromTool) fromTool.emplace_back(text);
  };
  PtyDtu dtu({}, std::move(options));
  {
    Slave slave(dtu.SlavePath());
    slave.Send("AT+CIPR?\r\n");
    EXPECT_EQ(slave.ReadUntil("OK\r\n"), "\r\n+CIPR: 115200\r\n\r\nOK\r\n");
  }
  Slave again(dtu.SlavePath());
  again.Send("AT+ICF?\r\n");
  EXPECT_EQ(again.ReadUntil("OK\r\n"), "\r\n+ICF: 3,3\r\n\r\nOK\r\n");
  std::lock_guard lock(mutex);
  EXPECT_EQ(fromTool, (std::vector<std::string>{"AT+CIPR?\r\n", "AT+ICF?\r\n"}));
}

TEST(PtyDtu, IgnoresCommandsUntilTheToolFollowsToACustomRate) {
  PtyDtu dtu;
  Slave slave(dtu.SlavePath());
  slave.Send("AT+CIPR=14400\r\n");
  EXPECT_EQ(slave.ReadUntil("OK\r\n"), "\r\nOK\r\n") << "the reply still comes at the old rate";

  slave.Send("AT+CIPR?\r\n");
  ASSERT_TRUE(dtu.WaitForReceived(2, kDeadline));
  ASSERT_TRUE(simtest::SetSlaveLine(slave.fd(), 14400));
  slave.Send("AT+ICF?\r\n");
  EXPECT_EQ(slave.ReadUntil("OK\r\n"), "\r\n+ICF: 3,3\r\n\r\nOK\r\n")
      << "nothing for the garbled query before";
  ASSERT_TRUE(dtu.ToolLine().has_value());
  EXPECT_EQ(dtu.ToolLine()->baudRate, 14400u);
}

TEST(PtyDtu, ComparesStopBitsAndOddParity) {
  PtyDtu dtu;
  Slave slave(dtu.SlavePath());
  slave.Send("AT+ICF=4,0\r\n");  // 7 data bits, 2 stop bits, odd
  EXPECT_EQ(slave.ReadUntil("OK\r\n"), "\r\nOK\r\n");
  slave.Send("AT\r\n");
  ASSERT_TRUE(dtu.WaitForReceived(2, kDeadline));
  ASSERT_TRUE(simtest::SetSlaveLine(slave.fd(), 115200, true, false));
  slave.Send("AT\r\n");
  ASSERT_TRUE(dtu.WaitForReceived(3, kDeadline));
  ASSERT_TRUE(simtest::SetSlaveLine(slave.fd(), 115200, true, true));
  slave.Send("AT+ICF?\r\n");
  EXPECT_EQ(slave.ReadUntil("OK\r\n"), "\r\n+ICF: 4,0\r\n\r\nOK\r\n");
}

TEST(PtyDtu, SendsTheBannerAfterTheFirstOpenAndOnRequest) {
  PtyDtu::Options options;
  options.bannerAfterFirstOpenMs = 100;
  PtyDtu dtu({}, std::move(options));
  Slave slave(dtu.SlavePath());
  EXPECT_NE(slave.ReadUntil("RDY\r\n").find("@@Ver:"), std::string::npos);
  dtu.SendPowerOn();
  EXPECT_NE(slave.ReadUntil("RDY\r\n").find("@@Ver:"), std::string::npos);
}

TEST(PtyDtu, CarriesUnsolicitedLinesDoubledResultsPacedBytesAndARestart) {
  dtusim::DtuSimulator sim;
  sim.faults.unsolicited = {{"CIPR", 20, "CONNECT OK"}, {"any", -10, "Call Ready"}};
  sim.faults.doubleResult = {"ICF"};
  sim.faults.restart = dtusim::RestartFault{"ATW"};
  sim.faults.paceBaud = 115200;
  sim.faults.paceChunkBytes = 8;
  PtyDtu dtu(std::move(sim));
  Slave slave(dtu.SlavePath());
  slave.Send("AT+CIPR?\r\n");
  EXPECT_EQ(slave.ReadUntil("CONNECT OK\r\n"),
            "\r\nCall Ready\r\n\r\n+CIPR: 115200\r\n\r\nOK\r\n\r\nCONNECT OK\r\n");
  slave.Send("AT+ICF=5,3\r\n");
  EXPECT_EQ(slave.ReadUntil("OK\r\n\r\nOK\r\n"), "\r\nCall Ready\r\n\r\nOK\r\n\r\nOK\r\n");
  slave.Send("ATW\r\n");
  EXPECT_EQ(slave.ReadUntil("RDY\r\n"), "\r\n@@Ver:DTU-SIM V1.0.0\r\n\r\nRDY\r\n");
  EXPECT_EQ(dtu.Settings().formatCode, 3) << "the unsaved format is lost to the restart";
}

TEST(PtyDtu, UnplugHangsUpTheToolsPort) {
  PtyDtu dtu;
  Slave slave(dtu.SlavePath());
  dtu.Unplug();
  pollfd p{slave.fd(), POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 5000), 1);
  EXPECT_NE(p.revents & POLLHUP, 0);
  dtu.Stop();  // after an unplug, stopping again is harmless
}

}  // namespace
