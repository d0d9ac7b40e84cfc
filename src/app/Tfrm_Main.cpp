#include "app/Tfrm_Main.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>

#include "app/LangApply.h"
#include "app/Tfrm_APN.h"
#include "app/Tfrm_About.h"
#include "lang/LogRows.h"
#include "lang/PortFileRows.h"
#include "lang/WindowRows.h"
#include "platform/ProgramFolder.h"
#include "platform/TextCodec.h"
#include "platform/WebBrowser.h"
#include "serial/PortNames.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "ui/Tags.h"
#include "values/Commands.h"
#include "values/ListMeanings.h"

namespace app {
namespace {

// The time of day of the system's clock as HH:MM:SS. Only the window thread asks, so localtime's shared
// buffer is safe here, and it is the one form both platforms' C libraries have.
std::string LocalTime() {
  const std::time_t now = std::time(nullptr);
  char text[16] = "";
  if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, "%H:%M:%S", local);
  return text;
}

// The help text of each "(?)" label, in Tag order.
const lang::LangRow* HintRowForTag(int tag) {
  static const lang::LangRow* const rows[] = {
      &lang::lang_Hint_APN,           &lang::lang_Hint_IP,
      &lang::lang_Hint_Ptl,           &lang::lang_Hint_PtlPort,
      &lang::lang_Hint_ComBaudRate,   &lang::lang_Hint_ComParam,
      &lang::lang_Hint_DevID,         &lang::lang_Hint_HeartbeatFormat,
      &lang::lang_Hint_HeartbeatTime, &lang::lang_Hint_WaitLen,
      &lang::lang_Hint_WaitTime,      &lang::lang_Hint_ResetTime};
  if (tag < ui::tags::kHintApn || tag > ui::tags::kHintRestartTime) return nullptr;
  return rows[tag - ui::tags::kHintApn];
}

// The APN choice the field shows: only the other APN's field takes typing, a fixed one shows its name.
int ShownApnChoice(const ui::TEdit& field) {
  if (field.Enabled()) return values::kOtherApnIndex;
  for (int index = 0; values::FixedApnAt(index) != nullptr; ++index) {
    if (field.Text() == values::FixedApnAt(index)) return index;
  }
  return -1;
}

}  // namespace

std::string Tfrm_Main::FilePath(const char* name) {
  return std::string_view(name) == "program.ini" ? platform::SettingsFolder() + name
                                                 : platform::FindProgramFile(name);
}

Tfrm_Main::Tfrm_Main(ui::Application& app, lang::TLangHolder& Lang)
    : ui::TMainFormDesign(app),
      Comm1(app.Loop()),
      Comm1Line(Comm1),
      PortControl(*this, Comm1Line, Lang, tmr_TimeOut),
      Device(*this, PortControl, Lang, app.Loop(), tmr_SendInfo),
      PortSearch(*this, PortControl, Device, Lang, app.Loop()),
      Lang_(Lang) {
  serial::ApplyStoredDesign(Comm1);
  // COM1..COM9 may be mapped to other devices in program.ini's [Ports] section; read at every open so that an
  // edited mapping counts from the next open on.
  Comm1.ResolvePath = [](const std::string& name) {
    serial::PortMap map;
    for (const auto& [key, value] : settings::IniFile(FilePath("program.ini")).ReadSection("Ports")) {
      map.emplace(key, value);
    }
    return serial::ResolveDevicePath(name, map);
  };

  DeviceExists = [](const std::string& path) { return serial::DevicePresent(path); };
  RefreshPortList();

  WireHandlers();
}

Tfrm_Main::~Tfrm_Main() { Comm1.ClosePort(); }

std::string Tfrm_Main::DeviceForItem(int index) const {
  if (index >= 0 && static_cast<size_t>(index) < portDevices_.size() && !portDevices_[index].empty()) {
    return portDevices_[index];
  }
  return cbb_Open_ComName.Text();
}

void Tfrm_Main::RefreshPortList() {
  // The item stays with the device it names, wherever the device moves in the new list.
  const int selected = cbb_Open_ComName.ItemIndex();
  const std::string device = selected >= 0 ? DeviceForItem(selected) : "";
  std::vector<std::string> items;
  std::vector<std::string> devices;
  // COM1..COM9 keep their list places: [Com] ComName stores the index. One whose device is not there stays
  // listed (program.ini may map it to a device plugged in later) and says so.
  for (int n = 1; n <= 9; ++n) {
    devices.push_back("COM" + std::to_string(n));
    items.push_back(DeviceExists(Comm1.ResolvePath(devices.back()))
                        ? devices.back()
                        : devices.back() + Lang_.Text(lang::lang_Port_NotPresent));
  }
  for (const serial::PortName& port : ListPorts()) {
    // An adapter is opened by its stable name where it has one: /dev/ttyUSB0 may be another adapter after
    // the next plug-in.
    const std::string& path = port.StableName.empty() ? port.Name : port.StableName;
    if (std::find(devices.begin(), devices.end(), path) != devices.end()) continue;
    // The device's own name and what it is; the item maps to the path, its text is never parsed.
    const std::string shortName = port.Name.substr(port.Name.find_last_of('/') + 1);
    items.push_back(port.Description.empty() ? shortName : shortName + "  " + port.Description);
    devices.push_back(path);
  }
  // The adapter selected stays listed when it is not there now, so that no other device opens in its place.
  if (selected >= 9 && !device.empty() &&
      std::find(devices.begin(), devices.end(), device) == devices.end()) {
    items.push_back(MissingItemText(device));
    devices.push_back(device);
  }
  portDevices_ = std::move(devices);
  const auto at = std::find(portDevices_.begin(), portDevices_.end(), device);
  cbb_Open_ComName.SetItems(std::move(items));
  cbb_Open_ComName.SetItemIndex(selected < 9 || device.empty() ? selected
                                                               : static_cast<int>(at - portDevices_.begin()));
}

void Tfrm_Main::WireHandlers() {
  for (ui::TMenuItem* item :
       {&N11, &N2, &N5, &N7, &N3, &N13, &N8, &N12, &N10, &N15, &N16, &N17, &N18, &N19, &N20, &N21, &N22}) {
    item->OnClick = [this](ui::Control& sender) { N2Click(sender); };
  }
  for (ui::TEdit* edit : NumericEdits()) {
    edit->OnKeyPress = [this](ui::Control& sender, char& key) { edt_WaitTimeKeyPress(sender, key); };
  }
  for (ui::TLabel* label : HintLabels()) {
    label->OnClick = [this](ui::Control& sender) { lbl_Hint_APNClick(sender); };
  }
  cbb_APN.OnChange = [this](ui::Control& sender) { cbb_APNChange(sender); };
  edt_APN_other.OnClick = [this](ui::Control& sender) { edt_APN_otherClick(sender); };
  lbl_Clear.OnClick = [this](ui::Control& sender) { lbl_ClearClick(sender); };
  btn_Com.OnClick = [this](ui::Control& sender) { btn_ComClick(sender); };
  for (ui::TButton* button : {&btn_Default, &btn_Read, &btn_SetAll}) {
    button->OnClick = [this](ui::Control& sender) { btn_ReadClick(sender); };
  }
  for (ui::TCheckBox* box : {&chk_DevID, &chk_HeartbeatFormat}) {
    box->OnClick = [this](ui::Control& sender) { chk_DevIDClick(sender); };
  }
  cbb_Open_ComName.OnDropDown = [this](ui::Control&) { RefreshPortList(); };
  btn_Send.OnClick = [this](ui::Control&) { SendTypedCommand(); };
  edt_Command.OnKeyDown = [this](ui::Control&, ui::TKey key) { return CommandBoxKey(key); };
  Device.OnBusyChanged = [this] { ShowBusy(); };
  Device.VerifyWrites = N17.Checked();
  Device.OnSequenceEnd = [this](const config::TSequenceEnd& end) {
    if (end.outcome == config::TOutcome::NotKept) MarkFields(end.unchanged);
  };
  for (ui::TComboBox* list : {&cbb_Open_ComName, &cbb_Open_BaudRate, &cbb_Open_Parity, &cbb_Open_Byte,
                              &cbb_Open_Stop, &cbb_Com_Parity, &cbb_Com_Byte, &cbb_Com_Stop}) {
    list->OnChange = [this](ui::Control& sender) { cbb_Open_ComNameChange(sender); };
  }
  // The rows made from the table behave as the designed ones: digits only in a number, the help text on
  // "(?)", the HEX box converting its edit.
  for (const auto& more : MoreSettings) {
    const values::Row& setting = values::Table()[more->row];
    if (setting.kind == values::Kind::Number) {
      more->edit.OnKeyPress = [this](ui::Control& sender, char& key) { edt_WaitTimeKeyPress(sender, key); };
    }
    more->hint.OnClick = [this, &setting](ui::Control&) {
      if (const lang::LangRow* row = lang::BuiltInRow(setting.hintKey != nullptr ? setting.hintKey : "")) {
        App().MessageBox(Lang_.Text(*row));
      }
    };
    more->hex.OnClick = [this, edit = &more->edit, box = &more->hex](ui::Control&) {
      edit->SetText(box->Checked() ? values::AsciiToHex(edit->Text()) : values::HexToAscii(edit->Text()));
    };
  }
}

void Tfrm_Main::ShowBusy() {
  const bool busy = Device.Busy();
  // Every list whose change re-opens the port is held too: a port re-opened mid-sequence loses the reply
  // the sequence waits for.
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           &btn_Default, &btn_Read, &btn_SetAll, &N11, &N2, &N5, &N15, &btn_Com, &cbb_Open_ComName,
           &cbb_Open_BaudRate, &cbb_Open_Parity, &cbb_Open_Byte, &cbb_Open_Stop, &cbb_Com_Parity,
           &cbb_Com_Byte, &cbb_Com_Stop, &edt_Command, &btn_Send}) {
    control->SetEnabled(!busy);
  }
  N16.SetEnabled(busy);
}

void Tfrm_Main::CancelRunning() {
  if (PortSearch.Running()) {
    PortSearch.Stop();
  } else {
    Device.Cancel();
  }
}

void Tfrm_Main::ShowTimeStamps(bool on) {
  N19.SetChecked(on);
  if (!on) {
    mmo_Info.LinePrefix = nullptr;
    return;
  }
  mmo_Info.LinePrefix = [this] { return (Clock ? Clock() : LocalTime()) + ' '; };
}

void Tfrm_Main::FormCreate() {
  App().Title = Caption();
  const std::string icon = FilePath("logo.ico");
  if (platform::FileExists(icon)) App().IconPath = icon;
  const std::string iniPath = FilePath("program.ini");
  // A save that was cut short (the program killed) may have left its temporary file behind.
  settings::IniFile(iniPath).RemoveStaleTemporaries();
  const settings::StoredSettings stored = settings::LoadSettings(iniPath, lang::IsSystemChinese());
  settingsFile_ = iniPath;
  savedLanguage_ = stored.chinese;
  std::vector<ui::TComboBox*> lists = PortLists();
  for (size_t i = 0; i < lists.size(); ++i) lists[i]->SetItemIndex(stored.com[i]);
  // Every device field is shown as loaded; the APN field gets its look from the choice, without a dialog.
  std::vector<size_t> rows(values::Table().size());
  for (size_t row = 0; row < rows.size(); ++row) rows[row] = row;
  ShowLoadedValues(stored.dtu, rows);
  N17.SetChecked(stored.verify);
  Device.VerifyWrites = stored.verify;
  ShowTimeStamps(stored.timeStamps);
  if (stored.place) {
    const settings::StoredPlace& p = *stored.place;
    Place = ui::WindowPlace{p.left, p.top, p.width, p.height, p.maximized};
  }
  SelectChosenDevice(stored.chosenDevice);
  CreateLangList();
  btn_Com.Click();
}

std::string Tfrm_Main::MissingItemText(const std::string& device) {
  return device.substr(device.find_last_of('/') + 1) + Lang_.Text(lang::lang_Port_Missing);
}

void Tfrm_Main::SelectChosenDevice(const std::string& device) {
  if (device.empty()) return;
  const auto at = std::find(portDevices_.begin(), portDevices_.end(), device);
  if (at != portDevices_.end()) {
    cbb_Open_ComName.SetItemIndex(static_cast<int>(at - portDevices_.begin()));
    return;
  }
  std::vector<std::string> items = cbb_Open_ComName.Items();
  items.push_back(MissingItemText(device));
  portDevices_.push_back(device);
  cbb_Open_ComName.SetItems(std::move(items));
  cbb_Open_ComName.SetItemIndex(static_cast<int>(portDevices_.size()) - 1);
}

void Tfrm_Main::CreateLangList() {
  std::string fileName = FilePath("lang.txt");
  if (!platform::FileExists(fileName)) fileName.clear();
  Lang_.Create(fileName, savedLanguage_);
  ApplyMainLang(*this, Lang_.List());
  RefreshPortList();  // the marks of missing devices in the language now chosen
}

void Tfrm_Main::ToggleLang() {
  Lang_.SetChinese(!Lang_.IsChinese());
  ApplyMainLang(*this, Lang_.List());
  RefreshPortList();
  if (frm_About != nullptr) ApplyAboutLang(*frm_About, Lang_.List());
  if (frm_APN != nullptr) ApplyApnLang(*frm_APN, Lang_.List());
}

void Tfrm_Main::FreeLangList() { Lang_.Release(); }

void Tfrm_Main::FormClose() {
  if (settingsFile_) {
    settings::StoredSettings stored;
    stored.chinese = Lang_.IsChinese();
    std::vector<ui::TComboBox*> lists = PortLists();
    for (size_t i = 0; i < lists.size(); ++i) stored.com[i] = lists[i]->ItemIndex();
    stored.dtu = CurrentValues();
    const int selected = cbb_Open_ComName.ItemIndex();
    if (selected >= 9) stored.chosenDevice = DeviceForItem(selected);
    stored.verify = N17.Checked();
    stored.timeStamps = N19.Checked();
    if (Place)
      stored.place =
          settings::StoredPlace{Place->left, Place->top, Place->width, Place->height, Place->maximized};
    settings::SaveSettings(*settingsFile_, stored);
    settingsFile_.reset();
  }
  FreeLangList();
}

void Tfrm_Main::CloseWindow() {
  if (closed_) return;
  // Whatever runs ends now: a reply handled after the window closed would meet a released language list.
  PortSearch.Stop();
  Device.Abort();
  tmr_TimeOut.SetEnabled(false);
  tmr_SendInfo.SetEnabled(false);
  try {
    FormClose();
  } catch (const std::exception& error) {
    // The user hears of every failed save, from the menu too. The first keeps the window open so that the
    // cause can be mended and closing tried again; a later one lets the user leave without the file.
    App().HandleException(error);
    if (!saveFailed_) {
      saveFailed_ = true;
      return;
    }
    FreeLangList();
  }
  Device.Shutdown();
  // Closed through the port control, so that what the line still delivers is dropped.
  PortControl.CloseComPort();
  closed_ = true;
  Close();
}

void Tfrm_Main::UserClose() {
  App().Dispatch([this] { CloseWindow(); });
}

void Tfrm_Main::btn_ReadClick(ui::Control& Sender) {
  // The marks of the last write are about what the DTU held then.
  MarkFields({});
  switch (Sender.Tag) {
    case ui::tags::kRestoreDefaults:
      // Every setting of the DTU is overwritten, so the user says so first. While another action runs the
      // refusal comes without a question.
      if (Device.Busy() || App().Ask(Lang_.Text(lang::lang_Ask_Default), Lang_.Text(lang::lang_Ask_Yes),
                                     Lang_.Text(lang::lang_Ask_No))) {
        Device.RestoreDefaults();
      }
      break;
    case ui::tags::kRead:
      Device.StartRead();
      break;
    case ui::tags::kWriteAll:
      Device.StartWriteAll();
      break;
    default:
      break;
  }
}

void Tfrm_Main::btn_ComClick(ui::Control&) {
  if (btn_Com.Caption() == Lang_.Text(lang::lang_Command_Open)) {
    PortControl.OpenComPort();
  } else {
    PortControl.CloseComPort();
  }
}

void Tfrm_Main::cbb_Open_ComNameChange(ui::Control&) { PortControl.OpenComPort(); }

void Tfrm_Main::N2Click(ui::Control& Sender) {
  // Errors of menu commands are dropped without a word; the program carries on.
  try {
    switch (Sender.Tag) {
      case ui::tags::kRestoreDefaults:
      case ui::tags::kRead:
      case ui::tags::kWriteAll:
        btn_ReadClick(Sender);
        break;
      case ui::tags::kExit:
        CloseWindow();
        break;
      case ui::tags::kLanguage:
        ToggleLang();
        break;
      case ui::tags::kAbout:
        if (frm_About != nullptr) frm_About->ShowModal();
        break;
      case ui::tags::kDownloadPage:
        platform::OpenWebAddress(Lang_.Text(lang::lang_DownWeb));
        break;
      case ui::tags::kWebSite:
        platform::OpenWebAddress(Lang_.Text(lang::lang_About_Website));
        break;
      case ui::tags::kSmsHelp:
        App().MessageBox(Lang_.Text(lang::lang_Hint_Message));
        break;
      case ui::tags::kFindLine:
        PortSearch.Start();
        break;
      case ui::tags::kCancel:
        CancelRunning();
        break;
      case ui::tags::kVerify:
        N17.SetChecked(!N17.Checked());
        Device.VerifyWrites = N17.Checked();
        break;
      case ui::tags::kSaveLog:
        SaveLog();
        break;
      case ui::tags::kTimeStamps:
        ShowTimeStamps(!N19.Checked());
        break;
      case ui::tags::kOpenConfig:
        OpenConfiguration();
        break;
      case ui::tags::kSaveConfig:
        SaveConfiguration();
        break;
      case ui::tags::kSendCommand:
        ShowCommandBox(!N22.Checked());
        break;
      default:
        break;
    }
  } catch (...) {
  }
}

void Tfrm_Main::edt_WaitTimeKeyPress(ui::Control&, char& Key) {
  const bool accepted = Key == '\b' || Key == '.' || (Key >= '0' && Key <= '9');
  if (!accepted) Key = 0;
}

void Tfrm_Main::lbl_Hint_APNClick(ui::Control& Sender) {
  if (const lang::LangRow* row = HintRowForTag(Sender.Tag)) App().MessageBox(Lang_.Text(*row));
}

void Tfrm_Main::cbb_APNChange(ui::Control&) {
  const int before = ShownApnChoice(edt_APN_other);
  const std::string beforeText = edt_APN_other.Text();
  switch (cbb_APN.ItemIndex()) {
    case 0:
      SetFixedApn(values::kApnCmnet);
      break;
    case 1:
      SetFixedApn(values::kApnUninet);
      break;
    case values::kOtherApnIndex:
      if (SetOtherApn("")) break;
      // Left without OK: the APN chosen before stays, in the list and in the field.
      cbb_APN.SetItemIndex(before);
      if (before == values::kOtherApnIndex) {
        ShowOtherApn(beforeText);
      } else {
        ShowFixedApn(beforeText);
      }
      break;
    default:
      break;
  }
}

void Tfrm_Main::edt_APN_otherClick(ui::Control&) {
  if (frm_APN != nullptr) frm_APN->ShowModal();
}

void Tfrm_Main::lbl_ClearClick(ui::Control&) { mmo_Info.Clear(); }

void Tfrm_Main::SetFixedApn(const std::string& text) { ShowFixedApn(text); }

bool Tfrm_Main::SetOtherApn(const std::string& text) {
  ShowOtherApn(text);
  return frm_APN == nullptr || frm_APN->Confirm();
}

void Tfrm_Main::chk_DevIDClick(ui::Control& Sender) {
  ui::TEdit* edit = nullptr;
  if (Sender.Tag == ui::tags::kDevIdHex) edit = &edt_DevID;
  if (Sender.Tag == ui::tags::kHeartbeatFormatHex) edit = &edt_HeartbeatFormat;
  const auto* box = dynamic_cast<const ui::TCheckBox*>(&Sender);
  if (edit == nullptr || box == nullptr) return;
  // The conversion finishes before the edit changes, so a bad hex pair leaves the user's text in place.
  edit->SetText(box->Checked() ? values::AsciiToHex(edit->Text()) : values::HexToAscii(edit->Text()));
}

}  // namespace app
