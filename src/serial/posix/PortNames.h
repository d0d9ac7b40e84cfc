#pragma once
// The port list as Linux shows it, from a folder that stands for the root.

#include <string>
#include <vector>

#include "serial/PortNames.h"

namespace serial {

// ListPortNames, looking for /dev and /sys under root (tests give a prepared folder).
std::vector<PortName> ListPortNames(const std::string& root);

}  // namespace serial
