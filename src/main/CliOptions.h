#pragma once
// What the command line asks for: one device action, the ports to run it on and how to reach them.

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "config/LineChoice.h"

namespace cli {

enum class Action { Read, Write, Defaults, Scan };

struct CliOptions {
  Action action = Action::Read;
  // In the order given; each names one DTU.
  std::vector<std::string> ports;
  // The settings file: [Com] for the PC port, [DTU] (with CIPMUX and CIPMODE) for what a write sends.
  std::optional<std::string> iniFile;
  // Overrides the [Com] rate; always one of the eleven rates the port list offers.
  std::optional<int> baudRate;
  // --line RATE,FORMAT: the whole PC line ("9600,8N1"), beating the [Com] section.
  std::optional<config::LineChoice> line;
  // --baud auto: the PC port's rate and format are searched for (as by scan) before the action.
  bool autoBaud = false;
  // The language of the log; empty: the user's locale decides.
  std::optional<bool> chinese;
  // Every port gives up after this long, whatever it is waiting for.
  int timeoutSeconds = 60;
  // --set KEY=VALUE in the order given: [DTU] keys as the settings file spells them, and their values as the
  // terminal gave them (not yet GBK), with the placeholders {n} and {serial} still in them. They beat the
  // settings file for every port.
  std::vector<std::pair<std::string, std::string>> sets;
  // --units FILE: a port and values of its own for each DTU; they beat --set.
  std::optional<std::string> unitsFile;
  // write and defaults: read the DTU back afterwards and fail a port whose fields were not kept.
  bool verify = false;
  // --report FILE: a row per port, as CSV or (with json) as JSON.
  std::optional<std::string> reportFile;
  // json: read prints JSON on standard output instead of the [DTU] section, and the report is JSON.
  bool json = false;
};

// --help: print the usage text to standard output and succeed.
struct HelpRequest {};
// --version: print the program's name and version and succeed.
struct VersionRequest {};

// A command line that cannot run; message says why, in one line.
struct UsageError {
  std::string message;
};

using ParseResult = std::variant<CliOptions, HelpRequest, VersionRequest, UsageError>;

// The arguments after the program name.
ParseResult ParseArguments(const std::vector<std::string>& args);

const char* UsageText();

}  // namespace cli
