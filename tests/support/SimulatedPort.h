#pragma once
// The command port in virtual time: keeps the contract of the real port control (LastCommand, the reply
// time-out switched on by each send, the time-out interval set by each opening, the log lines) without a
// serial device. What is sent goes to a peer, normally a dtusim::DtuSimulator, with the PC's line format;
// the bursts the peer returns come back as receive events after their delays on the loop, and only while
// the PC's format still matches the one the DTU answered in. Tests can also inject any chunk at any time.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/LangList.h"
#include "platform/EventLoop.h"
#include "serial/CommandPort.h"
#include "tools/dtu-sim/DtuSimulator.h"
#include "ui/MainFormDesign.h"

namespace testing_support {

struct SentCommand {
  std::string text;
  dtusim::LineFormat format;  // the PC's line format when it went out
  int openCount;              // re-openings of the port before it
  uint32_t at;                // tick count when it went out
};

class SimulatedPort : public serial::CommandPort {
 public:
  // The port starts open with the format of the form's PC port lists (the state after start-up).
  SimulatedPort(ui::TMainFormDesign& form, std::unique_ptr<lang::TLangList>& langList,
                platform::EventLoop& loop);
  ~SimulatedPort() override;
  SimulatedPort(const SimulatedPort&) = delete;
  SimulatedPort& operator=(const SimulatedPort&) = delete;

  using Peer =
      std::function<std::vector<dtusim::Burst>(std::string_view bytes, const dtusim::LineFormat& sentWith)>;
  // What the DTU answers to bytes sent with a format; without a peer the line is dead.
  Peer peer;
  // The format the DTU's own line uses now; its bursts are lost when the PC listens with another one.
  std::function<dtusim::LineFormat()> peerLine;
  void Attach(dtusim::DtuSimulator& dtu) {
    peer = [&dtu](std::string_view bytes, const dtusim::LineFormat& with) {
      return dtu.Receive(bytes, with);
    };
    peerLine = [&dtu] { return dtu.Line(); };
  }

  // Where each received chunk goes (the receive event, Comm1ReceiveData).
  std::function<void(const char* buffer, uint16_t length)> onReceive;

  void SendCommand(const std::string& Text) override;
  void OpenComPort() override;
  const std::string& LastCommand() const override { return lastCommand_; }

  // Closes or opens the port without counting a re-opening.
  void SetOpen(bool open);
  bool Opened() const { return open_; }
  dtusim::LineFormat Format() const { return format_; }

  // The next openings fail (port missing or held by another program).
  bool failOpen = false;
  int openCount = 0;
  std::vector<SentCommand> sent;
  std::vector<std::string> SentTexts() const;
  // Bursts that reached a closed port or one listening with another format.
  int lostBursts = 0;

  // Delivers bytes as one chunk delayMs from now whatever the line format: noise, a banner, half a reply.
  void Inject(std::string bytes, uint32_t delayMs = 0);
  // Delivers bursts one after the other from now, each checked against the PC's format when it arrives.
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
  void Log(const lang::LangRow& row, const std::string& tail = {});

  ui::TMainFormDesign& form_;
  std::unique_ptr<lang::TLangList>& langList_;
  platform::EventLoop& loop_;
  std::unique_ptr<platform::LoopTimer> timer_;
  std::deque<Chunk> queue_;
  std::string lastCommand_;
  dtusim::LineFormat format_;
  bool open_ = true;
  bool pumpPosted_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace testing_support
