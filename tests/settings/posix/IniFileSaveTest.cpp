#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <set>

#include "settings/IniFile.h"
#include "settings/TempFolder.h"

// Permissions, ownership and killed processes, as Linux has them.
namespace {

using settings::IniFile;
using settings::IniWrite;
using settings_test::ReadBytes;
using settings_test::TempFolder;
using settings_test::WriteBytes;

struct RefusedRow {
  const char* name;
  mode_t mode;
};

class IniRefusedWriteTest : public testing::TestWithParam<RefusedRow> {};

// The folder stays writable, so only the file's own rights can stop the rename over it, for root as well.
TEST_P(IniRefusedWriteTest, ReadOnlyFileIsNotReplaced) {
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  WriteBytes(path, "[Sys]\r\nLang=1\r\n");
  chmod(path.c_str(), GetParam().mode);
  try {
    IniFile(path).WriteString("Sys", "Lang", "0");
    ADD_FAILURE() << "no error";
  } catch (const settings::EIniWriteError& error) {
    EXPECT_EQ(error.what(), "Unable to write to " + path);
  }
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, GetParam().mode);
  chmod(path.c_str(), 0600);
  EXPECT_EQ(ReadBytes(path), "[Sys]\r\nLang=1\r\n");
  EXPECT_EQ(folder.EntryCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Modes, IniRefusedWriteTest,
                         testing::Values(RefusedRow{"ReadOnly", 0444}, RefusedRow{"NoRights", 0000}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(IniFileTest, FileThatCannotBeReadIsNotReplacedByOneKey) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  WriteBytes(path, "[Sys]\nLang=1\n[DTU]\nIP=h\n");
  chmod(path.c_str(), 0200);
  EXPECT_THROW(IniFile(path).WriteString("Sys", "Lang", "0"), settings::EIniWriteError);
  chmod(path.c_str(), 0600);
  EXPECT_EQ(ReadBytes(path), "[Sys]\nLang=1\n[DTU]\nIP=h\n");
}

TEST(IniFileTest, ReplacingKeepsTheFilesPermissions) {
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  WriteBytes(path, "[Sys]\nLang=1\n");
  chmod(path.c_str(), 0640);
  IniFile(path).WriteString("Sys", "Lang", "0");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// A process saves over and over while this one kills it at random moments of its saves (on a disk most fall
// while the new file is written or flushed): each time the file must be the old one or the new one, whole,
// and the clean-up must then leave the file alone in its folder.
TEST(IniFileTest, KilledSaveLeavesTheOldFileOrTheNewOneWhole) {
  using Clock = std::chrono::steady_clock;
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  std::string ports = "[Ports]\r\n";
  for (int n = 1; n <= 2000; ++n)
    ports += "COM" + std::to_string(n) + "=/dev/ttyUSB" + std::to_string(n) + "\r\n";
  WriteBytes(path, ports);
  std::vector<IniWrite> toOld;
  std::vector<IniWrite> toNew;
  for (int n = 0; n < 25; ++n) {
    toOld.push_back({"DTU", "Key" + std::to_string(n), "old"});
    toNew.push_back({"DTU", "Key" + std::to_string(n), "new value " + std::to_string(n)});
  }
  IniFile ini(path);
  ini.WriteStrings(toOld);
  const std::string oldFile = ReadBytes(path);
  // How long two saves take here, to spread the kills over them.
  const auto start = Clock::now();
  for (int n = 0; n < 3; ++n) {
    ini.WriteStrings(toNew);
    ini.WriteStrings(toOld);
  }
  const auto twoSaves = (Clock::now() - start) / 3;
  ini.WriteStrings(toNew);
  const std::string newFile = ReadBytes(path);

  std::mt19937 random(20240611);
  std::set<std::string> seen;
  int leftovers = 0;
  // A loaded machine may start the child late and stretch its saves: the kills go on, over ever longer
  // spans, until they have fallen both between saves and inside them (or a bound is reached).
  for (int kill = 0; kill < 80 || (kill < 800 && (seen.size() < 2 || leftovers == 0)); ++kill) {
    int ready[2];
    ASSERT_EQ(pipe2(ready, O_CLOEXEC), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      const char byte = 0;
      if (write(ready[1], &byte, 1) != 1) _exit(1);
      try {
        for (int n = 0; n < 100000; ++n) ini.WriteStrings(n % 2 ? toNew : toOld);
      } catch (...) {
        _exit(2);
      }
      _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    const bool started = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    const auto span = twoSaves * (1 + kill / 40);
    const auto moment = Clock::now() + span * std::uniform_real_distribution<>(0, 1)(random);
    while (Clock::now() < moment) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(started && WIFSIGNALED(status)) << "the saving process ended on its own: " << status;
    const std::string file = ReadBytes(path);
    ASSERT_TRUE(file == oldFile || file == newFile) << "kill " << kill << " left:\n" << file;
    seen.insert(file);
    if (folder.EntryCount() > 1) ++leftovers;
    ini.RemoveStaleTemporaries();
    ASSERT_EQ(folder.EntryCount(), 1u) << "kill " << kill;
    ASSERT_EQ(ReadBytes(path), file);
  }
  // The kills fell both between saves and inside them, or the test proved nothing.
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_GT(leftovers, 0);
}

}  // namespace
