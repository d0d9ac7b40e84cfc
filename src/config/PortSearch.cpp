#include "config/PortSearch.h"

#include <string_view>

#include "lang/OutcomeRows.h"
#include "values/Commands.h"

namespace config {

bool AnswersAtLine(std::string_view reply) { return reply.find("+CIPR:") != std::string_view::npos; }

TPortSearch::TPortSearch(TConversationHost& host, TPortControl& port, TDeviceConfig& device,
                         lang::TLangHolder& lang, platform::EventLoop& loop)
    : host_(host), port_(port), device_(device), lang_(lang) {
  timer_ = loop.CreateTimer([this] { Try(); }, 3000);
}

TPortSearch::~TPortSearch() {
  if (running_) GiveBackPort();
}

void TPortSearch::GiveBackPort() {
  port_.OnReceiveData = std::move(conversation_);
  port_.OnPortLost = std::move(conversationLost_);
}

void TPortSearch::Start() {
  if (running_) return;
  device_.Abort();
  running_ = true;
  neverOpened_ = false;
  lost_ = false;
  found_.reset();
  candidates_ = LineCandidates();
  next_ = 0;
  saved_ = host_.ChosenLine();
  conversation_ = port_.OnReceiveData;
  port_.OnReceiveData = [this](const char* bytes, uint16_t length) { Received(bytes, length); };
  conversationLost_ = port_.OnPortLost;
  port_.OnPortLost = [this] {
    if (conversationLost_) conversationLost_();
    Lost();
  };
  host_.AddInfo(lang_.Text(lang::lang_Info_Searching) + host_.PortDevice());
  Try();
}

void TPortSearch::Try() {
  timer_->SetEnabled(false);
  if (!running_) return;
  if (next_ >= candidates_.size()) {
    Finish(false, true);
    return;
  }
  const LineChoice& line = candidates_[next_++];
  host_.ChooseLine(WholeLine(line));
  port_.OpenComPort();
  // A port that does not open at the most common settings is not there: the other settings cannot help.
  if (!port_.PortOpened) {
    neverOpened_ = next_ == 1;
    Finish(false, false);
    return;
  }
  port_.SendCommand(values::QueryText(1));
  // The search keeps its own time: the reply time-out of a conversation would end it with its message.
  port_.TimeOut().SetEnabled(false);
  timer_->SetInterval(ReplyTimeoutForBaudRate(line.baudRate));
  timer_->SetEnabled(true);
}

void TPortSearch::Received(const char* bytes, uint16_t length) {
  if (!running_) return;
  const std::string_view reply(bytes, length);
  host_.AddInfo(lang_.Text(lang::lang_Info_Receive) + std::string(reply));
  if (!AnswersAtLine(reply)) return;
  found_ = candidates_[next_ - 1];
  Finish(true, false);
}

void TPortSearch::Lost() {
  if (!running_) return;
  // The port control has logged the loss; the port stays closed and the lists keep the settings tried.
  timer_->SetEnabled(false);
  running_ = false;
  lost_ = true;
  GiveBackPort();
  if (OnFinished) OnFinished();
}

void TPortSearch::Stop(bool reopen) {
  if (!running_) return;
  timer_->SetEnabled(false);
  running_ = false;
  GiveBackPort();
  host_.ChooseLine(saved_);
  if (reopen) port_.OpenComPort();
}

void TPortSearch::Finish(bool found, bool reopen) {
  timer_->SetEnabled(false);
  running_ = false;
  GiveBackPort();
  if (found) {
    host_.AddInfo(lang_.Text(lang::lang_Info_SearchFound) + Describe(*found_));
  } else {
    host_.ChooseLine(saved_);
    host_.AddInfo(lang_.Text(lang::lang_Info_SearchNone));
    if (reopen) port_.OpenComPort();
  }
  if (OnFinished) OnFinished();
}

}  // namespace config
