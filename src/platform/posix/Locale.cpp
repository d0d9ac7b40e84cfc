#include "platform/Locale.h"

#include <cstdlib>

namespace platform {

std::string UserLanguageAbbreviation() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LanguageAbbreviationFor(value);
  }
  return "ENU";
}

}  // namespace platform
