#pragma once
// The search for the PC line settings at which the DTU on the host's port answers, for the window and the
// command line alike. Each candidate in turn (most likely first) becomes the host's chosen line, the port is
// opened with it and the DTU is asked "AT+CIPR?"; the first candidate that brings an answer holding "+CIPR:"
// stays chosen and the port stays open with it. Each try waits at most the reply time-out of its rate and
// ends as soon as the answer is in. While the search runs it has the port's replies to itself; the
// conversation gets them back after.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConversationHost.h"
#include "config/DeviceConfig.h"
#include "config/LineChoice.h"
#include "config/PortControl.h"
#include "lang/LangHolder.h"
#include "platform/EventLoop.h"

namespace config {

// Whether a reply to "AT+CIPR?" shows that the DTU understood it at the settings tried.
bool AnswersAtLine(std::string_view reply);

// How long a try of the first pass waits after sending: the query going out, a DTU that starts answering
// within 300 ms, its first byte coming back, and a margin for the adapter.
uint32_t FirstPassWait(const LineChoice& line);

class TPortSearch {
 public:
  TPortSearch(TConversationHost& host, TPortControl& port, TDeviceConfig& device, lang::TLangHolder& lang,
              platform::EventLoop& loop);
  ~TPortSearch();
  TPortSearch(const TPortSearch&) = delete;
  TPortSearch& operator=(const TPortSearch&) = delete;

  // Ends a running read or write, then starts with the first candidate. Nothing while a search runs.
  void Start();
  // Ends a running search with the cancelled verdict; the host's line goes back to what it was before it,
  // and the port is opened with it again unless reopen is false. Closing the port while the search runs
  // stops it so, without reopening.
  void Stop(bool reopen = true);
  bool Running() const { return running_; }
  // The settings found by the last search, if it found any.
  const std::optional<LineChoice>& Found() const { return found_; }
  // Whether the last search's port did not even open at the first candidate, which every adapter supports:
  // the device is not there, and the search gave up at once.
  bool NeverOpened() const { return neverOpened_; }
  // Whether the last search ended because the port was lost (unplugged, hung up) during a try: no other
  // settings can reach a device that is gone, so the search ends at once.
  bool PortLost() const { return lost_; }
  // Raised once when a search ends by itself (found, or every candidate tried), after its log line.
  std::function<void()> OnFinished;

 private:
  void Try();
  void TimeUp();
  void LogHeard();
  void Received(const char* bytes, uint16_t length);
  void Finish(bool found, bool reopen);
  // The search has ended: the port's events go back, the conversation is no longer held up.
  void End();
  void Lost();
  // Gives the port's receive and loss events back to the conversation.
  void GiveBackPort();

  TConversationHost& host_;
  TPortControl& port_;
  TDeviceConfig& device_;
  lang::TLangHolder& lang_;
  std::unique_ptr<platform::LoopTimer> timer_;
  std::vector<LineChoice> candidates_;
  size_t next_ = 0;
  bool firstPass_ = true;
  // What the running try has heard, and whether it already waits the full reply time-out.
  std::string heard_;
  bool fullWait_ = false;
  // The running try heard all it can: it ends when the loop comes round.
  bool over_ = false;
  bool running_ = false;
  bool neverOpened_ = false;
  bool lost_ = false;
  std::optional<LineChoice> found_;
  std::function<void(const char*, uint16_t)> conversation_;
  std::function<void()> conversationLost_;
  std::function<void()> closedBefore_;
  // The host's line before the search.
  PortLine saved_;
};

}  // namespace config
