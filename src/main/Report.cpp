#include "main/Report.h"

#include <string_view>

#include "main/Json.h"
#include "platform/TextCodec.h"
#include "values/SettingsTable.h"

namespace cli {
namespace {

std::string CsvCell(std::string_view gbk) {
  const std::string utf8 = platform::GbkToUtf8(gbk);
  if (utf8.find_first_of(",\"\r\n") == std::string::npos && !utf8.starts_with(' ') && !utf8.ends_with(' ')) {
    return utf8;
  }
  std::string cell = "\"";
  for (const char c : utf8) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
  return cell + "\"";
}

std::string JsonValues(const settings::SectionValues& values) {
  std::string json = "{";
  for (size_t i = 0; i < values.size(); ++i) {
    json += (i == 0 ? "" : ", ") + JsonString(values[i].first) + ": " + JsonString(values[i].second);
  }
  return json + "}";
}

}  // namespace

const char* ActionName(Action action) {
  switch (action) {
    case Action::Read:
      return "read";
    case Action::Write:
      return "write";
    case Action::Defaults:
      return "defaults";
    case Action::Scan:
      return "scan";
  }
  return "";
}

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::Running:
      return "running";
    case Outcome::Succeeded:
      return "succeeded";
    case Outcome::Refused:
      return "refused";
    case Outcome::TimedOut:
      return "timed-out";
    case Outcome::NotOpened:
      return "not-opened";
    case Outcome::Interrupted:
      return "interrupted";
    case Outcome::NotKept:
      return "not-kept";
    case Outcome::NotFound:
      return "not-found";
  }
  return "";
}

std::string ReportCsvHeader() {
  std::string csv = "port,adapter,action,outcome,reason,ms,line";
  for (const values::Row& row : values::Table()) csv += "," + CsvCell(row.key);
  return csv + "\r\n";
}

std::string ReportCsvRow(const ReportRow& row) {
  std::string csv = CsvCell(row.port) + "," + CsvCell(row.adapter) + "," + ActionName(row.action) + "," +
                    OutcomeName(row.outcome) + "," + CsvCell(row.reason) + "," + std::to_string(row.ms) +
                    "," + row.line;
  for (const values::Row& setting : values::Table()) {
    csv += ",";
    for (const auto& [name, value] : row.values) {
      if (name == setting.key) csv += CsvCell(value);
    }
  }
  return csv + "\r\n";
}

std::string ReportJsonRow(const ReportRow& row, bool first) {
  return std::string(first ? "" : ",") + "\n  {\"port\": " + JsonString(row.port) +
         ", \"adapter\": " + JsonString(row.adapter) + ", \"action\": \"" + ActionName(row.action) +
         "\", \"outcome\": \"" + OutcomeName(row.outcome) + "\", \"reason\": " + JsonString(row.reason) +
         ", \"ms\": " + std::to_string(row.ms) + ", \"line\": " + JsonString(row.line) +
         ", \"values\": " + JsonValues(row.values) + "}";
}

std::string ReadJson(const std::vector<ReportRow>& rows) {
  std::string json = "[";
  bool first = true;
  for (const ReportRow& row : rows) {
    if (row.outcome != Outcome::Succeeded) continue;
    json += std::string(first ? "" : ",") + "\n  {\"port\": " + JsonString(row.port) +
            ", \"values\": " + JsonValues(row.values) + "}";
    first = false;
  }
  return json + (first ? "]\n" : "\n]\n");
}

}  // namespace cli
