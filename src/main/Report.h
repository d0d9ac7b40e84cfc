#pragma once
// --report FILE and read --format json: what each port of a run came to, for the records of a batch and
// for scripts. Texts are GBK inside the program and UTF-8 in these documents.

#include <cstdint>
#include <string>
#include <vector>

#include "main/CliOptions.h"
#include "main/DtuSection.h"
#include "main/Outcome.h"

namespace cli {

struct ReportRow {
  std::string port;
  std::string adapter;  // the USB adapter's serial number; empty when none
  Action action = Action::Read;
  Outcome outcome = Outcome::Running;
  std::string reason;  // GBK, in the language of the log; empty on success
  uint32_t ms = 0;
  // scan, --baud auto: the line settings the DTU answered at ("9600 8N1"); empty when none or not searched.
  std::string line = {};
  // What a write sent or a read found ([DTU] keys); empty when there is nothing to tell.
  SectionValues values = {};
};

// "read", "write", "defaults", "scan".
const char* ActionName(Action action);
// "succeeded", "refused", "timed-out", "not-opened", "interrupted", "not-kept",
// "not-found".
const char* OutcomeName(Outcome outcome);

// A header line (port, adapter, action, outcome, reason, ms, line, then every [DTU] key in the section's
// order, the HEX flags included), then a line per row; cells are quoted where they need it, lines end in CR
// LF as spreadsheets expect.
std::string ReportCsv(const std::vector<ReportRow>& rows);
// An array of one object per row: {"port", "adapter", "action", "outcome", "reason", "ms", "line",
// "values": {...}}.
std::string ReportJson(const std::vector<ReportRow>& rows);
// read --format json: an array of {"port", "values": {...}} for the ports read, each value a string; ends
// in LF.
std::string ReadJson(const std::vector<ReportRow>& rows);

}  // namespace cli
