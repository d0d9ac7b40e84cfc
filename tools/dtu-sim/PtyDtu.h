#pragma once
// The simulated DTU on a pseudo-terminal: the tool opens the slave path as its serial port, and a serving
// thread answers through the master with the DtuSimulator's bursts, in real time. The line settings the tool
// chose are read from the slave, so a tool that has not followed the DTU to a new baud rate or format gets no
// answer.
//
// A pseudo-terminal forces 8 data bits and no parity on its slave, so only the baud rate, the stop bits and
// odd parity can be compared; the data bits and the even/none choice are taken to match the DTU's.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "DtuSimulator.h"
#include "PtyLineSettings.h"
#include "platform/UniqueFd.h"

namespace dtusim {

class PtyDtu {
 public:
  enum class LogKind {
    FromTool,  // bytes the tool sent, as read
    ToTool,    // bytes the DTU wrote
    Note,      // what happened on the line (opened, closed, garbled, dropped)
  };
  // Called on the serving thread (and on the caller's thread by Unplug); never with a lock held. It may call
  // Stop and the accessors, but must not destroy the PtyDtu.
  using Logger = std::function<void(LogKind kind, std::string_view text)>;

  struct Options {
    Logger logger;
    // Send the power-on banner this long after the tool first opens the line, as a module switched on with
    // the cable already in place would.
    std::optional<uint32_t> bannerAfterFirstOpenMs;
  };

  // Opens a pseudo-terminal pair and starts serving. Throws std::system_error when no pair can be made.
  explicit PtyDtu(DtuSimulator simulator = {}, Options options = {});
  ~PtyDtu();
  PtyDtu(const PtyDtu&) = delete;
  PtyDtu& operator=(const PtyDtu&) = delete;

  // The path the tool opens as its serial port.
  const std::string& SlavePath() const { return slavePath_; }

  // Ends the serving thread; the line stays but nothing answers any more. Safe to call twice.
  void Stop();
  // Stops and closes the master, as pulling the cable out: the tool's port sees a hang-up.
  void Unplug();
  // Sends the power-on banner now (it is lost while the tool has the line closed).
  void SendPowerOn();
  // Sends any bytes delayMs after the bursts already due, as line noise or a module restarting would: the
  // tool sees them as one chunk unless the pause is long enough to cut it. Lost while the line is closed.
  void SendRaw(std::string bytes, uint32_t delayMs = 0);

  // Runs change on the simulator under the lock, to alter faults or settings while serving.
  void Change(const std::function<void(DtuSimulator&)>& change);
  std::vector<std::string> Received() const;
  // Waits until at least count commands have been received; false when the timeout passed first.
  bool WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;
  DtuSettings Settings() const;
  // The tool's line settings as last read with its bytes.
  std::optional<SlaveLineSettings> ToolLine() const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Scheduled {
    Clock::time_point due;
    std::string bytes;
  };
  struct LogEntry {
    LogKind kind;
    std::string text;
  };

  void Serve();
  bool ReadFromTool(std::vector<LogEntry>& log);
  void Schedule(const std::vector<Burst>& bursts);
  void WriteDue(bool lineOpen, bool& writeBlocked, std::vector<LogEntry>& log);
  int PollTimeoutMs() const;
  void Wake() const;
  void Emit(std::vector<LogEntry>& log) const;

  Options options_;
  std::string slavePath_;
  platform::UniqueFd master_;  // empty once unplugged
  platform::UniqueFd wake_;

  mutable std::mutex mutex_;
  mutable std::condition_variable receivedChanged_;
  DtuSimulator sim_;
  std::deque<Scheduled> outgoing_;
  Clock::time_point lastDue_{};
  std::optional<SlaveLineSettings> toolLine_;
  bool stopping_ = false;

  std::thread thread_;
};

// The bytes as one printable line: CR, LF and tab as \r \n \t, other bytes outside printable ASCII as \xHH.
std::string EscapeForLog(std::string_view bytes);

}  // namespace dtusim
