#pragma once
// Port names of the "COMn" kind, as the user types them and the port list shows them.

#include <string>

namespace serial {

bool EqualNoCase(const std::string& a, const std::string& b);

// n for "COMn" in any letter case with n from 1 to highest (no leading zero), else 0.
int ComNumber(const std::string& name, int highest);

}  // namespace serial
