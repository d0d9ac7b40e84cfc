#include <algorithm>
#include <optional>
#include <string_view>

#include "config/DeviceConfig.h"
#include "config/Encoding.h"
#include "ui/DeviceFields.h"
#include "ui/ListMeanings.h"

namespace config {
namespace {

// Positions count from 1 and 0 means "not there", the way the DTU's manual counts characters in a reply;
// the entry rules below are written in those terms.
long Pos(char c, const std::string& text) {
  const size_t at = text.find(c);
  return at == std::string::npos ? 0 : static_cast<long>(at) + 1;
}

// Characters from to to, both included; empty when to comes before from.
std::string Chars(const std::string& text, long from, long to) {
  to = std::min(to, static_cast<long>(text.size()));
  if (from < 1 || to < from) return {};
  return text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
}

void RemoveAll(std::string& text, std::string_view what) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
    text.erase(at, what.size());
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool Contains(const std::string& text, std::string_view what) { return text.find(what) != std::string::npos; }

// The DTU breaks long replies over lines and pads them for people; none of that carries meaning. A lone CR
// or LF is kept because it is not a line end the DTU produces.
std::string Clean(std::string reply) {
  RemoveAll(reply, "\r\n");
  RemoveAll(reply, " ");
  RemoveAll(reply, "\"");
  return reply;
}

struct Entry {
  std::string name;
  std::string value;
};

// "+NAME:value". The two query replies end in the DTU's OK, which is not part of the value.
Entry SplitEntry(const std::string& rest, bool dropTrailingOk) {
  const long plus = Pos('+', rest);
  const long colon = Pos(':', rest);
  const long end = static_cast<long>(rest.size()) - (dropTrailingOk ? 2 : 0);
  return {Chars(rest, plus + 1, colon - 1), Chars(rest, colon + 1, end)};
}

std::optional<TMyStrSel> MyStrSelFromName(const std::string& name) {
  static constexpr std::pair<std::string_view, TMyStrSel> names[] = {
      {"CIPCFG", TMyStrSel::CIPCFG}, {"CIPPACK", TMyStrSel::CIPPACK}, {"CIPMODE", TMyStrSel::CIPMODE},
      {"CIPMUX", TMyStrSel::CIPMUX}, {"CSTT", TMyStrSel::CSTT},       {"CIPSTART", TMyStrSel::CIPSTART}};
  const std::string upper = UpperAscii(name);
  for (const auto& [text, sel] : names) {
    if (upper == text) return sel;
  }
  return std::nullopt;
}

// Walks comma-separated values up to the next entry's "+". Each value is handed over with its running
// count when its separator arrives; a value that no separator follows is never handed over. store returns
// false to stop early.
template <typename Store>
void WalkValues(const std::string& value, Store store) {
  std::string accumulated;
  int count = 0;
  for (const char c : value) {
    if (c != '+' && c != ',') {
      accumulated.push_back(c);
      continue;
    }
    ++count;
    const bool goOn = store(count, accumulated);
    accumulated.clear();
    if (c == '+' || !goOn) return;
  }
}

// Keeps the rest from the next entry on; when there is no next entry the rest stays as it is.
void CutToNextEntry(std::string& rest) {
  const size_t plus = rest.find('+');
  if (plus != std::string::npos) rest.erase(0, plus);
}

}  // namespace

void TDeviceConfig::Comm1ReceiveData(const void* /*Sender*/, const char* Buffer, uint16_t BufferLength) {
  HandleReply(Buffer, BufferLength);
}

void TDeviceConfig::HandleReply(const char* bytes, size_t length) {
  if (length <= 1) return;
  try {
    std::string reply(bytes, length);
    const std::string lastCommand = port_.LastCommand();
    // The DTU's echo of the command alone says nothing about the command.
    if (reply == lastCommand) return;
    if (!lastCommand.empty()) {
      const size_t echo = reply.find(lastCommand);
      if (echo != std::string::npos) reply.erase(echo, lastCommand.size());
    }
    form_.AddInfo(lang_.Text(lang::lang_Info_Receive) + reply);
    if (Contains(reply, "@@Ver:")) {
      // A DTU that just started up answers nothing yet: the banner neither answers nor ends anything.
      form_.tmr_SendInfo.SetEnabled(true);
      return;
    }
    form_.tmr_TimeOut.SetEnabled(false);
    const std::string cleaned = Clean(reply);
    if (writeActive_) WriteCheck(cleaned);
    if (!readActive_) {
      readStep_ = 1;
      return;
    }
    if ((!Contains(cleaned, "OK") || Contains(cleaned, "ERROR")) && readRefused_.empty()) {
      readRefused_ = lastCommand;
    }
    switch (readStep_) {
      case 1:
        HandleBaudRateReply(cleaned);
        break;
      case 2:
        HandleFormatReply(cleaned);
        break;
      case 3:
        HandleListingReply(cleaned);
        break;
      default:
        break;
    }
    ReadAdvance();
  } catch (const std::exception&) {
    // Whatever the DTU sent that could not be read, the conversation is lost: both directions start over.
    // The received text is already in the log; fields changed before the error keep their new values.
    EndAllSequences(TOutcome::Unreadable, port_.LastCommand());
  }
}

void TDeviceConfig::HandleBaudRateReply(std::string rest) {
  const Entry entry = SplitEntry(rest, true);
  if (entry.name != "CIPR") return;
  const auto& items = form_.cbb_Com_BaudRate.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == entry.value) {
      form_.cbb_Com_BaudRate.SetItemIndex(static_cast<int>(i));
      return;
    }
  }
}

void TDeviceConfig::HandleFormatReply(std::string rest) {
  const Entry entry = SplitEntry(rest, true);
  if (entry.name != "ICF") return;
  const std::string& value = entry.value;
  if (value.empty()) throw EConvertError("'' is not a valid integer value");
  if (const auto format = ui::ByteAndStopFromDtuCode(DigitValue(value[0]))) {
    form_.cbb_Com_Byte.SetItemIndex(format->byteIndex);
    form_.cbb_Com_Stop.SetItemIndex(format->stopIndex);
  }
  if (value.size() < 3) throw EConvertError("'' is not a valid integer value");
  if (const auto parity = ui::ParityIndexFromDtuCode(DigitValue(value[2])))
    form_.cbb_Com_Parity.SetItemIndex(*parity);
}

void TDeviceConfig::HandleListingReply(std::string rest) {
  // The DTU lists at most seven entries (CIPPACK twice); entries are found by their "+" whatever their order.
  for (int pass = 0; pass < 7; ++pass) {
    Entry entry = SplitEntry(rest, false);
    rest = entry.value;
    const auto sel = MyStrSelFromName(entry.name);
    if (!sel) continue;
    switch (*sel) {
      case TMyStrSel::CIPCFG:
        // 1, heartbeat, 0, packing time, packing length, restart time.
        WalkValues(rest, [this](int count, const std::string& text) {
          if (count == 2) form_.edtl_HeartbeatTime.SetText(text);
          if (count == 4) form_.edt_WaitTime.SetText(text);
          if (count == 5) form_.edt_WaitLen.SetText(text);
          if (count == 6) form_.edt_RestartTime.SetText(text);
          return true;
        });
        CutToNextEntry(rest);
        break;
      case TMyStrSel::CIPPACK: {
        if (rest.empty()) break;
        ui::TEdit* edit = nullptr;
        const ui::TCheckBox* box = nullptr;
        std::string digits;
        if (rest[0] == '0') {
          edit = &form_.edt_HeartbeatFormat;
          box = &form_.chk_HeartbeatFormat;
          digits = Chars(rest, 3, Pos('+', rest) - 1);
        } else if (rest[0] == '1') {
          edit = &form_.edt_DevID;
          box = &form_.chk_DevID;
          digits = Chars(rest, Pos(',', rest) + 1, Pos('+', rest) - 1);
        } else {
          break;
        }
        edit->SetText(box->Checked() ? digits : HexToAscii(digits));
        CutToNextEntry(rest);
        break;
      }
      case TMyStrSel::CSTT: {
        // The APN ends at the first comma; account and password are not taken back.
        const std::string apn = UpperAscii(Chars(rest, 1, Pos(',', rest) - 1));
        if (apn == ui::kApnCmnet) {
          form_.cbb_APN.SetItemIndex(0);
          SetFixedApn(ui::kApnCmnet);
        } else if (apn == ui::kApnUninet) {
          form_.cbb_APN.SetItemIndex(1);
          SetFixedApn(ui::kApnUninet);
        } else {
          SetOtherApn(apn);
        }
        break;
      }
      case TMyStrSel::CIPSTART:
        // Protocol, server, port, then values of the DTU's own that the tool does not set.
        WalkValues(rest, [this](int count, const std::string& text) {
          if (count == 1) {
            const std::string protocol = UpperAscii(text);
            if (protocol == "TCP") form_.cbb_NetProtocol.SetItemIndex(0);
            if (protocol == "UDP") form_.cbb_NetProtocol.SetItemIndex(1);
          }
          if (count == 2) form_.edt_IP.SetText(text);
          if (count == 3) form_.edt_Port.SetText(text);
          return count < 3;
        });
        break;
      case TMyStrSel::CIPMODE:
      case TMyStrSel::CIPMUX:
        break;
    }
  }
}

}  // namespace config
