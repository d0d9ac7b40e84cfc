#pragma once
// Field values that more than one place must agree on: the window's designed text, the settings file's
// default when a key is missing, and restore-defaults.

namespace ui {

// The server the DTU connects to until the user names another.
inline constexpr const char* DefaultServerHost = "dtu.example.com";

}  // namespace ui
