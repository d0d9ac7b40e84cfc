#pragma once
// DTU values as the [DTU] section of program.ini: the same keys, order and value forms the window saves, so
// that a read's text can be given back to a write as its settings file.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "values/DtuValues.h"

namespace settings {

// Keys and GBK values as program.ini holds them (list positions), not yet in their stored form.
using SectionValues = std::vector<std::pair<std::string, std::string>>;

// Every row of the table, in [DTU] order.
std::vector<size_t> AllRows();
// The rows a read tells: every row, but CIPMUX and CIPMODE, which only the settings file sets, only when the
// DTU listed them (readRows: the rows the read took from its replies).
std::vector<size_t> RowsTold(const std::vector<size_t>& readRows);

// The rows' keys and values, in table order.
SectionValues SectionOf(const values::DtuValues& values, const std::vector<size_t>& rows);

// "[DTU]", a comment line that says what the list positions stand for, and a line per row, each ending in
// LF. A HEX flag appears only when it is "1" (the loader gives a missing one as "0"). Values are in their
// stored form (StoredForm).
std::string DtuSection(const values::DtuValues& values, const std::vector<size_t>& rows);

// A [DTU] section file's values, a key it lacks taking its default as in program.ini; nothing when the file
// holds no [DTU] section (or cannot be read).
std::optional<values::DtuValues> ReadDtuFile(const std::string& path);
// Stores the values as a [DTU] section file: a new file gets DtuSection's text for every row; in a file that
// exists only the [DTU] keys change, so a profile kept in a bigger file (program.ini itself) loses nothing
// else. Throws EIniWriteError when the file cannot be written, the old file then left as it was.
void SaveDtuFile(const std::string& path, const values::DtuValues& values);

}  // namespace settings
