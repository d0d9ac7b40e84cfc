#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/FilePath.h"
#include "platform/ProgramFolder.h"

namespace {

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithSlashes) {
  const std::string folder = platform::ProgramFolder();
  EXPECT_EQ(folder.find('\\'), std::string::npos) << folder;
  EXPECT_TRUE(platform::FileExists(folder + "platform_tests.exe")) << folder;
  EXPECT_TRUE(platform::IsUsersFolder(folder));
}

TEST(ProgramFolder, AFolderTheUserCannotWriteSendsTheSettingsToTheApplicationDataFolder) {
  const std::string unwritable = "C:/dtu-config-no-such-folder";
  EXPECT_FALSE(platform::IsUsersFolder(unwritable));
  platform::SetProgramFolderForTesting(unwritable);
  const std::string own = platform::SettingsFolder();
  EXPECT_TRUE(own.ends_with("/dtu-config/")) << own;
  EXPECT_EQ(own.find(unwritable), std::string::npos) << own;
  EXPECT_TRUE(std::filesystem::is_directory(platform::NativePath(own)));
  EXPECT_EQ(platform::FindProgramFile("lang.txt"), unwritable + "/lang.txt");

  // A name outside the ANSI code page, to show the path reaches the system as UTF-16.
  const std::string name = "lang-\xE4\xB8\xAD.txt";
  std::ofstream(platform::NativePath(own + name)) << "x";
  EXPECT_EQ(platform::FindProgramFile(name), own + name);
  std::filesystem::remove(platform::NativePath(own + name));
  platform::SetProgramFolderForTesting("");
}

}  // namespace
