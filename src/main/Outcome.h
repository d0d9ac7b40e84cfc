#pragma once
// What one port of a command-line run came to: its last line, its exit status and its report row.

namespace cli {

enum class Outcome {
  Running,
  Succeeded,    // the conversation reported success
  Refused,      // the DTU answered something the sequence does not accept
  TimedOut,     // no reply in time, or the overall limit passed
  NotOpened,    // the PC port could not be opened (at the start, or when following the DTU's new settings)
  Interrupted,  // stopped by a signal
  NotKept,      // write --verify: the read-back showed a field other than it was written
  NotFound,     // scan, --baud auto: the DTU did not answer at any line setting tried
};

}  // namespace cli
