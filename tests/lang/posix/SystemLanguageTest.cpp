#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "lang/LangList.h"

// The user's language from the locale variables, which only Linux reads.
namespace {

// Sets the locale variables for one test and puts the old values back afterwards.
class LocaleEnvironment {
 public:
  explicit LocaleEnvironment(const char* lang) {
    for (int i = 0; i < 3; ++i) {
      const char* value = getenv(kNames[i]);
      if (value != nullptr) saved_[i] = value;
    }
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", lang, 1);
  }
  ~LocaleEnvironment() {
    for (int i = 0; i < 3; ++i) {
      if (saved_[i]) {
        setenv(kNames[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }
  LocaleEnvironment(const LocaleEnvironment&) = delete;
  LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

 private:
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> saved_[3];
};

struct LocaleCase {
  const char* name;
  const char* lang;
  bool chinese;
};

class SystemLanguage : public testing::TestWithParam<LocaleCase> {};

TEST_P(SystemLanguage, OnlySimplifiedChineseCounts) {
  const LocaleEnvironment environment(GetParam().lang);
  EXPECT_EQ(lang::IsSystemChinese(), GetParam().chinese);
}

INSTANTIATE_TEST_SUITE_P(Locales, SystemLanguage,
                         testing::Values(LocaleCase{"Simplified", "zh_CN.UTF-8", true},
                                         LocaleCase{"Traditional", "zh_TW.UTF-8", false},
                                         LocaleCase{"English", "en_US.UTF-8", false}),
                         [](const testing::TestParamInfo<LocaleCase>& row) {
                           return std::string(row.param.name);
                         });

TEST(LocaleString, KnowsOnlyTheAbbreviatedLanguageName) {
  const LocaleEnvironment environment("zh_CN.UTF-8");
  EXPECT_EQ(lang::GetLocaleString(lang::LOCALE_SABBREVLANGNAME), "CHS");
  EXPECT_EQ(lang::GetLocaleString(2), "");
}

}  // namespace
