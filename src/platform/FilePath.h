#pragma once
// A path is a std::string like every other text of the program: on Linux the file system's own bytes, on
// Windows UTF-8 (so that every name Windows allows can be held, whatever the user's code page), converted to
// the system's UTF-16 only where a file is opened. Either system takes "/" between folders, and the program's
// own folders end in "/".

#include <cstdio>
#include <filesystem>
#include <string>

namespace platform {

// The path the standard library and the system take for path.
std::filesystem::path NativePath(const std::string& path);
// The program's text of a native path, with "/" between folders.
std::string PathText(const std::filesystem::path& path);
// std::fopen at the native path; mode should hold "b" (Windows would translate line ends otherwise). Not
// inherited by programs the process starts. Nothing, with errno set, on failure.
std::FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace platform
