#pragma once
// Files the program reads (program.ini, lang.txt, logo.ico, About.jpg) live beside the program file, never in
// the working folder.

#include <string>

namespace platform {

// The folder of the running program file, ending in "/".
std::string ProgramFolder();
// Tests and the command line can point the program at another folder.
void SetProgramFolderForTesting(const std::string& folder);
bool FileExists(const std::string& path);

}  // namespace platform
