#include "config/PortSearch.h"

#include <string_view>

#include "lang/OutcomeRows.h"

namespace config {

TPortSearch::TPortSearch(ui::TMainFormDesign& form, TPortControl& port, TDeviceConfig& device,
                         lang::TLangHolder& lang, platform::EventLoop& loop)
    : form_(form), port_(port), device_(device), lang_(lang) {
  timer_ = loop.CreateTimer([this] { Try(); }, 3000);
}

TPortSearch::~TPortSearch() {
  if (running_) port_.OnReceiveData = std::move(conversation_);
}

void TPortSearch::Start() {
  if (running_) return;
  device_.Abort();
  running_ = true;
  found_.reset();
  candidates_ = LineCandidates();
  next_ = 0;
  const auto lists = PortSettingLists(form_);
  for (size_t i = 0; i < lists.size(); ++i) saved_[i] = lists[i]->ItemIndex();
  conversation_ = port_.OnReceiveData;
  port_.OnReceiveData = [this](const char* bytes, uint16_t length) { Received(bytes, length); };
  form_.AddInfo(lang_.Text(lang::lang_Info_Searching) + form_.cbb_Open_ComName.Text());
  Try();
}

void TPortSearch::Try() {
  timer_->SetEnabled(false);
  if (!running_) return;
  if (next_ >= candidates_.size()) {
    Finish(false);
    return;
  }
  const LineChoice& line = candidates_[next_++];
  ShowInPortLists(line, form_);
  port_.OpenComPort();
  // A port that does not open at the most common settings is not there: the other settings cannot help.
  if (!port_.PortOpened) {
    Finish(false);
    return;
  }
  port_.SendCommand(QueryText(1));
  // The search keeps its own time: the reply time-out of a conversation would end it with its message.
  form_.tmr_TimeOut.SetEnabled(false);
  timer_->SetInterval(ReplyTimeoutForBaudRate(line.baudRate));
  timer_->SetEnabled(true);
}

void TPortSearch::Received(const char* bytes, uint16_t length) {
  if (!running_) return;
  form_.AddInfo(lang_.Text(lang::lang_Info_Receive) + std::string(bytes, length));
  if (std::string_view(bytes, length).find("+CIPR:") == std::string_view::npos) return;
  found_ = candidates_[next_ - 1];
  Finish(true);
}

void TPortSearch::Stop() {
  if (running_) Finish(false);
}

void TPortSearch::Finish(bool found) {
  timer_->SetEnabled(false);
  running_ = false;
  port_.OnReceiveData = std::move(conversation_);
  if (found) {
    form_.AddInfo(lang_.Text(lang::lang_Info_SearchFound) + Describe(*found_));
    return;
  }
  const auto lists = PortSettingLists(form_);
  for (size_t i = 0; i < lists.size(); ++i) lists[i]->SetItemIndex(saved_[i]);
  form_.AddInfo(lang_.Text(lang::lang_Info_SearchNone));
  port_.OpenComPort();
}

}  // namespace config
