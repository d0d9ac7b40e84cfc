// Bytes both ways through a real pseudo-terminal, and what the component reports about its threads.
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "SerialTestSupport.h"
#include "serial/Comm.h"

namespace {

using namespace std::string_literals;
using serial::TComm;
using serial_test::PtyPair;
using serial_test::RunUntil;

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

class CommData : public ::testing::Test {
 protected:
  void SetUp() override {
    comm.CommName = pty.SlavePath();
    comm.SetReadIntervalTimeout(20);
    comm.OnReceiveData = [this](TComm* Sender, const char* Buffer, uint16_t BufferLength) {
      EXPECT_EQ(Sender, &comm);
      EXPECT_EQ(Buffer[BufferLength], '\0') << "the copy ends in a zero byte";
      chunks.emplace_back(Buffer, BufferLength);
    };
    comm.OnSendDataEmpty = [this](TComm*) { ++empties; };
    comm.OnRequestHangup = [this](TComm*) { ++hangups; };
  }

  std::string Received() const {
    std::string all;
    for (const auto& chunk : chunks) all += chunk;
    return all;
  }

  platform::RealTimeEventLoop loop;
  PtyPair pty;
  TComm comm{loop};
  std::vector<std::string> chunks;
  int empties = 0;
  int hangups = 0;
};

// How the far side hands over a burst: all at once, or in pieces with the time those bytes take on the line
// between them, as a UART behind a USB adapter delivers them. Either way the gaps are far shorter than the
// read interval, so only the 1024-byte limit and the final quiet may end a chunk.
struct ChunkCase {
  const char* name;
  size_t burst;
  size_t piece;  // 0: one write
  uint32_t baudRate;
  std::vector<size_t> chunks;
};

class CommChunking : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(CommChunking, BurstIsCutIntoFullChunksAndTheRestIsOneChunk) {
  const ChunkCase& c = GetParam();
  platform::RealTimeEventLoop loop;
  PtyPair pty;
  TComm comm(loop);
  std::vector<std::string> chunks;
  comm.CommName = pty.SlavePath();
  comm.SetReadIntervalTimeout(200);
  comm.OnReceiveData = [&chunks](TComm*, const char* Buffer, uint16_t BufferLength) {
    chunks.emplace_back(Buffer, BufferLength);
  };
  comm.OpenPort();
  const std::string burst = Pattern(c.burst);
  const size_t piece = c.piece == 0 ? burst.size() : c.piece;
  // Ten bit times per byte: start, eight data bits, stop.
  const auto pieceTime = std::chrono::microseconds(piece * 10 * 1'000'000 / c.baudRate);
  std::thread farSide([&] {
    for (size_t at = 0; at < burst.size(); at += piece) {
      if (at != 0) std::this_thread::sleep_for(pieceTime);
      pty.Send(burst.substr(at, piece));
    }
  });
  size_t received = 0;
  const bool all = RunUntil(loop, [&] {
    received = 0;
    for (const auto& chunk : chunks) received += chunk.size();
    return received >= burst.size();
  });
  farSide.join();
  ASSERT_TRUE(all) << received << " bytes";
  std::vector<size_t> sizes;
  std::string joined;
  for (const auto& chunk : chunks) {
    sizes.push_back(chunk.size());
    joined += chunk;
  }
  EXPECT_EQ(sizes, c.chunks);
  EXPECT_TRUE(joined == burst);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, CommChunking,
    ::testing::Values(ChunkCase{"OneWrite", 3000, 0, 115200, {1024, 1024, 952}},
                      ChunkCase{"PiecesOf14AtLineSpeed", 3000, 14, 115200, {1024, 1024, 952}},
                      ChunkCase{"PiecesOf62AtLineSpeed", 3000, 62, 115200, {1024, 1024, 952}},
                      ChunkCase{"ReplyShorterThanAChunkInPieces", 300, 14, 115200, {300}},
                      ChunkCase{"ExactlyOneChunkInPieces", 1024, 62, 115200, {1024}}),
    [](const ::testing::TestParamInfo<ChunkCase>& row) { return row.param.name; });

TEST_F(CommData, ReplyFollowedBySilenceIsOneChunkWithZeroBytesKept) {
  comm.OpenPort();
  const std::string reply = "+CIPR: 9600\0\r\n\0OK\r\n"s;
  pty.Send(reply);
  ASSERT_TRUE(RunUntil(loop, [&] { return !chunks.empty(); }));
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0], reply);

  // A second reply after the quiet gap is a chunk of its own.
  pty.Send("ERROR\r\n");
  ASSERT_TRUE(RunUntil(loop, [&] { return chunks.size() == 2; }));
  EXPECT_EQ(chunks[1], "ERROR\r\n");
}

TEST_F(CommData, OneSendDataEmptyAfterOpeningEvenWithoutWrites) {
  comm.OpenPort();
  ASSERT_TRUE(RunUntil(loop, [&] { return empties == 1; }));
  comm.ClosePort();
  loop.ProcessMessages();
  EXPECT_EQ(empties, 1);
}

TEST_F(CommData, WritesQueuedBehindABlockedOneGoOutInOrderFollowedByOneSendDataEmpty) {
  comm.OpenPort();
  ASSERT_TRUE(RunUntil(loop, [&] { return empties == 1; }));
  EXPECT_FALSE(comm.WriteData("AT", 0));

  // Eight full requests hold far more than the pseudo-terminal takes; once it is full the writer is stuck
  // in the first or second of them, so the two commands below join a queue that never ran empty.
  const std::string block = Pattern(65535);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(comm.WriteData(block.data(), static_cast<uint16_t>(block.size())));
  ASSERT_TRUE(RunUntil(loop, [&] {
    int pending = 0;
    return ::ioctl(pty.Master(), FIONREAD, &pending) == 0 && pending >= 4000;
  }));
  ASSERT_TRUE(comm.WriteData("AT+CIPR?\r\n", 10));
  ASSERT_TRUE(comm.WriteData("AT+ICF?\r\n", 9));

  std::string expected;
  for (int i = 0; i < 8; ++i) expected += block;
  expected += "AT+CIPR?\r\nAT+ICF?\r\n";
  EXPECT_TRUE(pty.Receive(expected.size()) == expected);
  ASSERT_TRUE(RunUntil(loop, [&] { return empties == 2; }));
  comm.ClosePort();  // every notification the writer made is queued once it has ended
  loop.ProcessMessages();
  EXPECT_EQ(empties, 2);
}

TEST_F(CommData, WriteRightAfterOpenIsSent) {
  comm.OpenPort();
  ASSERT_TRUE(comm.WriteData("AT+CIPR?\r\n", 10));
  EXPECT_EQ(pty.Receive(10), "AT+CIPR?\r\n");
}

TEST_F(CommData, CloseReturnsWhileAWriteIsBlockedAndTheComponentOpensAgain) {
  comm.OpenPort();
  const std::string block = Pattern(65535);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(comm.WriteData(block.data(), static_cast<uint16_t>(block.size())));
  // Wait until the pseudo-terminal is full: the writer is then stuck on a line nobody reads.
  ASSERT_TRUE(RunUntil(loop, [&] {
    int pending = 0;
    return ::ioctl(pty.Master(), FIONREAD, &pending) == 0 && pending >= 4000;
  }));
  comm.ClosePort();
  EXPECT_EQ(comm.ComHandle(), 0u);
  EXPECT_FALSE(comm.WriteData("x", 1));

  PtyPair other;
  comm.CommName = other.SlavePath();
  comm.OpenPort();
  ASSERT_TRUE(comm.WriteData("AT\r\n", 4));
  EXPECT_EQ(other.Receive(4), "AT\r\n");
}

TEST_F(CommData, OtherSideClosingGivesOneHangupAndLaterWritesAreRefused) {
  comm.OpenPort();
  pty.Send("last words");
  ASSERT_TRUE(RunUntil(loop, [&] { return !chunks.empty(); }));
  pty.CloseMaster();
  ASSERT_TRUE(RunUntil(loop, [&] { return hangups == 1; }));
  EXPECT_NE(comm.ComHandle(), 0u) << "the port stays open until ClosePort";

  // The writer finds out at its next write and gives up without a second report.
  ASSERT_TRUE(RunUntil(loop, [&] { return !comm.WriteData("AT\r\n", 4); }));
  comm.ClosePort();
  loop.ProcessMessages();
  EXPECT_EQ(hangups, 1);
  EXPECT_EQ(Received(), "last words");
}

TEST_F(CommData, NotificationsOutstandingWhenTheComponentIsDestroyedAreDropped) {
  int late = 0;
  {
    TComm gone(loop);
    gone.CommName = pty.SlavePath();
    gone.OnSendDataEmpty = [&late](TComm*) { ++late; };
    gone.OpenPort();
  }  // closes: the writer's first report is already queued
  loop.ProcessMessages();
  EXPECT_EQ(late, 0);
}

}  // namespace
