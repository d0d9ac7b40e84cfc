#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/FileIdentity.h"
#include "platform/FilePath.h"
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

// The command line refuses to write over its own input by these identities: another name or another spelling
// of a path is the same file, an open file is the file it was opened from, a copy or a folder is not.
TEST(FileIdentity, SeesOneFileUnderEveryNameAndOnlyThatFile) {
  // Of this run alone: other builds may run their tests at the same time.
  const auto scratch =
      std::filesystem::temp_directory_path() /
      ("dtu-identity-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(scratch / "sub");
  const std::string folder = platform::PathText(scratch);
  std::ofstream(scratch / "a.ini") << "[Sys]";
  std::ofstream(scratch / "copy.ini") << "[Sys]";
  std::filesystem::create_hard_link(scratch / "a.ini", scratch / "link.ini");

  const auto file = platform::IdentityOfPath(folder + "/a.ini");
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->regular);
  for (const char* name : {"/link.ini", "/sub/../a.ini", "/./a.ini"}) {
    const auto other = platform::IdentityOfPath(folder + name);
    ASSERT_TRUE(other) << name;
    EXPECT_TRUE(file->SameFile(*other)) << name;
  }
  EXPECT_FALSE(file->SameFile(*platform::IdentityOfPath(folder + "/copy.ini")));
  EXPECT_FALSE(platform::IdentityOfPath(folder + "/sub")->regular);
  EXPECT_FALSE(platform::IdentityOfPath(folder + "/missing.ini"));

  std::FILE* open = platform::OpenFile(folder + "/link.ini", "ab");
  ASSERT_NE(open, nullptr);
  const auto ofOpen = platform::IdentityOfDescriptor(fileno(open));
  std::fclose(open);
  ASSERT_TRUE(ofOpen);
  EXPECT_TRUE(ofOpen->regular);
  EXPECT_TRUE(file->SameFile(*ofOpen));
  std::filesystem::remove_all(scratch);
}

}  // namespace
