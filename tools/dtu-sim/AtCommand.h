#pragma once
// The shape of one AT command line as a module's command parser sees it. Blanks outside quotes mean nothing
// to the module, which is why the tool's "AT + CIPMUX = 0" and the compact "AT+CIPMUX=0" are the same
// command.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dtusim {

struct AtArgument {
  std::string text;  // without its quotes
  bool quoted = false;
};

struct AtCommand {
  enum class Kind {
    Basic,  // "AT", "ATW": name is the whole command in upper case
    Run,    // "AT+NAME"
    Set,    // "AT+NAME=args"
    Query,  // "AT+NAME?"
    Test,   // "AT+NAME=?"
  };
  Kind kind = Kind::Basic;
  std::string name;  // upper case; for extended commands the word after "AT+"
  std::vector<AtArgument> args;
};

// Parses one line without its line end. Returns nothing for text that is not a well-formed AT command
// (no "AT" prefix, an unbalanced quote, text after a closing quote, trailing text after "?").
std::optional<AtCommand> ParseAtCommand(std::string_view line);

}  // namespace dtusim
