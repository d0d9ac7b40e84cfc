#pragma once
// One DTU's settings: a value for every row of the table, as program.ini holds it (GBK). A plain value type:
// no control, no file, no loop. Who holds one decides where it came from (the window's controls, a settings
// file, the command line, the DTU's replies).

#include <string>
#include <string_view>
#include <vector>

#include "values/SettingsTable.h"

namespace values {

class DtuValues {
 public:
  // Every row at its default.
  DtuValues();

  const std::string& Get(std::string_view key) const { return values_[RowOf(key)]; }
  void Set(std::string_view key, std::string value) { values_[RowOf(key)] = std::move(value); }
  const std::string& At(size_t row) const { return values_[row]; }
  void SetAt(size_t row, std::string value) { values_[row] = std::move(value); }

  // A list or number row as an integer; -1 when its text is not a whole number.
  int IndexOf(std::string_view key) const;
  // Whether a packet row's value is in hex form (its flag row holds "1").
  bool IsHexForm(size_t packetRow) const;

  friend bool operator==(const DtuValues&, const DtuValues&) = default;

 private:
  std::vector<std::string> values_;
};

// The rows restore-defaults puts back: every device field and both HEX flags (the defaults are plain text),
// not CIPMUX and CIPMODE, which only the settings file sets.
bool IsRestoredByDefaults(size_t row);
// values with every restored row at its default.
DtuValues WithDefaults(DtuValues values);

}  // namespace values
