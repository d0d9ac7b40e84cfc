#include <algorithm>
#include <optional>
#include <string_view>

#include "config/DeviceConfig.h"
#include "config/Encoding.h"
#include "lang/GbkText.h"
#include "ui/DeviceFields.h"
#include "values/ListMeanings.h"

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
  const std::string upper = lang::UpperAscii(name);
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

// Where the echo of the last command starts in the reply, and how long it is. A DTU may echo the command
// exactly, with CR alone or LF alone at its end, or without its line end; an exact echo is looked for first.
std::optional<std::pair<size_t, size_t>> FindEcho(const std::string& reply, const std::string& lastCommand) {
  if (lastCommand.empty()) return std::nullopt;
  if (const size_t exact = reply.find(lastCommand); exact != std::string::npos) {
    return std::pair{exact, lastCommand.size()};
  }
  std::string_view body = lastCommand;
  while (!body.empty() && (body.back() == '\r' || body.back() == '\n')) body.remove_suffix(1);
  if (body.empty()) return std::nullopt;
  const size_t at = reply.find(body);
  if (at == std::string::npos) return std::nullopt;
  size_t length = body.size();
  if (reply.compare(at + length, 2, "\r\n") == 0) {
    length += 2;
  } else if (at + length < reply.size() && (reply[at + length] == '\r' || reply[at + length] == '\n')) {
    length += 1;
  }
  return std::pair{at, length};
}

// The APN entry's values: the name up to the first comma in upper case; then, when that comma is the
// entry's own, the account and the password, each up to the next comma or the next entry.
ApnParts ListedApn(const std::string& rest) {
  ApnParts apn;
  apn.name = lang::UpperAscii(Chars(rest, 1, Pos(',', rest) - 1));
  const size_t comma = rest.find(',');
  const size_t next = rest.find('+');
  if (comma == std::string::npos || (next != std::string::npos && next < comma)) return apn;
  std::string_view values = std::string_view(rest).substr(comma + 1);
  values = values.substr(0, values.find('+'));
  if (next == std::string::npos && values.ends_with("OK")) values.remove_suffix(2);
  const size_t second = values.find(',');
  apn.account = std::string(values.substr(0, second));
  if (second != std::string_view::npos) {
    const std::string_view password = values.substr(second + 1);
    apn.password = std::string(password.substr(0, password.find(',')));
  }
  return apn;
}

// The value of an entry up to the next entry (or the end, less the reply's closing OK).
std::string FirstValue(const std::string& rest) {
  std::string value = rest.substr(0, rest.find('+'));
  if (rest.find('+') == std::string::npos && value.ends_with("OK")) value.resize(value.size() - 2);
  return value;
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
  if (length <= 1 || shutDown_) return;
  // The command this reply answers; the write check may send the next one before the read is handled.
  const std::string lastCommand = port_.LastCommand();
  try {
    std::string reply(bytes, length);
    if (const auto echo = FindEcho(reply, lastCommand)) {
      // The DTU's echo of the command alone says nothing about the command.
      if (echo->second == reply.size()) return;
      reply.erase(echo->first, echo->second);
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
    // A reply that did not report every field of its query leaves the read incomplete, but the read goes
    // on: the other queries may still fill their fields.
    if (readUnread_.empty() && !UnchangedFields(readStep_).empty()) readUnread_ = lastCommand;
    ReadAdvance();
  } catch (const std::exception&) {
    // Whatever the DTU sent that could not be read, the conversation is lost: both directions start over.
    // The received text is already in the log; fields changed before the error keep their new values.
    const bool reading = readActive_;
    EndAllSequences(TOutcome::Unreadable, lastCommand, [&] {
      LogUnreadable(lastCommand, reading ? UnchangedFields(0) : std::vector<ui::TLabel*>{});
    });
  }
}

void TDeviceConfig::HandleBaudRateReply(std::string rest) {
  const Entry entry = SplitEntry(rest, true);
  if (entry.name != "CIPR") return;
  const auto& items = form_.cbb_Com_BaudRate.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == entry.value) {
      form_.cbb_Com_BaudRate.SetItemIndex(static_cast<int>(i));
      Reported(form_.cbb_Com_BaudRate);
      return;
    }
  }
}

void TDeviceConfig::HandleFormatReply(std::string rest) {
  const Entry entry = SplitEntry(rest, true);
  if (entry.name != "ICF") return;
  const std::string& value = entry.value;
  if (value.empty()) throw EConvertError("'' is not a valid integer value");
  if (const auto format = values::ByteAndStopFromDtuCode(DigitValue(value[0]))) {
    form_.cbb_Com_Byte.SetItemIndex(format->byteIndex);
    form_.cbb_Com_Stop.SetItemIndex(format->stopIndex);
    Reported(form_.cbb_Com_Byte);
    Reported(form_.cbb_Com_Stop);
  }
  if (value.size() < 3) throw EConvertError("'' is not a valid integer value");
  if (const auto parity = values::ParityIndexFromDtuCode(DigitValue(value[2]))) {
    form_.cbb_Com_Parity.SetItemIndex(*parity);
    Reported(form_.cbb_Com_Parity);
  }
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
          ui::TEdit* field = count == 2   ? &form_.edtl_HeartbeatTime
                             : count == 4 ? &form_.edt_WaitTime
                             : count == 5 ? &form_.edt_WaitLen
                             : count == 6 ? &form_.edt_RestartTime
                                          : nullptr;
          if (field != nullptr) {
            field->SetText(text);
            Reported(*field);
          }
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
        Reported(*edit);
        CutToNextEntry(rest);
        break;
      }
      case TMyStrSel::CSTT: {
        // The APN ends at the first comma; an account and a password may follow, each after a comma, and
        // are kept so that a write after the read gives them back to the DTU.
        ApnParts apn = ListedApn(rest);
        Reported(form_.edt_APN_other);
        if (apn.account.empty() && apn.name == ui::kApnCmnet) {
          form_.cbb_APN.SetItemIndex(0);
          SetFixedApn(ui::kApnCmnet);
        } else if (apn.account.empty() && apn.name == ui::kApnUninet) {
          form_.cbb_APN.SetItemIndex(1);
          SetFixedApn(ui::kApnUninet);
        } else {
          form_.ShowOtherApn(ComposeApnText(apn));
          if (ShowApnDialog) ShowApnDialog(apn);
        }
        break;
      }
      case TMyStrSel::CIPSTART:
        // Protocol, server, port, then values of the DTU's own that the tool does not set.
        WalkValues(rest, [this](int count, const std::string& text) {
          if (count == 1) {
            const std::string protocol = lang::UpperAscii(text);
            if (protocol == "TCP" || protocol == "UDP") {
              form_.cbb_NetProtocol.SetItemIndex(protocol == "TCP" ? 0 : 1);
              Reported(form_.cbb_NetProtocol);
            }
          }
          ui::TEdit* field = count == 2 ? &form_.edt_IP : count == 3 ? &form_.edt_Port : nullptr;
          if (field != nullptr) {
            field->SetText(text);
            Reported(*field);
          }
          return count < 3;
        });
        break;
      case TMyStrSel::CIPMODE:
        ListedCipmode = FirstValue(rest);
        break;
      case TMyStrSel::CIPMUX:
        ListedCipmux = FirstValue(rest);
        break;
    }
  }
}

}  // namespace config
