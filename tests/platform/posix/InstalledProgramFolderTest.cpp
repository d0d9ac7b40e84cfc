#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/ProgramFolder.h"

namespace {

TEST(ProgramFolder, AnInstalledProgramMakesItsConfigFolderAndLooksThereBeforeItsOwnFolder) {
  const auto scratch = std::filesystem::temp_directory_path() / ("dtu-folder-" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch);
  EXPECT_TRUE(platform::IsUsersFolder(scratch.string()));
  EXPECT_FALSE(platform::IsUsersFolder("/usr/bin/")) << "root may write it, but it is not the user's";

  setenv("XDG_CONFIG_HOME", (scratch / "cfg").c_str(), 1);
  platform::SetProgramFolderForTesting("/usr/bin");
  const std::string own = (scratch / "cfg/dtu-config/").string();
  EXPECT_EQ(platform::SettingsFolder(), own);
  EXPECT_TRUE(std::filesystem::is_directory(own));
  EXPECT_EQ(platform::FindProgramFile("lang.txt"), "/usr/bin/lang.txt");
  std::ofstream(own + "lang.txt") << "x";
  EXPECT_EQ(platform::FindProgramFile("lang.txt"), own + "lang.txt");

  platform::SetProgramFolderForTesting(scratch.string());
  EXPECT_EQ(platform::FindProgramFile("lang.txt"), scratch.string() + "/lang.txt")
      << "a program in the user's folder looks nowhere else";
  platform::SetProgramFolderForTesting("");
  unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(scratch);
}

}  // namespace
