#include "SimulatedPort.h"

#include <algorithm>
#include <charconv>

#include "ui/ListMeanings.h"

namespace testing_support {
namespace {

// Ticks wrap like the system's, so order is judged by the signed distance.
bool DueBy(uint32_t due, uint32_t now) { return static_cast<int32_t>(due - now) <= 0; }

}  // namespace

SimulatedPort::SimulatedPort(ui::TMainFormDesign& form, std::unique_ptr<lang::TLangList>& langList,
                             platform::EventLoop& loop)
    : form_(form), langList_(langList), loop_(loop) {
  timer_ = loop_.CreateTimer([this] { Pump(); }, 1);
  SetOpen(true);
}

SimulatedPort::~SimulatedPort() { *alive_ = false; }

void SimulatedPort::Log(const lang::LangRow& row, const std::string& tail) {
  form_.AddInfo(langList_->GetLangText(row) + tail);
}

void SimulatedPort::SetOpen(bool open) {
  open_ = open;
  if (!open) return;
  // The same reading of the lists as the real port control: an index that names nothing keeps the setting.
  const std::string baud = form_.cbb_Open_BaudRate.Text();
  uint32_t rate = 0;
  const auto [end, error] = std::from_chars(baud.data(), baud.data() + baud.size(), rate);
  if (error != std::errc() || end != baud.data() + baud.size() || baud.empty()) {
    open_ = false;
    return;
  }
  format_.baudRate = rate;
  if (const auto parity = ui::ParityAt(form_.cbb_Open_Parity.ItemIndex())) format_.parity = parity->letter;
  if (const auto bits = ui::DataBitsAt(form_.cbb_Open_Byte.ItemIndex())) format_.dataBits = *bits;
  if (const auto bits = ui::StopBitsAt(form_.cbb_Open_Stop.ItemIndex())) format_.stopBits = *bits;
}

void SimulatedPort::OpenComPort() {
  ++openCount;
  open_ = false;
  form_.tmr_TimeOut.SetEnabled(false);
  SetOpen(true);
  if (open_) {
    const uint32_t rate = format_.baudRate;
    form_.tmr_TimeOut.SetInterval(rate == 300 ? 8000 : rate == 600 ? 5000 : 3000);
  }
  if (failOpen) open_ = false;
  if (!open_) Log(lang::lang_Info_ComInuse);
}

void SimulatedPort::SendCommand(const std::string& Text) {
  if (!open_) {
    Log(lang::lang_Info_ComIsOpen);
    return;
  }
  lastCommand_ = Text;
  form_.tmr_TimeOut.SetEnabled(true);
  sent.push_back({Text, format_, openCount, loop_.TickCount()});
  if (peer) Deliver(peer(Text, format_));
  Log(lang::lang_Info_Send, Text);
}

std::vector<std::string> SimulatedPort::SentTexts() const {
  std::vector<std::string> texts;
  for (const SentCommand& command : sent) texts.push_back(command.text);
  return texts;
}

void SimulatedPort::Inject(std::string bytes, uint32_t delayMs) {
  Enqueue({loop_.TickCount() + delayMs, std::move(bytes), std::nullopt});
}

void SimulatedPort::Deliver(const std::vector<dtusim::Burst>& bursts) {
  uint32_t due = loop_.TickCount();
  for (const dtusim::Burst& burst : bursts) {
    due += burst.delayMs;
    Enqueue({due, burst.bytes, burst.format});
  }
}

void SimulatedPort::Enqueue(Chunk chunk) {
  // After every chunk due no later, so chunks due together keep the order they were made in.
  const auto at = std::find_if(queue_.begin(), queue_.end(),
                               [&](const Chunk& queued) { return !DueBy(queued.due, chunk.due); });
  queue_.insert(at, std::move(chunk));
  Arm();
}

void SimulatedPort::Arm() {
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

void SimulatedPort::Pump() {
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
    if (onReceive) onReceive(chunk.bytes.data(), static_cast<uint16_t>(chunk.bytes.size()));
  }
  Arm();
}

}  // namespace testing_support
