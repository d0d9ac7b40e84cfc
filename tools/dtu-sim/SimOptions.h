#pragma once
// The command line of dtu-sim, apart from the program so that every option can be tried without a terminal.

#include <optional>
#include <string>
#include <vector>

#include "DtuSimulator.h"

namespace dtusim {

struct SimOptions {
  Faults faults;
  DtuSettings settings;
  bool banner = false;
  std::string link;
  bool operator==(const SimOptions&) const = default;
};

// The arguments after the program name; nothing when one is unknown, lacks its value or has a bad one.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args);

}  // namespace dtusim
