#include "main/CliOptions.h"

#include <algorithm>
#include <charconv>

#include "main/UnitValues.h"
#include "values/ListMeanings.h"

namespace cli {
namespace {

std::optional<int> WholeNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || rest != end) return std::nullopt;
  return value;
}

// The longest limit anyone could mean; beyond it the 32-bit tick arithmetic of the loop would wrap.
constexpr int kMaxTimeoutSeconds = 24 * 60 * 60;

}  // namespace

const char* UsageText() {
  return "usage: dtu-config read     --port DEVICE... [--ini FILE] [options]\n"
         "       dtu-config write    --port DEVICE... --ini FILE [options]\n"
         "       dtu-config defaults --port DEVICE... [--ini FILE] [options]\n"
         "       dtu-config scan     --port DEVICE... [options]\n"
         "       dtu-config          (no arguments: open the window)\n"
         "\n"
         "  read       read the DTU's settings and print them as a [DTU] section of program.ini\n"
         "             (lines end in LF; the section can be given back to write with --ini)\n"
         "  write      write every setting of FILE's [DTU] section to the DTU\n"
         "  defaults   write the default settings to the DTU\n"
         "  scan       find the PC line settings at which each DTU answers and print them (\"9600 8N1\");\n"
         "             115200 and 9600 at 8N1 first, each try waiting at most one reply time-out\n"
         "\n"
         "  --port DEVICE     a device path (/dev/ttyUSB0) or COM1..COM9 (mapped by the [Ports] section\n"
         "                    of the program's own program.ini); repeat it to work on several DTUs at once\n"
         "  --ini FILE        settings file; its [Com] section sets the PC port (default 115200 8N1)\n"
         "  --baud RATE       PC port rate: 300 600 1200 2400 4800 9600 14400 19200 38400 57600 115200\n"
         "  --baud auto       read, write, defaults: find the rate and format first, as scan does\n"
         "  --line RATE,FMT   the whole PC line, e.g. 9600,8N1 (data bits 7 or 8, parity N, O or E,\n"
         "                    stop bits 1 or 2); beats the [Com] section, not with --baud\n"
         "  --lang zh|en      language of the log (default: from the locale)\n"
         "  --timeout SECONDS give up on a port after this long (default 60)\n"
         "  --set KEY=VALUE   give KEY of the [DTU] section this value on every port (beats FILE); "
         "repeatable\n"
         "  --units CSV       one row per DTU: a column port (a device path or a /dev/serial/by-id name) "
         "and\n"
         "                    columns named after [DTU] keys (beat --set; an empty cell leaves the key "
         "alone);\n"
         "                    its ports join those of --port, which may then be left out\n"
         "                    In values, {n} is the unit's number (1-based: the file's rows, then --port)\n"
         "                    and {serial} the serial number of its USB adapter (an error when none).\n"
         "  --verify          write, defaults: read the DTU back and fail a port that did not keep a field\n"
         "  --report FILE     write a row per port to FILE: port, adapter, action, outcome, reason, ms, and\n"
         "                    the values written or read (CSV in UTF-8, or JSON with --format json)\n"
         "  --format FORMAT   text (default) or json: read prints the values as JSON (UTF-8) instead of\n"
         "                    the [DTU] section, and the report is JSON\n"
         "  --version         print the version\n"
         "  --help            show this text\n"
         "\n"
         "Values: a list key takes its position, as program.ini holds it, or the item itself: "
         "BaudRate=9600,\n"
         "Parity=even, Byte=8, Stop=1, Protocol=UDP. Text is taken in the terminal's encoding (a units "
         "file:\n"
         "UTF-8, else GBK) and sent as GBK. Every value is checked before any port opens (Port 1 to 65535,\n"
         "an IP that is not empty, hex pairs while a HEX key is 1, a position the list has, text that GBK\n"
         "can hold); one that cannot be sent is a usage error naming the key and the rule.\n"
         "\n"
         "The log goes to standard error, one final line per port. Exit status: 0 every port succeeded,\n"
         "1 a DTU refused, timed out or could not be opened, 2 usage error, 130/143 interrupted.\n";
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
  // Whoever asks for help gets it, whatever else the line holds.
  if (std::find_if(args.begin(), args.end(),
                   [](const std::string& arg) { return arg == "--help" || arg == "-h"; }) != args.end()) {
    return HelpRequest{};
  }
  if (std::find(args.begin(), args.end(), "--version") != args.end()) return VersionRequest{};
  CliOptions options;
  std::optional<Action> action;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takesValue = arg == "--port" || arg == "--ini" || arg == "--baud" || arg == "--lang" ||
                            arg == "--timeout" || arg == "--set" || arg == "--units" || arg == "--report" ||
                            arg == "--format" || arg == "--line";
    if (takesValue) {
      if (i + 1 >= args.size()) return UsageError{arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "--port") {
        if (value.empty()) return UsageError{"--port needs a device"};
        if (std::find(options.ports.begin(), options.ports.end(), value) != options.ports.end()) {
          // Two models on one line would fight over it; the second open would fail anyway.
          return UsageError{"port " + value + " is given twice"};
        }
        options.ports.push_back(value);
      } else if (arg == "--ini") {
        if (options.iniFile) return UsageError{"--ini is given twice"};
        options.iniFile = value;
      } else if (arg == "--baud" && value == "auto") {
        options.autoBaud = true;
      } else if (arg == "--baud") {
        const auto& rates = values::BaudRateItems();
        if (std::find(rates.begin(), rates.end(), value) == rates.end()) {
          return UsageError{"--baud " + value + " is not one of the rates of the port list"};
        }
        options.baudRate = *WholeNumber(value);
      } else if (arg == "--line") {
        if (options.line) return UsageError{"--line is given twice"};
        options.line = config::ParseLine(value);
        if (!options.line) {
          return UsageError{"--line " + value + " is not a rate of the port list with a format such as 8N1"};
        }
      } else if (arg == "--set") {
        const size_t equals = value.find('=');
        const auto key = DtuKey(std::string_view(value).substr(0, equals == std::string::npos ? 0 : equals));
        if (equals == std::string::npos) return UsageError{"--set takes KEY=VALUE, not '" + value + "'"};
        if (!key)
          return UsageError{"--set: unknown key '" + value.substr(0, equals) + "' (not a key of [DTU])"};
        for (const auto& given : options.sets) {
          if (given.first == *key) return UsageError{"--set " + *key + " is given twice"};
        }
        const std::string text = value.substr(equals + 1);
        if (text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
          return UsageError{"--set " + *key + ": the value holds a line break"};
        }
        options.sets.emplace_back(*key, text);
      } else if (arg == "--units") {
        if (options.unitsFile) return UsageError{"--units is given twice"};
        options.unitsFile = value;
      } else if (arg == "--report") {
        if (options.reportFile) return UsageError{"--report is given twice"};
        options.reportFile = value;
      } else if (arg == "--format") {
        if (value != "text" && value != "json") return UsageError{"--format takes text or json"};
        options.json = value == "json";
      } else if (arg == "--lang") {
        if (value != "zh" && value != "en") return UsageError{"--lang takes zh or en"};
        options.chinese = value == "zh";
      } else {
        const auto seconds = WholeNumber(value);
        if (!seconds || *seconds < 1 || *seconds > kMaxTimeoutSeconds) {
          return UsageError{"--timeout takes a whole number of seconds from 1 to 86400"};
        }
        options.timeoutSeconds = *seconds;
      }
      continue;
    }
    if (arg == "--verify") {
      options.verify = true;
      continue;
    }
    if (arg.starts_with("-")) return UsageError{"unknown option " + arg};
    if (action) return UsageError{"one action at a time; '" + arg + "' is one too many"};
    if (arg == "read") {
      action = Action::Read;
    } else if (arg == "write") {
      action = Action::Write;
    } else if (arg == "defaults") {
      action = Action::Defaults;
    } else if (arg == "scan") {
      action = Action::Scan;
    } else {
      return UsageError{"unknown action '" + arg + "'"};
    }
  }
  if (!action) return UsageError{"no action given (read, write or defaults)"};
  options.action = *action;
  if (options.ports.empty() && !options.unitsFile) return UsageError{"no --port given"};
  if (options.action == Action::Write && !options.iniFile) return UsageError{"write needs --ini FILE"};
  if (options.autoBaud && options.baudRate)
    return UsageError{"--baud auto and --baud RATE cannot go together"};
  if (options.line && (options.baudRate || options.autoBaud)) {
    return UsageError{"--line and --baud cannot go together"};
  }
  if (options.action == Action::Scan && (options.baudRate || options.autoBaud || options.line)) {
    return UsageError{"scan finds the line settings itself; leave out --baud and --line"};
  }
  if (options.verify && options.action == Action::Scan)
    return UsageError{"--verify goes with write or defaults"};
  if (options.verify && options.action == Action::Read)
    return UsageError{"--verify goes with write or defaults"};
  return options;
}

}  // namespace cli
