// The receive side of the conversation: the echo of the last command is taken off, the reply is logged, the
// DTU's start-up banner is told apart, the write check judges a running write, and a running read takes the
// values the reply reports (values/Replies.h reads them) and hands them to the host.

#include <optional>
#include <string_view>
#include <utility>

#include "config/DeviceConfig.h"
#include "values/Replies.h"

namespace config {
namespace {

void RemoveAll(std::string& text, std::string_view what) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
    text.erase(at, what.size());
}

// The write check looks past the DTU's line breaks and padding; a lone CR or LF is kept because it is not a
// line end the DTU produces.
std::string Clean(std::string reply) {
  RemoveAll(reply, "\r\n");
  RemoveAll(reply, " ");
  RemoveAll(reply, "\"");
  return reply;
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
    host_.AddInfo(lang_.Text(lang::lang_Info_Receive) + reply);
    if (reply.find("@@Ver:") != std::string::npos) {
      // A DTU that just started up answers nothing yet: the banner neither answers nor ends anything.
      sendInfo_.SetEnabled(true);
      return;
    }
    port_.TimeOut().SetEnabled(false);
    if (writeActive_) WriteCheck(Clean(reply));
    if (!readActive_) {
      readStep_ = 1;
      return;
    }
    values::DtuValues values = host_.CurrentValues();
    const values::ReplyReading reading = values::ReadReply(readStep_, reply, values);
    if (!reading.ok && readRefused_.empty()) readRefused_ = lastCommand;
    if (!reading.reported.empty()) {
      readRows_.insert(readRows_.end(), reading.reported.begin(), reading.reported.end());
      // The host may show a dialog here (an APN of the DTU's own); replies that come meanwhile are handled
      // nested, on the state as it is now.
      host_.ShowValues(values, reading.reported);
    }
    // A reply that did not report every field of its query leaves the read incomplete, but the read goes
    // on: the other queries may still fill their fields.
    if (readUnread_.empty() && (reading.unreadable || !UnchangedFields(readStep_).empty())) {
      readUnread_ = lastCommand;
    }
    if (readActive_) ReadAdvance();
  } catch (const std::exception&) {
    // Whatever went wrong while handling the reply, the conversation is lost: both directions start over.
    const bool reading = readActive_;
    EndAllSequences(TOutcome::Unreadable, lastCommand, [&] {
      LogUnreadable(lastCommand, reading ? UnchangedFields(0) : std::vector<std::string>{});
    });
  }
}

}  // namespace config
