#include "settings/Settings.h"

#include "platform/ProgramFolder.h"
#include "ui/DeviceDefaults.h"

namespace settings {
namespace {

constexpr const char* kSys = "Sys";
constexpr const char* kCom = "Com";
constexpr const char* kDtu = "DTU";

// Index of the first APN entry that lets the user type an APN of their own.
constexpr int kOtherApnIndex = 2;

void LoadIndex(const IniFile& ini, const char* section, const char* key, int defaultIndex,
               ui::TComboBox& list) {
  list.SetItemIndex(ini.ReadInteger(section, key, defaultIndex));
}

void LoadText(const IniFile& ini, const char* key, const char* defaultText, ui::TEdit& edit) {
  edit.SetText(ini.ReadString(kDtu, key, defaultText));
}

}  // namespace

std::string SettingsFilePath() { return platform::SettingsFolder() + "program.ini"; }

bool LoadSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool systemChinese) {
  const IniFile ini(iniPath);
  const bool savedLanguage = ini.ReadInteger(kSys, "Lang", systemChinese ? 1 : 0) != 0;

  LoadIndex(ini, kCom, "ComName", 0, form.cbb_Open_ComName);
  LoadIndex(ini, kCom, "BaudRate", 10, form.cbb_Open_BaudRate);
  LoadIndex(ini, kCom, "Parity", 0, form.cbb_Open_Parity);
  LoadIndex(ini, kCom, "Byte", 1, form.cbb_Open_Byte);
  LoadIndex(ini, kCom, "Stop", 0, form.cbb_Open_Stop);

  LoadIndex(ini, kDtu, "APN Index", 0, form.cbb_APN);
  switch (form.cbb_APN.ItemIndex()) {
    case 0:
      form.ShowFixedApn("CMNET");
      break;
    case 1:
      form.ShowFixedApn("UNINET");
      break;
    case kOtherApnIndex:
      form.ShowOtherApn(ini.ReadString(kDtu, "APN Str", "CMNET"));
      break;
    default:
      break;  // nothing selected: the field keeps its designed look
  }

  LoadText(ini, "IP", ui::DefaultServerHost, form.edt_IP);
  LoadText(ini, "Port", "2317", form.edt_Port);

  LoadIndex(ini, kDtu, "Protocol", 0, form.cbb_NetProtocol);
  LoadIndex(ini, kDtu, "BaudRate", 10, form.cbb_Com_BaudRate);
  LoadIndex(ini, kDtu, "Parity", 0, form.cbb_Com_Parity);
  LoadIndex(ini, kDtu, "Byte", 1, form.cbb_Com_Byte);
  LoadIndex(ini, kDtu, "Stop", 0, form.cbb_Com_Stop);

  LoadText(ini, "DevID", "LOGIN:1001", form.edt_DevID);
  LoadText(ini, "HeartbeatFormat", "LOG", form.edt_HeartbeatFormat);
  LoadText(ini, "HeartbeatTime", "50", form.edtl_HeartbeatTime);
  LoadText(ini, "WaitTime", "10", form.edt_WaitTime);
  LoadText(ini, "WaitLength", "200", form.edt_WaitLen);
  LoadText(ini, "RestartTime", "1800", form.edt_RestartTime);

  form.CipmuxText = ini.ReadString(kDtu, "CIPMUX", "AT + CIPMUX = 0");
  form.CipmodeText = ini.ReadString(kDtu, "CIPMODE", "AT + CIPMODE = 1");
  return savedLanguage;
}

void SaveSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool isChinese) {
  IniFile ini(iniPath);
  ini.WriteString(kSys, "Lang", isChinese ? "1" : "0");

  ini.WriteInteger(kCom, "ComName", form.cbb_Open_ComName.ItemIndex());
  ini.WriteInteger(kCom, "BaudRate", form.cbb_Open_BaudRate.ItemIndex());
  ini.WriteInteger(kCom, "Parity", form.cbb_Open_Parity.ItemIndex());
  ini.WriteInteger(kCom, "Byte", form.cbb_Open_Byte.ItemIndex());
  ini.WriteInteger(kCom, "Stop", form.cbb_Open_Stop.ItemIndex());

  ini.WriteInteger(kDtu, "APN Index", form.cbb_APN.ItemIndex());
  ini.WriteString(kDtu, "APN Str", form.edt_APN_other.Text());
  ini.WriteString(kDtu, "IP", form.edt_IP.Text());
  ini.WriteString(kDtu, "Port", form.edt_Port.Text());
  ini.WriteInteger(kDtu, "Protocol", form.cbb_NetProtocol.ItemIndex());
  ini.WriteInteger(kDtu, "BaudRate", form.cbb_Com_BaudRate.ItemIndex());
  ini.WriteInteger(kDtu, "Parity", form.cbb_Com_Parity.ItemIndex());
  ini.WriteInteger(kDtu, "Byte", form.cbb_Com_Byte.ItemIndex());
  ini.WriteInteger(kDtu, "Stop", form.cbb_Com_Stop.ItemIndex());
  ini.WriteString(kDtu, "DevID", form.edt_DevID.Text());
  ini.WriteString(kDtu, "HeartbeatFormat", form.edt_HeartbeatFormat.Text());
  ini.WriteString(kDtu, "HeartbeatTime", form.edtl_HeartbeatTime.Text());
  ini.WriteString(kDtu, "WaitTime", form.edt_WaitTime.Text());
  ini.WriteString(kDtu, "WaitLength", form.edt_WaitLen.Text());
  ini.WriteString(kDtu, "RestartTime", form.edt_RestartTime.Text());
  ini.WriteString(kDtu, "CIPMUX", form.CipmuxText);
  ini.WriteString(kDtu, "CIPMODE", form.CipmodeText);
}

bool TSettings::LoadSettings(ui::TMainFormDesign& form, const std::string& iniPath, bool systemChinese) {
  settingsFile_.emplace(iniPath);
  savedLanguage_ = settings::LoadSettings(form, settingsFile_->FileName(), systemChinese);
  return savedLanguage_;
}

void TSettings::SaveSettings(ui::TMainFormDesign& form, bool isChinese) {
  if (!settingsFile_) return;
  settings::SaveSettings(form, settingsFile_->FileName(), isChinese);
  settingsFile_.reset();
}

}  // namespace settings
