#include <gtest/gtest.h>

#include <optional>

#include "platform/ProgramFolder.h"

namespace {

TEST(ProgramFolder, SettingsStayBesideAProgramInTheUsersFolderAndGoToTheConfigFolderOtherwise) {
  struct Row {
    bool usersFolder;
    std::optional<std::string> xdgConfigHome;
    const char* expected;
  };
  const Row rows[] = {
      {true, "/cfg", "/build/main/"},
      {false, "/cfg", "/cfg/dtu-config/"},
      {false, std::nullopt, "/home/u/.config/dtu-config/"},
      {false, "", "/home/u/.config/dtu-config/"},
      {false, "relative/cfg", "/home/u/.config/dtu-config/"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(platform::SettingsFolderFor("/build/main", row.usersFolder, row.xdgConfigHome, "/home/u"),
              row.expected)
        << row.usersFolder << " " << row.xdgConfigHome.value_or("(unset)");
  }
}

}  // namespace
