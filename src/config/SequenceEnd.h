#pragma once
// How a read, a write-all or a restore-defaults came to its end: the one result the window and the command
// line take from the conversation, as a value rather than as a line of the log.

#include <optional>
#include <string>
#include <vector>

#include "values/Checks.h"

namespace config {

enum class TAction { Read, WriteAll, RestoreDefaults };

enum class TOutcome {
  Succeeded,
  Refused,     // the DTU answered without its OK, or with an ERROR
  TimedOut,    // no reply came within the reply time-out
  Unreadable,  // a reply could not be read; the conversation was dropped
  PortClosed,  // the command could not go out: the port is closed or was lost
  Invalid,     // a value could not be sent (problem says which and why); nothing more was sent
  Restarted,   // the DTU restarted (its start-up banner) during a write: what was not saved is lost
  Cancelled,   // the user cancelled it; the port stays open
  NotKept,     // a write whose read-back showed fields the DTU accepted but did not save (named in unchanged)
};

struct TSequenceEnd {
  TAction action;
  TOutcome outcome;
  // The command concerned, CR LF included: the refused, unanswered, unreadable or unsent one; the last one
  // sent on success; empty when a value stopped the write (Invalid).
  std::string command;
  // For a read whose replies did not report every field, or reported one that could not be read: the
  // fields left as they were, by the host's names for them. For NotKept: the fields the DTU did not keep.
  std::vector<std::string> unchanged = {};
  // For Invalid: the value that could not be sent.
  std::optional<values::Problem> problem = {};
  friend bool operator==(const TSequenceEnd&, const TSequenceEnd&) = default;
};

}  // namespace config
