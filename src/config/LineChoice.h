#pragma once
// The PC line settings a DTU may answer at, in the order a search tries them: the two rates DTUs leave the
// factory with (115200, 9600) and the common 8N1 first, so that most searches end at the first or second
// try, then the other rates at 8N1, then the other formats.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/MainFormDesign.h"

namespace config {

struct LineChoice {
  uint32_t baudRate = 115200;
  int dataBits = 8;
  char parity = 'N';  // 'N', 'O' or 'E'
  int stopBits = 1;
  bool operator==(const LineChoice&) const = default;
};

// Every rate of the port list with every format AT+ICF can set (8 or 7 data bits, 1 or 2 stop bits, no, odd
// or even parity), each once, most likely first.
std::vector<LineChoice> LineCandidates();

// "9600 8N1".
std::string Describe(const LineChoice& line);

// Selects the settings in the PC port lists (without change events).
void ShowInPortLists(const LineChoice& line, ui::TMainFormDesign& form);
// The four PC port lists that hold line settings: baud rate, parity, data bits, stop bits.
std::array<ui::TComboBox*, 4> PortSettingLists(ui::TMainFormDesign& form);

// The [Com] section of a settings file that opens the PC port with these settings (list indexes, as the
// window saves them).
std::string ComSection(const LineChoice& line);

}  // namespace config
