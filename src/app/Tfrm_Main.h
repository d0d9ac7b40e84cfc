#pragma once
// The main window model: the designed controls, the serial component Comm1 with its byte line, the port
// control, the device configuration and the line search, wired to the window's handlers. The window is the
// conversation's host: its controls are what the user sees and edits, and the conversation asks it for the
// values at each step and gives it the values a read took.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/ConversationHost.h"
#include "config/DeviceConfig.h"
#include "config/PortControl.h"
#include "config/PortSearch.h"
#include "lang/LangHolder.h"
#include "serial/Comm.h"
#include "serial/CommLine.h"
#include "serial/PortNames.h"
#include "ui/MainFormDesign.h"

namespace app {

class Tfrm_About;
class Tfrm_APN;

class Tfrm_Main : public ui::TMainFormDesign, public config::TConversationHost {
 public:
  Tfrm_Main(ui::Application& app, lang::TLangHolder& Lang);
  // Closes the port so that no worker thread outlives the window.
  ~Tfrm_Main() override;

  serial::TComm Comm1;
  // The byte line over Comm1, which the port control opens and writes.
  serial::TCommLine Comm1Line;
  config::TPortControl PortControl;
  config::TDeviceConfig Device;
  config::TPortSearch PortSearch;

  // The dialogs are created after the main window; the program hands them over once they exist.
  Tfrm_About* frm_About = nullptr;
  Tfrm_APN* frm_APN = nullptr;

  // Title, icon, settings, language, then the port button's click.
  void FormCreate();
  // Saves the settings, then releases the language list. Raises when the settings cannot be written.
  void FormClose();

  // Closing the window (close button, menu command 4): ends every sequence, stops both timers, saves. A
  // failed save is reported by the general error report and tried again at the next close; the first one
  // leaves the window open, a further one closes it all the same, so the user is never held in a window
  // that cannot close. Once closed, nothing queued for the window runs any more.
  void CloseWindow();
  // The close button: like CloseWindow, with a failure shown by the general error report.
  void UserClose();
  bool Closed() const { return closed_; }

  // Handler of btn_Default, btn_Read and btn_SetAll, dispatching on the Tag.
  void btn_ReadClick(ui::Control& Sender);
  // The port button: opens when its caption is the open text of the current language, else closes.
  void btn_ComClick(ui::Control& Sender);
  // Any of the five PC port lists (and the DTU's parity, data-bit and stop-bit lists) changed by the user.
  void cbb_Open_ComNameChange(ui::Control& Sender);
  void N2Click(ui::Control& Sender);
  void edt_WaitTimeKeyPress(ui::Control& Sender, char& Key);
  void lbl_Hint_APNClick(ui::Control& Sender);
  void cbb_APNChange(ui::Control& Sender);
  void edt_APN_otherClick(ui::Control& Sender);
  void lbl_ClearClick(ui::Control& Sender);
  // Handler of both HEX boxes: converts the box's edit to the form the box now shows. A hex pair that is
  // not valid raises EConvertError and leaves the edit as it was.
  void chk_DevIDClick(ui::Control& Sender);

  // The APN field's two looks; the other APN also opens the APN dialog. Returns false when the user left
  // the dialog without OK.
  void SetFixedApn(const std::string& text);
  bool SetOtherApn(const std::string& text);

  // Tools > Cancel and Escape: ends the running line search (the port opens again with the line before it)
  // or the running read or write, with the verdict "cancelled"; the port stays open.
  void CancelRunning();

  // File > Save log: asks for a file and writes the log there in UTF-8, a line feed after each line. A
  // failed write is shown in a message box naming the file and the reason.
  void SaveLog();
  // File > Open configuration: asks for a [DTU] section file and shows its values. A file without the
  // section, or with a value the DTU could not be sent, changes nothing and is named in a message box.
  void OpenConfiguration();
  // File > Save configuration: checks the values as Write All does, asks for a file and stores them there
  // as a [DTU] section file.
  void SaveConfiguration();
  // Tools > Send command shows or hides the command box; Enter or Send sends what it holds.
  void ShowCommandBox(bool shown);
  void SendTypedCommand();
  // Up and Down in the command box walk the commands sent before, newest first.
  bool CommandBoxKey(ui::TKey key);
  // Tools > Show time stamps in the log: each line added from now on starts with the time of Clock.
  void ShowTimeStamps(bool on);
  // The time of day as HH:MM:SS; the system's clock unless a test gives its own.
  std::function<std::string()> Clock;

  void CreateLangList();
  void ToggleLang();
  void FreeLangList();

  // Lists COM1..COM9 and the serial devices present now, each adapter by its device name and description;
  // the selected item keeps naming the same device. Runs at start-up and each time the list drops down.
  void RefreshPortList();
  // The serial devices present after COM1..COM9; the system's list unless a test gives its own.
  std::function<std::vector<serial::PortName>()> ListPorts = [] { return serial::ListPortNames(); };
  // Whether a device path is there (COM1..COM9 whose device is not are marked in the list);
  // the system's answer unless a test gives its own.
  std::function<bool(const std::string&)> DeviceExists;
  // What the port list's item at an index opens ("COMn" or a device path); the item's text when nothing.
  std::string DeviceForItem(int index) const;

  // Where the window's files are: see platform::SettingsFolder and platform::FindProgramFile.
  static std::string FilePath(const char* name);

  // The conversation's host: the controls as values, the log, the PC port lists.
  void AddInfo(const std::string& text) override { ui::TMainFormDesign::AddInfo(text); }
  std::string PortDevice() override;
  config::PortLine ChosenLine() override;
  void ChooseLine(const config::PortLine& line) override;
  void ShowPortState(bool open) override;
  values::DtuValues CurrentValues() override;
  void ShowValues(const values::DtuValues& values, const std::vector<size_t>& rows) override;
  std::string FieldName(size_t row) override;
  void ShowProblem(const values::Problem& problem) override;
  // Marks the fields named (by FieldName) and takes the mark off every other; no names clear them all.
  void MarkFields(const std::vector<std::string>& names);

 private:
  void WireHandlers();
  // While a sequence or the line search runs (Device.Busy()), nothing that would start another or re-open
  // the port is offered, and Cancel is; afterwards the other way round.
  void ShowBusy();
  // Puts the rows' values into their controls without a change event or a dialog.
  void ShowLoadedValues(const values::DtuValues& values, const std::vector<size_t>& rows);

  // The device each item of cbb_Open_ComName opens, by item index.
  std::vector<std::string> portDevices_;
  // Selects the adapter saved by its stable path; one that is not there is listed as missing and selected,
  // so that no other device is opened in its place.
  void SelectChosenDevice(const std::string& device);
  // The item of an adapter that is not plugged in: its name and the mark, in the current language.
  std::string MissingItemText(const std::string& device);
  lang::TLangHolder& Lang_;
  // program.ini from its loading to its first successful save; a failed save keeps it for the next close.
  std::optional<std::string> settingsFile_;
  // Commands sent from the command box, oldest first, and the one Up and Down have reached (the end: none).
  std::vector<std::string> commandHistory_;
  size_t historyAt_ = 0;
  bool savedLanguage_ = false;
  bool closed_ = false;
  bool saveFailed_ = false;
};

}  // namespace app
