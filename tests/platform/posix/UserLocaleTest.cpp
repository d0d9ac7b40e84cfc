#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/Locale.h"

namespace {

TEST(Locale, TakesLcAllBeforeLcMessagesBeforeLang) {
  setenv("LANG", "en_US.UTF-8", 1);
  setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(platform::UserLanguageAbbreviation(), "CHS");
  setenv("LC_ALL", "zh_TW.UTF-8", 1);
  EXPECT_EQ(platform::UserLanguageAbbreviation(), "CHT");
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  unsetenv("LANG");
  EXPECT_EQ(platform::UserLanguageAbbreviation(), "ENU");
}

}  // namespace
