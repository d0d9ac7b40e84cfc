#pragma once
// The Tags of the main window's controls. Several controls share one handler, which tells them apart by Tag
// alone; the design that gives a control its Tag and the handler that switches on it name the same constant
// here. The numbers are the window's as designed and stay as they are.

namespace ui::tags {

// Action buttons and the menu items that share their handlers. The buttons carry the first three only.
inline constexpr int kRestoreDefaults = 1;
inline constexpr int kRead = 2;
inline constexpr int kWriteAll = 3;
inline constexpr int kExit = 4;
inline constexpr int kLanguage = 5;
inline constexpr int kAbout = 6;
inline constexpr int kDownloadPage = 7;  // "check for updates" opens the download page
inline constexpr int kWebSite = 8;
inline constexpr int kSmsHelp = 9;
// Added after the designed ones: the search for the DTU's line settings on the chosen port.
inline constexpr int kFindLine = 10;
// Ends the running read, write or line search; offered only while one runs.
inline constexpr int kCancel = 11;
// Whether a write ends with a read-back of the DTU (a check item).
inline constexpr int kVerify = 12;
// File > Save log, and Tools > Show time stamps in the log (a check item).
inline constexpr int kSaveLog = 20;
inline constexpr int kTimeStamps = 21;
// File > Open configuration and Save configuration: a [DTU] section file.
inline constexpr int kOpenConfig = 22;
inline constexpr int kSaveConfig = 23;
// Tools > Send command (a check item that shows the command box), and the box's Send button.
inline constexpr int kSendCommand = 24;
inline constexpr int kSend = 25;

// The two HEX boxes: which packet edit a box converts.
inline constexpr int kDevIdHex = 1;
inline constexpr int kHeartbeatFormatHex = 2;

// The twelve "(?)" labels, in the order of TMainFormDesign::HintLabels: which help text a label shows.
inline constexpr int kHintApn = 1;
inline constexpr int kHintIp = 2;
inline constexpr int kHintProtocol = 3;
inline constexpr int kHintPort = 4;
inline constexpr int kHintComBaudRate = 5;
inline constexpr int kHintComParam = 6;
inline constexpr int kHintDevId = 7;
inline constexpr int kHintHeartbeatFormat = 8;
inline constexpr int kHintHeartbeatTime = 9;
inline constexpr int kHintWaitLen = 10;
inline constexpr int kHintWaitTime = 11;
inline constexpr int kHintRestartTime = 12;

}  // namespace ui::tags
