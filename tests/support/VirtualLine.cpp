#include "VirtualLine.h"

#include <algorithm>

namespace testing_support {
namespace {

// Ticks wrap like the system's, so order is judged by the signed distance.
bool DueBy(uint32_t due, uint32_t now) { return static_cast<int32_t>(due - now) <= 0; }

}  // namespace

VirtualLine::VirtualLine(platform::EventLoop& loop) : loop_(loop) {
  timer_ = loop_.CreateTimer([this] { Pump(); }, 1);
}

VirtualLine::~VirtualLine() { *alive_ = false; }

void VirtualLine::Open(const std::string& /*device*/, const serial::PortSettings& settings,
                       uint32_t readIntervalMs) {
  open_ = false;
  ++openCount;
  if (failOpen) throw serial::ECommsError("Error opening serial port");
  readInterval_ = readIntervalMs;
  format_.baudRate = settings.BaudRate;
  format_.parity = settings.Parity == serial::TParity::Odd    ? 'O'
                   : settings.Parity == serial::TParity::Even ? 'E'
                                                              : 'N';
  format_.dataBits = settings.ByteSize == serial::TByteSize::_7 ? 7 : 8;
  format_.stopBits = settings.StopBits == serial::TStopBits::_2 ? 2 : 1;
  open_ = true;
}

void VirtualLine::Close() { open_ = false; }

bool VirtualLine::Write(std::string_view bytes) {
  if (!open_) return false;
  sent.push_back({std::string(bytes), format_, openCount, loop_.TickCount()});
  if (peer) Deliver(peer(bytes, format_));
  return true;
}

std::vector<std::string> VirtualLine::SentTexts() const {
  std::vector<std::string> texts;
  for (const SentCommand& command : sent) texts.push_back(command.text);
  return texts;
}

void VirtualLine::Inject(std::string bytes, uint32_t delayMs) {
  Enqueue({loop_.TickCount() + delayMs, std::move(bytes), std::nullopt});
}

void VirtualLine::Deliver(const std::vector<dtusim::Burst>& bursts) {
  uint32_t due = loop_.TickCount();
  for (const dtusim::Burst& burst : bursts) {
    due += burst.delayMs;
    Enqueue({due, burst.bytes, burst.format});
  }
}

void VirtualLine::Enqueue(Chunk chunk) {
  // After every chunk due no later, so chunks due together keep the order they were made in.
  const auto at = std::find_if(queue_.begin(), queue_.end(),
                               [&](const Chunk& queued) { return !DueBy(queued.due, chunk.due); });
  queue_.insert(at, std::move(chunk));
  Arm();
}

void VirtualLine::Arm() {
  timer_->SetEnabled(false);
  if (queue_.empty()) return;
  const uint32_t now = loop_.TickCount();
  if (DueBy(queue_.front().due, now)) {
    // A timer of 0 never ticks; a chunk due now arrives as the next message.
    if (!pumpPosted_) {
      pumpPosted_ = true;
      loop_.Post([this, alive = alive_] {
        if (!*alive) return;
        pumpPosted_ = false;
        Pump();
      });
    }
    return;
  }
  timer_->SetInterval(queue_.front().due - now);
  timer_->SetEnabled(true);
}

void VirtualLine::Pump() {
  // A receive handler may wait with messages (the pause before steps 9 and 10, the APN dialog) and so pump
  // again from inside; each chunk is taken off the queue before it is handed over.
  while (!queue_.empty() && DueBy(queue_.front().due, loop_.TickCount())) {
    Chunk chunk = std::move(queue_.front());
    queue_.pop_front();
    Arm();
    if (chunk.sentWith && (!open_ || *chunk.sentWith != format_)) {
      ++lostBursts;
      continue;
    }
    if (OnReceive) OnReceive(chunk.bytes.data(), static_cast<uint16_t>(chunk.bytes.size()));
  }
  Arm();
}

}  // namespace testing_support
