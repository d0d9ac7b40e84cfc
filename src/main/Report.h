#pragma once
// --report FILE and read --format json: what each port of a run came to, for the records of a batch and
// for scripts. Texts are GBK inside the program and UTF-8 in these documents.

#include <cstdint>
#include <string>
#include <vector>

#include "main/CliOptions.h"
#include "settings/DtuSection.h"
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
  settings::SectionValues values = {};
};

// "read", "write", "defaults", "scan".
const char* ActionName(Action action);
// "succeeded", "refused", "timed-out", "not-opened", "interrupted", "not-kept",
// "not-found".
const char* OutcomeName(Outcome outcome);

// The header line of the CSV report: port, adapter, action, outcome, reason, ms, line, then every [DTU] key.
std::string ReportCsvHeader();
// One row of the CSV report, its line end included.
std::string ReportCsvRow(const ReportRow& row);
// One element of the JSON report, on a line of its own: a comma before it unless it is the first.
std::string ReportJsonRow(const ReportRow& row, bool first);

// read --format json: an array of {"port", "values": {...}} for the ports read, each value a string; ends
// in LF.
std::string ReadJson(const std::vector<ReportRow>& rows);

}  // namespace cli
