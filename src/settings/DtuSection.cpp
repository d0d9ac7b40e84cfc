#include "settings/DtuSection.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "settings/Settings.h"

namespace settings {
namespace {

bool IsFlag(size_t row) { return values::Table()[row].kind == values::Kind::Flag; }

// "; BaudRate 10 = 115200, Parity 0 = NONE, ...": what the numbers of the list rows mean, for the reader of
// the section; the loader skips the line.
std::string PositionsComment(const values::DtuValues& values, const std::vector<size_t>& rows) {
  std::string comment;
  for (const size_t row : rows) {
    const values::Row& setting = values::Table()[row];
    if (setting.kind != values::Kind::List || setting.wire == values::Wire::None) continue;
    const int position = values.IndexOf(setting.key);
    if (position < 0 || static_cast<size_t>(position) >= setting.items.size()) continue;
    comment += (comment.empty() ? "; " : ", ") + std::string(setting.key) + " " + std::to_string(position) +
               " = " + setting.items[static_cast<size_t>(position)];
  }
  return comment.empty() ? comment : comment + "\n";
}

}  // namespace

std::vector<size_t> AllRows() {
  std::vector<size_t> rows(values::Table().size());
  for (size_t row = 0; row < rows.size(); ++row) rows[row] = row;
  return rows;
}

std::vector<size_t> RowsTold(const std::vector<size_t>& readRows) {
  std::vector<size_t> rows;
  for (const size_t row : AllRows()) {
    const bool fileOnly = values::Table()[row].kind == values::Kind::CommandText;
    if (!fileOnly || std::find(readRows.begin(), readRows.end(), row) != readRows.end()) rows.push_back(row);
  }
  return rows;
}

SectionValues SectionOf(const values::DtuValues& values, const std::vector<size_t>& rows) {
  SectionValues section;
  for (const size_t row : rows) section.emplace_back(values::Table()[row].key, values.At(row));
  return section;
}

std::string DtuSection(const values::DtuValues& values, const std::vector<size_t>& rows) {
  std::string section = std::string("[") + kDtuSection + "]\n" + PositionsComment(values, rows);
  for (const size_t row : rows) {
    if (IsFlag(row) && values.At(row) != "1") continue;
    section += std::string(values::Table()[row].key) + '=' + StoredForm(values.At(row)) + "\n";
  }
  return section;
}

std::optional<values::DtuValues> ReadDtuFile(const std::string& path) {
  const IniFile ini(path);
  if (ini.ReadSection(kDtuSection).empty()) return std::nullopt;
  return ReadDtuValues(ini);
}

void SaveDtuFile(const std::string& path, const values::DtuValues& values) {
  IniFile file(path);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    file.Replace(DtuSection(values, AllRows()));
    return;
  }
  std::vector<IniWrite> writes;
  for (const size_t row : AllRows())
    writes.push_back({kDtuSection, values::Table()[row].key, StoredForm(values.At(row))});
  file.WriteStrings(writes);
}

}  // namespace settings
