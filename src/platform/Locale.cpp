#include "platform/Locale.h"

#include <map>

namespace platform {

std::string LanguageAbbreviationFor(const std::string& localeName) {
  // Strip ".codeset" and "@modifier": zh_CN.GB18030@euro -> zh_CN.
  std::string name = localeName.substr(0, localeName.find_first_of(".@"));
  const std::string language = name.substr(0, name.find('_'));
  const std::string territory = name.find('_') == std::string::npos ? "" : name.substr(name.find('_') + 1);

  if (language == "zh") {
    if (territory == "TW") return "CHT";
    if (territory == "HK") return "ZHH";
    if (territory == "SG") return "ZHI";
    if (territory == "MO") return "ZHM";
    return "CHS";
  }
  static const std::map<std::string, std::string> byLanguage = {
      {"en", "ENU"}, {"de", "DEU"}, {"fr", "FRA"}, {"es", "ESN"}, {"it", "ITA"}, {"ja", "JPN"},
      {"ko", "KOR"}, {"ru", "RUS"}, {"pt", "PTB"}, {"nl", "NLD"}, {"pl", "PLK"}, {"tr", "TRK"}};
  if (language == "en" && territory == "GB") return "ENG";
  const auto found = byLanguage.find(language);
  if (found != byLanguage.end()) return found->second;
  return "ENU";
}

}  // namespace platform
