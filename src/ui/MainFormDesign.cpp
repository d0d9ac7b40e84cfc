#include "ui/MainFormDesign.h"

#include "platform/TextCodec.h"
#include "ui/Tags.h"
#include "values/DtuValues.h"
#include "values/ListMeanings.h"

namespace ui {
namespace {

std::string Gbk(const char* utf8) { return platform::Utf8ToGbk(utf8); }

void Design(CaptionControl& control, const char* captionUtf8, int tag = 0) {
  control.SetCaption(Gbk(captionUtf8));
  control.Tag = tag;
}

// The item selected at first comes from the device fields table with the other designed values.
void Design(TComboBox& list, std::vector<std::string> items) { list.SetItems(std::move(items)); }

}  // namespace

TSettingRow::TSettingRow(size_t tableRow)
    : row(tableRow),
      caption("lbl_" + std::string(values::Table()[tableRow].key)),
      edit("edt_" + std::string(values::Table()[tableRow].key)),
      list("cbb_" + std::string(values::Table()[tableRow].key)),
      hex("chk_" + std::string(values::Table()[tableRow].key)),
      hint("lbl_Hint_" + std::string(values::Table()[tableRow].key)) {
  const values::Row& setting = values::Table()[tableRow];
  caption.SetCaption(setting.key);
  hint.SetCaption("(?)");
  hex.SetCaption("HEX");
  std::vector<std::string> items(setting.items.begin(), setting.items.end());
  list.SetItems(std::move(items));
  list.SetVisible(IsList());
  edit.SetVisible(!IsList());
  hex.SetVisible(IsPacket());
  hint.SetVisible(setting.hintKey != nullptr);
}

bool TSettingRow::IsList() const { return values::Table()[row].kind == values::Kind::List; }
bool TSettingRow::IsPacket() const { return values::Table()[row].kind == values::Kind::Packet; }
Control& TSettingRow::Field() {
  if (IsList()) return list;
  return edit;
}

TMainFormDesign::TMainFormDesign(Application& app)
    : TForm(app, "frm_Main"), tmr_TimeOut(app, "tmr_TimeOut", 3000), tmr_SendInfo(app, "tmr_SendInfo", 1500) {
  SetCaption("Torvane-S1");

  Design(grp_OpenCom_Caption, " 计算机串口参数 ");
  Design(lbl_Open_ComName, "串口号");
  Design(cbb_Open_ComName, {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"});
  Design(btn_Com, "打 开");
  btn_Com.SetPicture("close");
  Design(lbl_Open_BaudRate, "波特率");
  Design(cbb_Open_BaudRate, values::BaudRateItems());
  Design(lbl_Open_ComParam, "检验/数据/停止");
  Design(cbb_Open_Parity, values::ParityItems());
  Design(cbb_Open_Byte, values::DataBitsItems());
  Design(cbb_Open_Stop, values::StopBitsItems());
  img_Open.Picture = "open";
  img_Open.SetVisible(false);
  img_Close.Picture = "close";
  img_Close.SetVisible(false);

  Design(grp_Param_Caption, " DTU设备参数设置 ");
  Design(lbl_APN, "APN账号");
  Design(cbb_APN, {Gbk("移动"), Gbk("联通"), Gbk("其他")});
  Design(lbl_IP, "目标IP或域名");
  Design(lbl_NetProtocol, "网络协议");
  Design(cbb_NetProtocol, {"TCP", "UDP"});
  Design(lbl_Port, "目标端口");
  Design(lbl_ComBaudRate, "设备波特率");
  Design(cbb_Com_BaudRate, values::BaudRateItems());
  Design(lbl_ComParam, "检验/数据/停止");
  Design(cbb_Com_Parity, values::ParityItems());
  Design(cbb_Com_Byte, values::DataBitsItems());
  Design(cbb_Com_Stop, values::StopBitsItems());
  Design(lbl_DevID, "注册包格式");
  Design(chk_DevID, "HEX", tags::kDevIdHex);
  Design(lbl_HeartbeatFormat, "心跳包格式");
  Design(chk_HeartbeatFormat, "HEX", tags::kHeartbeatFormatHex);
  Design(lbl_HeartbeatTime, "心跳包发送间隔");
  Design(lbl_HeartbeatTime_s, "秒");
  Design(lbl_WaitLen, "串口打包长度");
  Design(lbl_WaitLen_B, "字节");
  Design(lbl_WaitTime, "串口打包时间");
  Design(lbl_WaitTime_ms, "毫秒");
  Design(lbl_RestartTime, "自动重启时间");
  Design(lbl_lbl_RestartTime_s, "秒");
  Design(lbl_Hint_APN, "(?)", tags::kHintApn);
  Design(lbl_Hint_IP, "(?)", tags::kHintIp);
  Design(Label2, "(?)", tags::kHintProtocol);
  Design(lbl_Hint_PtlPort, "(?)", tags::kHintPort);
  Design(lbl_Hint_ComBaudRate, "(?)", tags::kHintComBaudRate);
  Design(lbl_Hint_ComParam, "(?)", tags::kHintComParam);
  Design(lbl_Hint_DevID, "(?)", tags::kHintDevId);
  Design(lbl_Hint_HbF, "(?)", tags::kHintHeartbeatFormat);
  Design(lbl_Hint_HbT, "(?)", tags::kHintHeartbeatTime);
  Design(lbl_Hint_WaitLen, "(?)", tags::kHintWaitLen);
  Design(lbl_Hint_WaitTime, "(?)", tags::kHintWaitTime);
  Design(lbl1, "(?)", tags::kHintRestartTime);

  Design(btn_Default, "恢复默认配置", tags::kRestoreDefaults);
  btn_Default.SetPicture("default");
  Design(btn_Read, "读取设备配置", tags::kRead);
  btn_Read.SetPicture("read");
  Design(btn_SetAll, "配置全部参数", tags::kWriteAll);
  btn_SetAll.SetPicture("write");

  Design(lbl_Info, "信息提示区");
  Design(lbl_Clear, "清空显示区");

  Design(N1, "文件(&F)");
  Design(N11, "恢复默认配置", tags::kRestoreDefaults);
  Design(N2, "读取设备配置", tags::kRead);
  Design(N5, "配置全部参数", tags::kWriteAll);
  Design(N6, "-");
  Design(N7, "退出程序", tags::kExit);
  Design(N3, "English(&L)", tags::kLanguage);
  Design(N4, "帮助(&H)");
  Design(N13, "短信配置方式", tags::kSmsHelp);
  Design(N9, "-");
  Design(N8, "关于...", tags::kAbout);
  Design(N12, "检查更新", tags::kDownloadPage);
  Design(N10, "访问站点", tags::kWebSite);
  mm1.Items = {&N1, &N3, &N4};
  N1.Items = {&N11, &N2, &N5, &N6, &N7};
  N4.Items = {&N13, &N9, &N8, &N12, &N10};
  Design(N14, "工具(&T)");
  Design(N15, "查找DTU串口参数", tags::kFindLine);
  mm1.Items.push_back(&N14);
  Design(N16, "取消当前操作", tags::kCancel);
  N16.SetEnabled(false);
  Design(N17, "写入后回读校验", tags::kVerify);
  N17.SetChecked(true);
  Design(N20, "打开配置...", tags::kOpenConfig);
  Design(N21, "保存配置...", tags::kSaveConfig);
  Design(N18, "保存日志...", tags::kSaveLog);
  Design(N23, "-");
  N1.Items = {&N11, &N2, &N5, &N6, &N20, &N21, &N18, &N23, &N7};
  Design(N22, "发送命令", tags::kSendCommand);
  Design(N19, "日志显示时间", tags::kTimeStamps);
  N14.Items = {&N15, &N22, &N16, &N17, &N19};
  edt_Command.SetVisible(false);
  Design(btn_Send, "发送", tags::kSend);
  btn_Send.SetVisible(false);

  const auto table = values::Table();
  for (size_t row = 0; row < table.size(); ++row) {
    if (table[row].control == nullptr && table[row].labelKey != nullptr) {
      MoreSettings.push_back(std::make_unique<TSettingRow>(row));
    }
  }

  // The designed values of the fields; the settings file overwrites them at every start.
  ShowDesignedValues();
}

void TMainFormDesign::ShowDesignedValues() {
  for (TComboBox* list : PortLists()) list->SetItemIndex(0);
  cbb_Open_BaudRate.SetItemIndex(static_cast<int>(values::BaudRateItems().size()) - 1);
  cbb_Open_Byte.SetItemIndex(1);
  const values::DtuValues defaults;
  const auto table = values::Table();
  for (size_t row = 0; row < table.size(); ++row) {
    Control* control = table[row].control != nullptr ? FindControl(table[row].control) : nullptr;
    if (auto* list = dynamic_cast<TComboBox*>(control)) list->SetItemIndex(defaults.IndexOf(table[row].key));
    if (auto* edit = dynamic_cast<TEdit*>(control)) edit->SetText(defaults.At(row));
  }
  for (const auto& more : MoreSettings) {
    more->list.SetItemIndex(defaults.IndexOf(table[more->row].key));
    more->edit.SetText(defaults.At(more->row));
  }
  // The other-APN edit is designed empty: its text comes from the APN choice when the settings load. The
  // designed data-bit list shows its first item ("7"); the file's default puts "8" there at every start.
  edt_APN_other.SetText("");
  cbb_Com_Byte.SetItemIndex(0);
}

void TMainFormDesign::AddInfo(const std::string& text) { mmo_Info.Add("  " + text); }

void TMainFormDesign::ShowFixedApn(const std::string& text) {
  edt_APN_other.SetText(text);
  edt_APN_other.SetColor(TColor::clBtnFace);
  edt_APN_other.SetEnabled(false);
}

void TMainFormDesign::ShowOtherApn(const std::string& text) {
  edt_APN_other.SetText(text);
  edt_APN_other.SetColor(TColor::clWindow);
  edt_APN_other.SetEnabled(true);
}

std::vector<TLabel*> TMainFormDesign::HintLabels() {
  return {&lbl_Hint_APN,     &lbl_Hint_IP,          &Label2,
          &lbl_Hint_PtlPort, &lbl_Hint_ComBaudRate, &lbl_Hint_ComParam,
          &lbl_Hint_DevID,   &lbl_Hint_HbF,         &lbl_Hint_HbT,
          &lbl_Hint_WaitLen, &lbl_Hint_WaitTime,    &lbl1};
}

std::vector<TEdit*> TMainFormDesign::NumericEdits() {
  return {&edt_Port, &edtl_HeartbeatTime, &edt_WaitLen, &edt_WaitTime, &edt_RestartTime};
}

std::vector<TComboBox*> TMainFormDesign::PortLists() {
  return {&cbb_Open_ComName, &cbb_Open_BaudRate, &cbb_Open_Parity, &cbb_Open_Byte, &cbb_Open_Stop};
}

// clang-format off
std::vector<Control*> TMainFormDesign::FocusOrder() {
  std::vector<Control*> order = {&cbb_Open_ComName,   &btn_Com,         &cbb_Open_BaudRate,  &cbb_Open_Parity,
                                 &cbb_Open_Byte,      &cbb_Open_Stop,   &mmo_Info,           &cbb_APN,
                                 &edt_APN_other,      &edt_IP,          &cbb_NetProtocol,    &edt_Port,
                                 &cbb_Com_BaudRate,   &cbb_Com_Parity,  &cbb_Com_Byte,       &cbb_Com_Stop,
                                 &edt_DevID,          &edt_HeartbeatFormat, &edtl_HeartbeatTime, &edt_WaitLen,
                                 &edt_WaitTime,       &edt_RestartTime, &chk_DevID,          &chk_HeartbeatFormat,
                                 &btn_Default,        &btn_Read,        &btn_SetAll};
  for (const auto& more : MoreSettings) order.insert(order.end() - 3, &more->Field());
  return order;
}

std::vector<Control*> TMainFormDesign::AllControls() {
  std::vector<Control*> controls = {&grp_OpenCom_Caption, &lbl_Open_ComName, &cbb_Open_ComName, &btn_Com, &lbl_Open_BaudRate,
          &cbb_Open_BaudRate, &lbl_Open_ComParam, &cbb_Open_Parity, &cbb_Open_Byte, &cbb_Open_Stop,
          &img_Open, &img_Close, &grp_Param_Caption, &lbl_APN, &cbb_APN, &edt_APN_other, &lbl_Hint_APN,
          &lbl_IP, &edt_IP, &lbl_Hint_IP, &lbl_NetProtocol, &cbb_NetProtocol, &Label2, &lbl_Port, &edt_Port,
          &lbl_Hint_PtlPort, &lbl_ComBaudRate, &cbb_Com_BaudRate, &lbl_Hint_ComBaudRate, &lbl_ComParam,
          &cbb_Com_Parity, &cbb_Com_Byte, &cbb_Com_Stop, &lbl_Hint_ComParam, &lbl_DevID, &edt_DevID,
          &chk_DevID, &lbl_Hint_DevID, &lbl_HeartbeatFormat, &edt_HeartbeatFormat, &chk_HeartbeatFormat,
          &lbl_Hint_HbF, &lbl_HeartbeatTime, &edtl_HeartbeatTime, &lbl_HeartbeatTime_s, &lbl_Hint_HbT,
          &lbl_WaitLen, &edt_WaitLen, &lbl_WaitLen_B, &lbl_Hint_WaitLen, &lbl_WaitTime, &edt_WaitTime,
          &lbl_WaitTime_ms, &lbl_Hint_WaitTime, &lbl_RestartTime, &edt_RestartTime, &lbl_lbl_RestartTime_s,
          &lbl1, &btn_Default, &btn_Read, &btn_SetAll, &lbl_Info, &lbl_Clear, &mmo_Info, &mm1, &N1, &N11,
          &N2, &N5, &N6, &N7, &N3, &N4, &N13, &N9, &N8, &N12, &N10, &N14, &N15, &N16, &N17, &N18, &N19, &N20, &N21, &N22, &N23, &edt_Command, &btn_Send};
  for (const auto& more : MoreSettings) {
    controls.insert(controls.end(), {&more->caption, &more->edit, &more->list, &more->hex, &more->hint});
  }
  return controls;
}
// clang-format on

Control* TMainFormDesign::FindControl(const std::string& name) {
  for (Control* control : AllControls()) {
    if (control->Name == name) return control;
  }
  return nullptr;
}

}  // namespace ui
