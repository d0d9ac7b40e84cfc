#include "AtCommand.h"

#include <cctype>

namespace dtusim {
namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Drops blanks outside quotes; quoted text keeps its blanks, as an APN or a server name may hold them.
std::string WithoutBlanks(std::string_view line) {
  std::string out;
  bool inQuotes = false;
  for (char c : line) {
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes || !IsBlank(c)) out += c;
  }
  return out;
}

std::optional<std::vector<AtArgument>> SplitArguments(std::string_view text) {
  std::vector<AtArgument> args;
  AtArgument current;
  bool inQuotes = false;
  bool closed = false;  // the current argument's closing quote has been seen
  for (char c : text) {
    if (inQuotes) {
      if (c == '"') {
        inQuotes = false;
        closed = true;
      } else {
        current.text += c;
      }
    } else if (c == ',') {
      args.push_back(std::move(current));
      current = {};
      closed = false;
    } else if (closed) {
      return std::nullopt;
    } else if (c == '"') {
      if (!current.text.empty()) return std::nullopt;
      inQuotes = true;
      current.quoted = true;
    } else {
      current.text += c;
    }
  }
  if (inQuotes) return std::nullopt;
  args.push_back(std::move(current));
  return args;
}

}  // namespace

std::optional<AtCommand> ParseAtCommand(std::string_view line) {
  const std::string text = WithoutBlanks(line);
  if (text.size() < 2 || Upper(text[0]) != 'A' || Upper(text[1]) != 'T') return std::nullopt;
  AtCommand command;
  if (text.size() == 2 || text[2] != '+') {
    command.kind = AtCommand::Kind::Basic;
    for (char c : text) command.name += Upper(c);
    return command;
  }
  std::size_t pos = 3;
  while (pos < text.size() && std::isalnum(static_cast<unsigned char>(text[pos])))
    command.name += Upper(text[pos++]);
  if (command.name.empty()) return std::nullopt;
  const std::string_view rest = std::string_view(text).substr(pos);
  if (rest.empty()) {
    command.kind = AtCommand::Kind::Run;
  } else if (rest == "?") {
    command.kind = AtCommand::Kind::Query;
  } else if (rest == "=?") {
    command.kind = AtCommand::Kind::Test;
  } else if (rest[0] == '=') {
    auto args = SplitArguments(rest.substr(1));
    if (!args) return std::nullopt;
    command.kind = AtCommand::Kind::Set;
    command.args = std::move(*args);
  } else {
    return std::nullopt;
  }
  return command;
}

}  // namespace dtusim
