#include "platform/Locale.h"

#include <windows.h>

namespace platform {

std::string UserLanguageAbbreviation() {
  wchar_t name[16] = {};
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, name, 16);
  if (length <= 1) return "ENU";
  // The abbreviations are three ASCII letters.
  std::string abbreviation;
  for (int i = 0; i + 1 < length; ++i) abbreviation += static_cast<char>(name[i]);
  return abbreviation;
}

}  // namespace platform
