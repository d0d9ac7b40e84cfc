#pragma once
// The two folders ProgramFolder.cpp asks the system for, one implementation per system.

#include <string>

namespace platform {

// The folder of the running program file, ending in "/".
std::string ExecutableFolder();

// The folder program.ini moves to when the program's own folder is not the user's, ending in "/": on Linux
// $XDG_CONFIG_HOME/dtu-config/ (see SettingsFolderFor), on Windows %APPDATA%\dtu-config\. Only chooses.
std::string UserSettingsFolder();

}  // namespace platform
