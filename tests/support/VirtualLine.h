#pragma once
// A byte line in virtual time: what the port control writes goes to a peer, normally a
// dtusim::DtuSimulator, with the line format the line was opened with; the bursts the peer returns come back
// as received chunks after their delays on the loop, and only while the line is open with the format the DTU
// answered in. Tests can also inject any chunk at any time. It is a byte pipe: the port control on top of it
// is the real one.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EventLoop.h"
#include "serial/ByteLine.h"
#include "tools/dtu-sim/DtuSimulator.h"

namespace testing_support {

struct SentCommand {
  std::string text;
  dtusim::LineFormat format;  // the line's format when it went out
  int openCount;              // openings of the line before it, the first one not counted
  uint32_t at;                // tick count when it went out
};

class VirtualLine : public serial::ByteLine {
 public:
  explicit VirtualLine(platform::EventLoop& loop);
  ~VirtualLine() override;
  VirtualLine(const VirtualLine&) = delete;
  VirtualLine& operator=(const VirtualLine&) = delete;

  using Peer =
      std::function<std::vector<dtusim::Burst>(std::string_view bytes, const dtusim::LineFormat& sentWith)>;
  // What the DTU answers to bytes sent with a format; without a peer the line is dead.
  Peer peer;
  void Attach(dtusim::DtuSimulator& dtu) {
    peer = [&dtu](std::string_view bytes, const dtusim::LineFormat& with) {
      return dtu.Receive(bytes, with);
    };
  }

  void Open(const std::string& device, const serial::PortSettings& settings,
            uint32_t readIntervalMs) override;
  void Close() override;
  bool Write(std::string_view bytes) override;

  bool Opened() const { return open_; }
  dtusim::LineFormat Format() const { return format_; }
  uint32_t ReadInterval() const { return readInterval_; }

  // The next openings fail (port missing or held by another program).
  bool failOpen = false;
  // Openings after the first.
  int openCount = -1;
  std::vector<SentCommand> sent;
  std::vector<std::string> SentTexts() const;
  // Bursts that reached a closed line or one opened with another format.
  int lostBursts = 0;

  // Delivers bytes as one chunk delayMs from now whatever the line format: noise, a banner, half a reply.
  void Inject(std::string bytes, uint32_t delayMs = 0);
  // Delivers bursts one after the other from now, each checked against the line's format when it arrives.
  void Deliver(const std::vector<dtusim::Burst>& bursts);
  size_t PendingChunks() const { return queue_.size(); }

 private:
  struct Chunk {
    uint32_t due;
    std::string bytes;
    std::optional<dtusim::LineFormat> sentWith;
  };
  void Enqueue(Chunk chunk);
  void Arm();
  void Pump();

  platform::EventLoop& loop_;
  std::unique_ptr<platform::LoopTimer> timer_;
  std::deque<Chunk> queue_;
  dtusim::LineFormat format_;
  uint32_t readInterval_ = 0;
  bool open_ = false;
  bool pumpPosted_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace testing_support
