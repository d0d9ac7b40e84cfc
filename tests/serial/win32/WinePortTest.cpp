// The component on a real Windows port: overlapped reads and writes, the read interval, the line switch,
// closing with a read outstanding, and a line that goes away. scripts/wine-e2e-test.sh runs it with
// DTU_TEST_PORT naming a COM port that Wine maps to the pseudo-terminal of a dtu-sim at its start-up line,
// 115200 8N1; that DTU answers only a tool whose line matches its own, so an answer also proves the line
// settings reached the device.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../RunUntil.h"
#include "serial/Comm.h"
#include "serial/PortNames.h"

namespace {

using serial::TComm;
using serial_test::RunUntil;

class WinePort : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* port = std::getenv("DTU_TEST_PORT");
    ASSERT_NE(port, nullptr) << "run by scripts/wine-e2e-test.sh, which sets DTU_TEST_PORT";
    serial::ApplyStoredDesign(comm);
    comm.CommName = port;
    comm.SetBaudRate(115200);
    comm.OnReceiveData = [this](TComm*, const char* Buffer, uint16_t BufferLength) {
      EXPECT_EQ(Buffer[BufferLength], '\0') << "the copy ends in a zero byte";
      chunks.emplace_back(Buffer, BufferLength);
    };
    comm.OnSendDataEmpty = [this](TComm*) { ++empties; };
    comm.OnRequestHangup = [this](TComm*) { ++hangups; };
  }

  // Sends command and returns the DTU's answer, up to and including its final "OK" or "ERROR" line, as the
  // chunks it came in.
  std::vector<std::string> Ask(const std::string& command) {
    chunks.clear();
    EXPECT_TRUE(comm.WriteData(command.data(), static_cast<uint16_t>(command.size())));
    RunUntil(loop, [this] {
      const std::string all = Received();
      return all.ends_with("OK\r\n") || all.ends_with("ERROR\r\n");
    });
    return chunks;
  }

  std::string Received() const {
    std::string all;
    for (const std::string& chunk : chunks) all += chunk;
    return all;
  }

  platform::RealTimeEventLoop loop;
  TComm comm{loop};
  std::vector<std::string> chunks;
  int empties = 0;
  int hangups = 0;
};

TEST_F(WinePort, TalksToTheDtuFollowsItsLineSwitchAndClosesWithAReadOutstanding) {
  comm.OpenPort();
  EXPECT_NE(comm.ComHandle(), 0u);
  ASSERT_TRUE(RunUntil(loop, [this] { return empties == 1; })) << "one OnSendDataEmpty after opening";

  // The answer comes in one burst, so the read interval makes it one chunk.
  EXPECT_EQ(Ask("AT+CIPR?\r\n"), std::vector<std::string>{"\r\n+CIPR: 115200\r\n\r\nOK\r\n"});
  EXPECT_EQ(Ask("AT+ICF?\r\n"), std::vector<std::string>{"\r\n+ICF: 3,3\r\n\r\nOK\r\n"});
  // The script pads the DTU's listing past 3000 bytes, all sent at once: full chunks, then the rest.
  const std::vector<std::string> listing = Ask("AT+CIPSCONT?\r\n");
  ASSERT_GE(listing.size(), 3u);
  for (size_t i = 0; i + 1 < listing.size(); ++i) EXPECT_EQ(listing[i].size(), 1024u) << "chunk " << i;
  EXPECT_TRUE(listing.back().ends_with("\r\nOK\r\n"));

  // The DTU moves to 57600 once it has answered; the new rate must reach the open line at once.
  EXPECT_EQ(Ask("AT+CIPR=57600\r\n"), std::vector<std::string>{"\r\nOK\r\n"});
  comm.SetBaudRate(57600);
  EXPECT_EQ(Ask("AT+CIPR?\r\n"), std::vector<std::string>{"\r\n+CIPR: 57600\r\n\r\nOK\r\n"});

  // The read thread has a read outstanding on a quiet line; closing must end it and return.
  comm.ClosePort();
  EXPECT_EQ(comm.ComHandle(), 0u);
  EXPECT_FALSE(comm.WriteData("AT\r\n", 4));

  comm.OpenPort();
  EXPECT_EQ(Ask("AT+CIPR=115200\r\n"), std::vector<std::string>{"\r\nOK\r\n"}) << "opened again at 57600";
  comm.ClosePort();

  // The script maps COM12 to the same DTU. Wine lists it after COM9, and it opens only by its device name.
  const std::vector<serial::PortName> names = serial::ListPortNames();
  ASSERT_GE(names.size(), 10u);
  EXPECT_EQ(names[8].Name, "COM9");
  EXPECT_EQ(names[9].Name, "COM12");
  comm.CommName = "COM12";
  comm.SetBaudRate(115200);
  comm.OpenPort();
  EXPECT_EQ(Ask("AT+CIPR?\r\n"), std::vector<std::string>{"\r\n+CIPR: 115200\r\n\r\nOK\r\n"});
  comm.ClosePort();
  loop.ProcessMessages();
  EXPECT_EQ(hangups, 0);
}

// The script ends the DTU's program once this test has said so on its output: the far end of the line goes
// away under an outstanding read, as when an adapter is pulled out.
TEST_F(WinePort, ALostLineIsOneHangupAndLaterWritesAreRefused) {
  comm.OpenPort();
  ASSERT_TRUE(RunUntil(loop, [this] { return empties == 1; }));
  std::printf("port open\n");
  std::fflush(stdout);
  ASSERT_TRUE(RunUntil(loop, [this] { return hangups == 1; }));
  EXPECT_NE(comm.ComHandle(), 0u) << "the port stays open until ClosePort";
  // The writer finds out at its next write and gives up without a second report.
  ASSERT_TRUE(RunUntil(loop, [this] { return !comm.WriteData("AT\r\n", 4); }));
  comm.ClosePort();
  loop.ProcessMessages();
  EXPECT_EQ(hangups, 1);
}

}  // namespace
