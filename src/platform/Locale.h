#pragma once
// The user's language as the three-letter abbreviation Windows gives it (LOCALE_SABBREVLANGNAME).

#include <string>

namespace platform {

// On Windows the user's locale as GetLocaleInfo names it. On Linux from LC_ALL, then LC_MESSAGES, then LANG
// (the first one set and not empty): zh_CN gives "CHS", zh_TW "CHT", en_US "ENU"; "C", "POSIX" and nothing
// set give "ENU".
std::string UserLanguageAbbreviation();
// The mapping alone, for a locale name such as "zh_CN.UTF-8".
std::string LanguageAbbreviationFor(const std::string& localeName);

}  // namespace platform
