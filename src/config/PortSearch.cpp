#include "config/PortSearch.h"

#include "lang/DialogueRows.h"
#include "lang/OutcomeRows.h"
#include "values/Commands.h"

namespace config {
namespace {

// A DTU that answers at all starts within this long after the query has gone out.
constexpr uint32_t kAnswerWithinMs = 300;
// The first bytes of an answer are read as they come, so that a try of the first pass need not wait for the
// whole reply, which takes over a second at 300 baud.
constexpr uint32_t kSearchReadIntervalMs = 2;
// What an adapter adds between the line and the program (a USB adapter's latency timer).
constexpr uint32_t kAdapterMarginMs = 30;

// Milliseconds count characters take on the line in its format (start, data, parity and stop bits).
uint32_t CharactersMs(const LineChoice& line, size_t count) {
  const size_t bits = 1 + static_cast<size_t>(line.dataBits) + (line.parity == 'N' ? 0 : 1) +
                      static_cast<size_t>(line.stopBits);
  return static_cast<uint32_t>((count * bits * 1000 + line.baudRate - 1) / line.baudRate);
}

// Whether what a try heard is over: the answer's final result came, or the bytes cannot be an answer to the
// query at all. Wrong settings garble what the DTU sends into bytes outside printable ASCII, or into lines
// that are neither the echo, the answer, a final result nor empty.
bool HeardAll(std::string_view heard) {
  for (const char c : heard) {
    if (c != '\r' && c != '\n' && (c < ' ' || c > '~')) return true;
  }
  static const std::string echo = CommandWithoutLineEnd(values::QueryText(1));
  for (size_t start = 0, end; (end = heard.find_first_of("\r\n", start)) != std::string_view::npos;
       start = end + 1) {
    const std::string_view line = heard.substr(start, end - start);
    if (line == "OK" || line == "ERROR") return true;
    if (!line.empty() && line != echo && !line.starts_with("+CIPR:")) return true;
  }
  return false;
}

}  // namespace

bool AnswersAtLine(std::string_view reply) { return reply.find("+CIPR:") != std::string_view::npos; }

uint32_t FirstPassWait(const LineChoice& line) {
  // The query, then the first byte of the answer.
  return CharactersMs(line, values::QueryText(1).size() + 1) + kAnswerWithinMs + kSearchReadIntervalMs +
         kAdapterMarginMs;
}

TPortSearch::TPortSearch(TConversationHost& host, TPortControl& port, TDeviceConfig& device,
                         lang::TLangHolder& lang, platform::EventLoop& loop)
    : host_(host), port_(port), device_(device), lang_(lang) {
  timer_ = loop.CreateTimer([this] { TimeUp(); }, 3000);
}

TPortSearch::~TPortSearch() {
  if (running_) GiveBackPort();
}

void TPortSearch::GiveBackPort() {
  port_.OnReceiveData = std::move(conversation_);
  port_.OnPortLost = std::move(conversationLost_);
  port_.OnClosed = std::move(closedBefore_);
  port_.ReadIntervalMs.reset();
}

void TPortSearch::Start() {
  if (running_) return;
  device_.Abort();
  running_ = true;
  device_.SetSearching(true);
  neverOpened_ = false;
  lost_ = false;
  found_.reset();
  candidates_ = LineCandidates();
  next_ = 0;
  firstPass_ = true;
  saved_ = host_.ChosenLine();
  conversation_ = port_.OnReceiveData;
  port_.OnReceiveData = [this](const char* bytes, uint16_t length) { Received(bytes, length); };
  conversationLost_ = port_.OnPortLost;
  port_.OnPortLost = [this] {
    if (conversationLost_) conversationLost_();
    Lost();
  };
  closedBefore_ = port_.OnClosed;
  // Whoever closes the port (the window's port button, the end of a command-line job) ends the search.
  port_.OnClosed = [this] {
    if (closedBefore_) closedBefore_();
    Stop(false);
  };
  port_.ReadIntervalMs = kSearchReadIntervalMs;
  host_.AddInfo(lang_.Text(lang::lang_Info_Searching) + host_.PortDevice());
  Try();
}

void TPortSearch::Try() {
  timer_->SetEnabled(false);
  if (!running_) return;
  if (next_ >= candidates_.size()) {
    if (!firstPass_) {
      Finish(false, true);
      return;
    }
    firstPass_ = false;
    next_ = 0;
  }
  const LineChoice& line = candidates_[next_++];
  heard_.clear();
  over_ = false;
  fullWait_ = !firstPass_;
  host_.ChooseLine(WholeLine(line));
  port_.OpenComPort();
  // A port that does not open at the most common settings is not there: the other settings cannot help.
  if (!port_.PortOpened) {
    neverOpened_ = firstPass_ && next_ == 1;
    Finish(false, false);
    return;
  }
  host_.AddInfo(lang_.Text(lang::lang_Info_SearchTry) + Describe(line));
  port_.SendCommand(values::QueryText(1));
  // The search keeps its own time: the reply time-out of a conversation would end it with its message.
  port_.TimeOut().SetEnabled(false);
  timer_->SetInterval(fullWait_ ? ReplyTimeoutForBaudRate(line.baudRate) : FirstPassWait(line));
  timer_->SetEnabled(true);
}

void TPortSearch::TimeUp() {
  if (!running_) return;
  LogHeard();
  if (AnswersAtLine(heard_)) {
    Finish(true, false);
  } else {
    Try();
  }
}

void TPortSearch::LogHeard() {
  // Once per try: the first pass reads the answer in pieces of a byte or two.
  if (!heard_.empty()) host_.AddInfo(lang_.Text(lang::lang_Info_Receive) + heard_);
}

void TPortSearch::Received(const char* bytes, uint16_t length) {
  if (!running_ || over_) return;
  heard_.append(bytes, length);
  if (HeardAll(heard_)) {
    over_ = true;
    if (AnswersAtLine(heard_)) {
      LogHeard();
      Finish(true, false);
      return;
    }
    // The next try comes from the loop, not from inside the port's receive event.
    timer_->SetInterval(1);
    timer_->SetEnabled(true);
    return;
  }
  if (fullWait_) return;
  // The start of what may be the answer: the rest of it gets the whole reply time.
  fullWait_ = true;
  timer_->SetInterval(ReplyTimeoutForBaudRate(candidates_[next_ - 1].baudRate));
}

void TPortSearch::End() {
  timer_->SetEnabled(false);
  running_ = false;
  GiveBackPort();
  device_.SetSearching(false);
}

void TPortSearch::Lost() {
  if (!running_) return;
  // The port control has logged the loss; the port stays closed and the lists keep the settings tried.
  lost_ = true;
  End();
  if (OnFinished) OnFinished();
}

void TPortSearch::Stop(bool reopen) {
  if (!running_) return;
  End();
  host_.ChooseLine(saved_);
  if (reopen) port_.OpenComPort();
  host_.AddInfo(lang_.Text(lang::lang_Info_Cancelled));
}

void TPortSearch::Finish(bool found, bool reopen) {
  End();
  if (found) {
    found_ = candidates_[next_ - 1];
    // The conversation reads whole replies again.
    port_.OpenComPort();
    host_.AddInfo(lang_.Text(lang::lang_Info_SearchFound) + Describe(*found_));
  } else {
    host_.ChooseLine(saved_);
    host_.AddInfo(lang_.Text(lang::lang_Info_SearchNone));
    if (reopen) port_.OpenComPort();
  }
  if (OnFinished) OnFinished();
}

}  // namespace config
