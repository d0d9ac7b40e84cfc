#pragma once
// The PC line settings a DTU may answer at, in the order a search tries them: the two rates DTUs leave the
// factory with (115200, 9600) and the common 8N1 first, so that most searches end at the first or second
// try, then the other rates at 8N1, then the other formats.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace config {

struct LineChoice {
  uint32_t baudRate = 115200;
  int dataBits = 8;
  char parity = 'N';  // 'N', 'O' or 'E'
  int stopBits = 1;
  bool operator==(const LineChoice&) const = default;
};

// The PC line settings a host has chosen; a part that is not set (a list with nothing selected) keeps what
// the port was last opened with.
struct PortLine {
  std::optional<uint32_t> baudRate;
  std::optional<int> dataBits;
  std::optional<char> parity;
  std::optional<int> stopBits;
  bool operator==(const PortLine&) const = default;
  // The parts set in chosen replace these; the others stay.
  void Take(const PortLine& chosen);
};
PortLine WholeLine(const LineChoice& line);

// The list positions (program.ini's [Com] form) of the four PC port lists that show the settings, in the
// order baud rate, parity, data bits, stop bits; -1 for a setting no item shows.
std::array<int, 4> ListIndexes(const LineChoice& line);
// The inverse for the four lists' positions; a position that names nothing leaves its part unset.
PortLine LineFromListIndexes(const std::array<int, 4>& indexes);

// "9600,8N1" or "9600 8N1": a rate of the port list and a format AT+ICF can set; nothing for anything else.
std::optional<LineChoice> ParseLine(const std::string& text);

// Every rate of the port list with every format AT+ICF can set (8 or 7 data bits, 1 or 2 stop bits, no, odd
// or even parity), each once, most likely first.
std::vector<LineChoice> LineCandidates();

// "9600 8N1".
std::string Describe(const LineChoice& line);

}  // namespace config
