#include "main/Units.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "main/AdapterSerial.h"
#include "main/OutsideText.h"
#include "platform/FilePath.h"
#include "serial/ComName.h"
#include "values/Checks.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kPortColumn = "port";

struct CsvLine {
  int line = 0;  // where the record starts
  std::vector<std::string> cells;
};

std::string Trimmed(std::string text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  return text.substr(start);
}

bool IsPortColumn(const std::string& name) {
  return name.size() == kPortColumn.size() &&
         std::equal(name.begin(), name.end(), kPortColumn.begin(),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// Records as spreadsheets write them: a quoted cell may hold commas, quotation marks ("") and line breaks;
// the line break is kept in the cell so that the value check can refuse it with a clear message.
std::variant<std::vector<CsvLine>, UnitsError> CsvRecords(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  std::vector<CsvLine> records;
  CsvLine record{1, {}};
  std::string cell;
  bool quoted = false;
  bool cellWasQuoted = false;
  int line = 1;
  const auto endCell = [&] {
    record.cells.push_back(cellWasQuoted ? cell : Trimmed(cell));
    cell.clear();
    cellWasQuoted = false;
  };
  const auto endRecord = [&] {
    endCell();
    const bool blank = record.cells.size() == 1 && record.cells[0].empty();
    if (!blank) records.push_back(std::move(record));
    record = CsvLine{line, {}};
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cell += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        cell += c;
      }
    } else if (c == '"' && Trimmed(cell).empty()) {
      cell.clear();
      quoted = true;
      cellWasQuoted = true;
    } else if (c == ',') {
      endCell();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;
      endRecord();
    } else {
      cell += c;
    }
  }
  if (quoted) return UnitsError{"line " + std::to_string(record.line) + ": a quotation mark is not closed"};
  endRecord();
  return records;
}

// The device a port name stands for, to find one DTU under two names; the name itself when it leads nowhere.
std::string Identity(const std::string& port) {
  std::error_code ec;
  const fs::path real = fs::canonical(port, ec);
  return ec ? port : real.string();
}

}  // namespace

std::variant<std::vector<UnitsRow>, UnitsError> ParseUnits(const std::string& text) {
  auto parsed = CsvRecords(text);
  if (auto* error = std::get_if<UnitsError>(&parsed)) return *error;
  const auto& records = std::get<std::vector<CsvLine>>(parsed);
  if (records.empty()) return UnitsError{"the file is empty; its first line names the columns"};

  // The header: which column is the port and which key each other column is.
  std::optional<size_t> portColumn;
  std::vector<std::string> keys;
  for (size_t c = 0; c < records[0].cells.size(); ++c) {
    const std::string& name = records[0].cells[c];
    std::string key;
    if (IsPortColumn(name)) {
      if (portColumn) return UnitsError{"line 1: the column port is given twice"};
      portColumn = c;
    } else if (const auto dtuKey = DtuKey(name)) {
      if (std::find(keys.begin(), keys.end(), *dtuKey) != keys.end()) {
        return UnitsError{"line 1: the column " + *dtuKey + " is given twice"};
      }
      key = *dtuKey;
    } else {
      return UnitsError{"line 1: unknown key '" + name + "' (not a key of the [DTU] section)"};
    }
    keys.push_back(key);
  }
  if (!portColumn) return UnitsError{"line 1: no column named port"};

  std::vector<UnitsRow> rows;
  for (size_t r = 1; r < records.size(); ++r) {
    const CsvLine& record = records[r];
    const std::string where = "line " + std::to_string(record.line) + ": ";
    if (record.cells.size() > keys.size()) return UnitsError{where + "more cells than the first line names"};
    UnitsRow row{record.line, {}, {}};
    for (size_t c = 0; c < record.cells.size(); ++c) {
      const std::string& cell = record.cells[c];
      if (c == *portColumn) {
        row.port = cell;
      } else if (!cell.empty()) {
        row.values.emplace_back(keys[c], cell);
      }
    }
    if (row.port.empty()) return UnitsError{where + "the row has no port"};
    rows.push_back(std::move(row));
  }
  // A file meant to name the batch's DTUs that names none is a mistake, not a batch of nothing.
  if (rows.empty()) return UnitsError{"names no DTU: it has no row after the first line"};
  return rows;
}

std::variant<std::vector<Unit>, UnitsError> ResolveUnits(const CliOptions& options, TerminalCode terminal,
                                                         const SystemFolders& folders) {
  std::vector<Unit> units;
  std::vector<std::string> identities;
  std::vector<KeyValues> rowValues;
  std::string file;
  TerminalCode fileCode = TerminalCode::Utf8;
  if (options.unitsFile) {
    file = *options.unitsFile;
    std::ifstream in(platform::NativePath(file), std::ios::binary);
    if (!in.is_open()) return UnitsError{"cannot read units file " + file};
    std::stringstream text;
    text << in.rdbuf();
    fileCode = FileTextCode(text.str());
    auto parsed = ParseUnits(text.str());
    if (auto* error = std::get_if<UnitsError>(&parsed)) return UnitsError{file + " " + error->message};
    for (UnitsRow& row : std::get<std::vector<UnitsRow>>(parsed)) {
      const std::string where = file + " line " + std::to_string(row.line) + ": ";
      // "COM3" names a port as --port does (on Windows the system's name, here through program.ini's
      // [Ports]); whether it is there, its open tells. Any other bare name is one of the stable names udev
      // gives each adapter.
      const int com = serial::ComNumber(row.port, 256);
      std::string port = com > 0 || row.port.find_first_of("/\\") != std::string::npos
                             ? row.port
                             : (fs::path(folders.dev) / "serial/by-id" / row.port).string();
      std::error_code ec;
      if (com == 0 && !fs::exists(port, ec))
        return UnitsError{where + "port " + row.port + " is not present"};
      const std::string identity = com > 0 ? "COM" + std::to_string(com) : Identity(port);
      if (std::find(identities.begin(), identities.end(), identity) != identities.end()) {
        return UnitsError{where + "a second row for port " + row.port};
      }
      identities.push_back(identity);
      units.push_back(Unit{std::move(port), 0, {}, {}});
      rowValues.push_back(std::move(row.values));
    }
  }
  // A port of the command line that a row names takes the row's values (and place); the others follow.
  // Two --port names for one device stay two jobs, as they always were: the second open fails.
  const size_t rowCount = units.size();
  for (const std::string& port : options.ports) {
    const auto rowsEnd = identities.begin() + static_cast<std::ptrdiff_t>(rowCount);
    if (std::find(identities.begin(), rowsEnd, Identity(port)) != rowsEnd) continue;
    units.push_back(Unit{port, 0, {}, {}});
    rowValues.emplace_back();
  }

  for (size_t i = 0; i < units.size(); ++i) {
    Unit& unit = units[i];
    unit.number = static_cast<int>(i) + 1;
    unit.adapterSerial = AdapterSerial(unit.port, folders.sys);
    const auto give = [&](const KeyValues& given, TerminalCode code) -> std::optional<UnitsError> {
      for (const auto& [key, value] : given) {
        // Every unit would get the same value where each was meant to get its own.
        if (unit.adapterSerial.empty() && value.find("{serial}") != std::string::npos) {
          return UnitsError{key + " uses {serial}, but " + unit.port + " has no serial number"};
        }
        const auto gbk = ToGbk(WithPlaceholders(value, unit.number, unit.adapterSerial), code);
        if (!gbk) {
          const values::Problem problem{values::RowOf(key), values::Rule::NotGbk};
          return UnitsError{unit.port + ": " + key + " " + values::DescribeRule(problem)};
        }
        unit.values.emplace_back(key, *gbk);
      }
      return std::nullopt;
    };
    if (auto error = give(options.sets, terminal)) return *error;
    if (auto error = give(rowValues[i], fileCode)) return *error;
  }
  return units;
}

}  // namespace cli
