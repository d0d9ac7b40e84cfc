#pragma once
// Files the program reads (program.ini, lang.txt, logo.ico, About.jpg) live beside the program file, never in
// the working folder, as long as that folder is the user's: a build folder or a folder copied by hand. An
// installed program's folder (/usr/bin, C:\Program Files\...) is not the user's to write, so there
// program.ini lives in the user's configuration folder instead, $XDG_CONFIG_HOME/dtu-config/
// (~/.config/dtu-config/ by default) or %APPDATA%\dtu-config\, and the other files are looked for there
// first, then beside the program. Folders are paths as platform/FilePath.h describes them, ending in "/".

#include <optional>
#include <string>

namespace platform {

// The folder of the running program file, ending in "/".
std::string ProgramFolder();
// Tests and the command line can point the program at another folder; an empty one means its own again.
void SetProgramFolderForTesting(const std::string& folder);
bool FileExists(const std::string& path);

// True when the user may keep files in this folder: it is writable for them (on Windows: a file can be made
// in it), and on Linux it is none of the system's folders of installed programs, which root could write but
// whose files belong to the package manager.
bool IsUsersFolder(const std::string& folder);

// The folder program.ini belongs in, ending in "/": programFolder when usersFolder, else the folder named
// dtu-config in xdgConfigHome, or in home's .config when xdgConfigHome is unset, empty or relative (such a
// value is to be ignored). Only chooses; creates nothing.
std::string SettingsFolderFor(const std::string& programFolder, bool usersFolder,
                              const std::optional<std::string>& xdgConfigHome, const std::string& home);

// The program's folder when it is the user's, else the user's configuration folder (on Linux
// SettingsFolderFor from the environment); the folder is created when missing, so that the first save can
// write into it.
std::string SettingsFolder();

// The path of a file the program only reads (lang.txt, logo.ico, About.jpg): in SettingsFolder() when it is
// there, else beside the program (which is also the answer when neither has it).
std::string FindProgramFile(const std::string& name);

}  // namespace platform
