#include "serial/ComName.h"

#include <algorithm>
#include <cctype>

namespace serial {

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

int ComNumber(const std::string& name, int highest) {
  if (name.size() < 4 || name.size() > 6 || !EqualNoCase(name.substr(0, 3), "COM") || name[3] == '0')
    return 0;
  int number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    number = number * 10 + (name[i] - '0');
  }
  return number <= highest ? number : 0;
}

}  // namespace serial
