#pragma once
// The DTUs of one run and the values each of them gets beside the settings file: the ports of --port and the
// rows of a --units file, merged, numbered and checked before any port is opened, so that a batch with a
// mistake in it changes no DTU at all.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "main/CliOptions.h"
#include "main/Console.h"
#include "main/UnitValues.h"

namespace cli {

struct Unit {
  // What the job opens and the log names: the --port text, or the CSV row's port (a bare /dev/serial/by-id
  // name given as its full path).
  std::string port;
  // 1-based: the rows of the file in file order, then the ports of the command line that no row names.
  int number = 0;
  // The serial number of the port's USB adapter; empty when it has none.
  std::string adapterSerial;
  // --set first, then the unit's own row; GBK, placeholders replaced.
  KeyValues values;
};

// Where ports and their adapters are looked up; tests give prepared folders.
struct SystemFolders {
  std::string dev = "/dev";
  std::string sys = "/sys";
};

struct UnitsError {
  std::string message;
};

// One row of a units file: its line number (for messages), the port cell and the other cells by key.
struct UnitsRow {
  int line = 0;
  std::string port;
  KeyValues values;
};

// The rows of a units file's text (UTF-8 or GBK: the syntax is ASCII, and no GBK byte pair holds a comma,
// a quotation mark or a line end): a header line naming the column "port" and [DTU] keys (any letter case),
// then one line per DTU. Cells are separated by commas and may be quoted ("" for a quotation mark); blanks
// around an unquoted cell are dropped, as spreadsheets drop them; a UTF-8 byte-order mark and blank lines are
// skipped; an empty cell leaves the key to the settings file and --set. A file without a row is refused.
std::variant<std::vector<UnitsRow>, UnitsError> ParseUnits(const std::string& text);

// The units of the command line; --set values are in the terminal's code set. Fails on a units file that
// cannot be read or parsed, a row without a port, two rows for one device (also under two names of it), a
// file's port that is not present, {serial} for a port whose adapter has no serial number, and a value with
// no GBK form (naming the port and the key). Whether the
// values can be sent is for values::Check to say, once they joined the settings file's.
std::variant<std::vector<Unit>, UnitsError> ResolveUnits(const CliOptions& options, TerminalCode terminal,
                                                         const SystemFolders& folders = {});

}  // namespace cli
