// The receive side of the conversation. What arrives is logged as it came (the echo of the last command left
// out), then cut into lines. A line answers the awaited command only as its echo, as an information line the
// command expects, or as its final result; every other line is set aside. The final result ends the answer:
// OK accepts it, an error result refuses the command.

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "config/DeviceConfig.h"
#include "lang/DialogueRows.h"
#include "lang/OutcomeRows.h"
#include "values/Commands.h"
#include "values/Replies.h"
#include "values/SettingsTable.h"

namespace config {
namespace {

constexpr std::string_view kBanner = "@@Ver:";

bool IsFinalResult(std::string_view line) {
  return line == "OK" || line == "ERROR" || line.starts_with("+CME ERROR:") ||
         line.starts_with("+CMS ERROR:");
}

// Where the echo of the last command starts in the chunk, and how long it is. A DTU may echo the command
// exactly, with CR alone or LF alone at its end, or without its line end; an exact echo is looked for first.
std::optional<std::pair<size_t, size_t>> FindEcho(const std::string& chunk, const std::string& lastCommand) {
  if (lastCommand.empty()) return std::nullopt;
  if (const size_t exact = chunk.find(lastCommand); exact != std::string::npos) {
    return std::pair{exact, lastCommand.size()};
  }
  const std::string body = CommandWithoutLineEnd(lastCommand);
  if (body.empty()) return std::nullopt;
  const size_t at = chunk.find(body);
  if (at == std::string::npos) return std::nullopt;
  size_t length = body.size();
  if (chunk.compare(at + length, 2, "\r\n") == 0) {
    length += 2;
  } else if (at + length < chunk.size() && (chunk[at + length] == '\r' || chunk[at + length] == '\n')) {
    length += 1;
  }
  return std::pair{at, length};
}

// The entry name of an information line ("+CIPR: 9600" gives "CIPR"), upper-cased; empty for other lines.
std::string EntryName(std::string_view line) {
  if (!line.starts_with('+')) return {};
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  return values::UpperAscii(line.substr(1, colon - 1));
}

}  // namespace

void TDeviceConfig::Comm1ReceiveData(const void* /*Sender*/, const char* Buffer, uint16_t BufferLength) {
  HandleReply(Buffer, BufferLength);
}

bool TDeviceConfig::Expected(const std::string& line) const {
  const std::string name = EntryName(line);
  if (name.empty() || !readActive_) return false;
  // The entries the awaited query reports, and the entries that may run on after the first on one line.
  for (const values::Row& row : values::Table()) {
    if (row.query == readStep_ && row.entry != nullptr && name == row.entry) return true;
  }
  return false;
}

void TDeviceConfig::HandleReply(const char* bytes, size_t length) {
  if (length == 0 || shutDown_) return;
  const std::string command = port_.LastCommand();
  try {
    std::string chunk(bytes, length);
    std::string shown = chunk;
    if (const auto echo = FindEcho(shown, command)) shown.erase(echo->first, echo->second);
    // A chunk that is the echo alone, or a line end alone, says nothing worth a line of the log.
    if (shown.find_first_not_of("\r\n") != std::string::npos)
      host_.AddInfo(lang_.Text(lang::lang_Info_Receive) + shown);
    const std::string awaited = awaited_;
    answerGrew_ = false;
    pending_ += chunk;
    // Each line is taken off the front before it is handled: handling a line may wait with messages (the
    // pause before steps 9 and 10, the APN dialog), and a chunk handled meanwhile takes the lines after it.
    for (size_t end = pending_.find_first_of("\r\n"); end != std::string::npos;
         end = pending_.find_first_of("\r\n")) {
      const std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty()) TakeLine(line);
    }
    // A line that never ends is no answer: keep it from growing without bound.
    if (pending_.size() > 4096) pending_.clear();
    if (!awaited_.empty() && awaited_ == awaited && (answerGrew_ || !pending_.empty())) {
      // An answer that has begun is given the reply time-out again from its last byte: a long listing on a
      // slow line is read whole. Lines that answer nothing (a start-up banner) do not put it off.
      port_.TimeOut().SetEnabled(false);
      port_.TimeOut().SetEnabled(true);
    }
  } catch (const std::exception&) {
    // Whatever went wrong while handling the answer, the conversation is lost: both directions start over.
    const bool reading = readActive_;
    awaited_.clear();
    EndAllSequences(TOutcome::Unreadable, command, [&] {
      LogUnreadable(command, reading ? UnchangedFields(0) : std::vector<std::string>{});
    });
  }
}

void TDeviceConfig::TakeLine(const std::string& line) {
  if (line.find(kBanner) != std::string::npos) {
    // The DTU just started up. A note follows 1500 ms later; a write loses what the DTU had not saved.
    sendInfo_.SetEnabled(true);
    if (writeActive_ || verifying_) {
      awaited_.clear();
      port_.TimeOut().SetEnabled(false);
      const bool reading = readActive_;
      readActive_ = false;
      readStep_ = 1;
      const bool writing = writeActive_ || verifying_;
      writeActive_ = false;
      writeStep_ = 1;
      verifying_ = false;
      AddInfo(lang::lang_Info_Restarted);
      if (writing) RaiseEnd(writeAction_, TOutcome::Restarted, port_.LastCommand());
      if (reading && !writing) RaiseEnd(TAction::Read, TOutcome::Restarted, port_.LastCommand());
      UpdateBusy();
    }
    return;
  }
  // Nothing awaited: whatever comes now answers nothing.
  if (awaited_.empty()) return;
  if (line == CommandWithoutLineEnd(awaited_)) {
    answerGrew_ = true;
    return;
  }
  if (IsFinalResult(line)) {
    const std::string command = std::exchange(awaited_, std::string());
    port_.TimeOut().SetEnabled(false);
    Answered(line, command);
    return;
  }
  if (Expected(line)) {
    answerLines_.push_back(line);
    answerGrew_ = true;
  }
  // Any other line is set aside: it was logged with its chunk, and answers nothing.
}

void TDeviceConfig::Answered(const std::string& final, const std::string& command) {
  if (writeActive_) {
    answerLines_.clear();
    WriteAnswered(final, command);
  } else if (readActive_) {
    ReadAnswered(final, command);
  }
}

void TDeviceConfig::ReadAnswered(const std::string& final, const std::string& command) {
  std::string reply;
  for (const std::string& line : answerLines_) reply += line + "\r\n";
  reply += final + "\r\n";
  answerLines_.clear();
  // A read-back reads into its own copy: the window keeps what the user wrote, and the comparison shows what
  // the DTU kept.
  values::DtuValues read = verifying_ ? readBack_ : host_.CurrentValues();
  const values::ReplyReading reading = values::ReadReply(readStep_, reply, read);
  if (!reading.ok && readRefused_.empty()) {
    readRefused_ = command;
    readRefusedResult_ = final == "OK" ? "" : " (" + final + ")";
  }
  if (!reading.reported.empty()) {
    readRows_.insert(readRows_.end(), reading.reported.begin(), reading.reported.end());
    if (verifying_) {
      readBack_ = read;
    } else {
      // The host may show a dialog here (an APN of the DTU's own); what arrives meanwhile is handled nested.
      host_.ShowValues(read, reading.reported);
    }
  }
  // A reply that did not report every field of its query leaves the read incomplete, but the read goes on:
  // the other queries may still fill their fields.
  if (readUnread_.empty() && (reading.unreadable || !UnchangedFields(readStep_).empty()))
    readUnread_ = command;
  if (readActive_) ReadAdvance();
}

}  // namespace config
