// What a read has been told: a read succeeds only when the DTU reported every field the table says its
// queries report, and one that did not names the fields it left as they were.

#include <algorithm>

#include "config/DeviceConfig.h"
#include "lang/OutcomeRows.h"
#include "values/Replies.h"

namespace config {

std::vector<std::string> TDeviceConfig::UnchangedFields(int query) {
  std::vector<std::string> names;
  for (const size_t row : values::RowsOfQuery(query)) {
    if (std::find(readRows_.begin(), readRows_.end(), row) != readRows_.end()) continue;
    // Several rows may share a field's name (the window's three line-format lists share one caption).
    std::string name = host_.FieldName(row);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
  return names;
}

void TDeviceConfig::LogUnreadable(const std::string& command, const std::vector<std::string>& unchanged) {
  std::string line = lang_.Text(lang::lang_Info_ReplyUnread) + CommandWithoutLineEnd(command);
  if (!unchanged.empty()) {
    line += lang_.Text(lang::lang_Info_Unchanged);
    for (size_t i = 0; i < unchanged.size(); ++i) line += (i == 0 ? "" : ", ") + unchanged[i];
  }
  host_.AddInfo(line);
}

}  // namespace config
