#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "settings/IniFile.h"
#include "settings/TempFolder.h"

namespace {

using settings_test::ReadBytes;
using settings_test::TempFolder;
using settings_test::WriteBytes;

TEST(IniFileTest, ReadOnlyFileIsNotReplaced) {
  TempFolder folder;
  const std::string path = folder.File("program.ini");
  WriteBytes(path, "[Sys]\r\nLang=1\r\n");
  const std::wstring wide = std::filesystem::path(path).wstring();
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_THROW(settings::IniFile(path).WriteString("Sys", "Lang", "0"), settings::EIniWriteError);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(path), "[Sys]\r\nLang=1\r\n");
  EXPECT_EQ(folder.EntryCount(), 1u);
}

}  // namespace
