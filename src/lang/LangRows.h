#pragma once
// The 81 built-in language rows. Each is passed whole to GetLangText, which registers it at its first lookup.
// Texts are UTF-8 here and become GBK when they enter the language list; "\r\n" is part of the text.

#include <string_view>

namespace lang {

struct LangRow {
  std::string_view Key;
  std::string_view Chinese;  // UTF-8 in the source
  std::string_view English;
};

// 1
inline constexpr LangRow lang_System_Title{"lang_System_Title", "Torvane-T1", "Torvane-T1"};
// 2
inline constexpr LangRow lang_Menu_File{"lang_Menu_File", "文件(&F)", "File(&F)"};
// 3
inline constexpr LangRow lang_Menu_Lang{"lang_Menu_Lang", "English(&L)", "中文(&L)"};
// 4
inline constexpr LangRow lang_Menu_Help{"lang_Menu_Help", "帮助(&H)", "Help(&H)"};
// 5
inline constexpr LangRow lang_Menu_Default{"lang_Menu_Default", "恢复默认配置", "Write default"};
// 6
inline constexpr LangRow lang_Menu_Read{"lang_Menu_Read", "读取设备配置", "Read Dev Config"};
// 7
inline constexpr LangRow lang_Menu_WriteAll{"lang_Menu_WriteAll", "配置全部参数", "Write All Config"};
// 8
inline constexpr LangRow lang_Menu_Exit{"lang_Menu_Exit", "退出程序", "Exit"};
// 9
inline constexpr LangRow lang_Menu_About{"lang_Menu_About", "关于...", "About..."};
// 10
inline constexpr LangRow lang_Menu_Update{"lang_Menu_Update", "检查更新", "Check Update"};
// 11
inline constexpr LangRow lang_Menu_Web{"lang_Menu_Web", "访问站点", "Website"};
// 12
inline constexpr LangRow lang_Menu_Message{"lang_Menu_Message", "短信配置方式",
                                           "SMS configuration instructions"};
// 13
inline constexpr LangRow lang_Command_Open{"lang_Command_Open", "打 开", "Open"};
// 14
inline constexpr LangRow lang_Command_Close{"lang_Command_Close", "关 闭", "Close"};
// 15
inline constexpr LangRow lang_grp_OpenCom{"lang_grp_OpenCom", " 计算机串口参数 ", " Computer Com "};
// 16
inline constexpr LangRow lang_grp_Prarm{"lang_grp_Prarm", " DTU设备参数设置 ", "DTU Parameters Config "};
// 17
inline constexpr LangRow lang_Lbl_ComName{"lang_Lbl_ComName", "串口号", "ComName"};
// 18
inline constexpr LangRow lang_Lbl_ComBaudRate{"lang_Lbl_ComBaudRate", "波特率", "BaudRate"};
// 19
inline constexpr LangRow lang_Lbl_DTUBaudRate{"lang_Lbl_DTUBaudRate", "设备波特率", "DTU BaudRate"};
// 20
inline constexpr LangRow lang_Lbl_APN{"lang_Lbl_APN", "APN账号", "APN Name"};
// 21
inline constexpr LangRow lang_Lbl_WaitTime{"lang_Lbl_WaitTime", "串口打包时间", "Wait Time"};
// 22
inline constexpr LangRow lang_Lbl_ms{"lang_Lbl_ms", "毫秒", "ms"};
// 23
inline constexpr LangRow lang_Lbl_Byte{"lang_Lbl_Byte", "字节", "Byte"};
// 24
inline constexpr LangRow lang_Lbl_WaitLen{"lang_Lbl_WaitLen", "串口打包长度", "Wait Length"};
// 25
inline constexpr LangRow lang_Lbl_HeartbeatTime{"lang_Lbl_HeartbeatTime", "心跳包发送间隔", "Heartbeat Time"};
// 26
inline constexpr LangRow lang_Lbl_s{"lang_Lbl_s", "秒", "s"};
// 27
inline constexpr LangRow lang_Lbl_IP{"lang_Lbl_IP", "目标IP或域名", "IP / DomainName"};
// 28
inline constexpr LangRow lang_Lbl_Port{"lang_Lbl_Port", "目标端口", "Remote Port"};
// 29
inline constexpr LangRow lang_Lbl_NetProtocol{"lang_Lbl_NetProtocol", "网络协议", "NetProtocol"};
// 30
inline constexpr LangRow lang_Lbl_Info{"lang_Lbl_Info", "信息提示区", "Information"};
// 31
inline constexpr LangRow lang_Lbl_ComParam{"lang_Lbl_ComParam", "检验/数据/停止", "Parity/data/stop"};
// 32
inline constexpr LangRow lang_Lbl_DevID{"lang_Lbl_DevID", "注册包格式", "Device ID"};
// 33
inline constexpr LangRow lang_Lbl_HeartbeatFormat{"lang_Lbl_HeartbeatFormat", "心跳包格式",
                                                  "Heartbeat Format"};
// 34
inline constexpr LangRow lang_Lbl_RestartTime{"lang_Lbl_RestartTime", "自动重启时间", "Restart Time"};
// 35
inline constexpr LangRow lang_Lbl_Clear{"lang_Lbl_Clear", "清空显示区", "Clear information"};
// 36
inline constexpr LangRow lang_cbb_CMNET{"lang_cbb_CMNET", "移动", "CMNET"};
// 37
inline constexpr LangRow lang_cbb_UNINET{"lang_cbb_UNINET", "联通", "UNINET"};
// 38
inline constexpr LangRow lang_cbb_Other{"lang_cbb_Other", "其他", "Other"};
// 39
inline constexpr LangRow lang_DownWeb{"lang_DownWeb", "www.example.com/Page/download.html",
                                      "https://www.example.net/download.html"};
// 40
inline constexpr LangRow lang_About_Title{"lang_About_Title", "关于本程序", "About this"};
// 41
inline constexpr LangRow lang_About_Version{"lang_About_Version", "版本：", "Version:"};
// 42
inline constexpr LangRow lang_About_Yes{"lang_About_Yes", "确 认", "OK"};
// 43
inline constexpr LangRow lang_About_Description{
    "lang_About_Description",
    "本程序由托凡物联技术有限公司设计提供，用于Torvane-"
    "S1系统产品设置，可以通过串口对系统产品进行配置，本软件使用免费。",
    "This software is design by Torvane IoT Co., Ltd.\r\nIt is used for Torvane-S1 config."};
// 44
inline constexpr LangRow lang_About_Contact{"lang_About_Contact", "联系我们：", "Contact Us:"};
// 45
inline constexpr LangRow lang_About_Website{"lang_About_Website", "https://www.example.com",
                                            "https://www.example.net"};
// 46
inline constexpr LangRow lang_About_Tel{"lang_About_Tel", "010-55501234", "010-55501234"};
// 47
inline constexpr LangRow lang_About_Email{"lang_About_Email", "support@example.com", "support@example.com"};
// 48
inline constexpr LangRow lang_Info_ComIsOpen{"lang_Info_ComIsOpen", "[提示]：串口未开启！请先打开串口。",
                                             "[Note]: Com is not Opened, Open Com first, Please!"};
// 49
inline constexpr LangRow lang_Info_Send{"lang_Info_Send", "[发送]：", "[Send]:"};
// 50
inline constexpr LangRow lang_Info_Receive{"lang_Info_Receive", "[接收]：", "[Receive]:"};
// 51
inline constexpr LangRow lang_Info_SendInfo{
    "lang_Info_SendInfo", "[提示]：设备已启动，请在15秒内完成读取和配置。",
    "[Note]: The device has been started, Send The configuration information in 15 seconds.please."};
// 52
inline constexpr LangRow lang_Info_SetSuccess{"lang_Info_SetSuccess", "[提示]：参数设置成功。",
                                              "[Note]: Parameter set successfully."};
// 53
inline constexpr LangRow lang_Info_ReadSuccess{"lang_Info_ReadSuccess", "[提示]：参数读取成功。",
                                               "[Note]:Parameter read successfully."};
// 54
inline constexpr LangRow lang_receive_Timeout{"lang_receive_Timeout", "[提示]：接收数据超时！",
                                              "[Note]: Receive data timeout!"};
// 55
inline constexpr LangRow lang_Info_ComInuse{
    "lang_Info_ComInuse", "[提示]：串口不存在或被占用，请检查该串口是否存在或关闭其他占用此串口的软件！",
    "[Note]: Com is in use or not existing, please close other software which use this Com Port."};
// 56
inline constexpr LangRow lang_Hint_APN{"lang_Hint_APN", "设置设备的APN账号。", "Config APN Name."};
// 57
inline constexpr LangRow lang_Hint_IP{"lang_Hint_IP", "设置设备的目标IP或域名。",
                                      "Config remote IP or DomainName."};
// 58
inline constexpr LangRow lang_Hint_Ptl{"lang_Hint_Ptl", "设置设备的网络协议。", "Config NetProtocol."};
// 59
inline constexpr LangRow lang_Hint_PtlPort{"lang_Hint_PtlPort", "设置设备的目标端口。",
                                           "Config remote Port."};
// 60
inline constexpr LangRow lang_Hint_ComBaudRate{"lang_Hint_ComBaudRate", "设置设备的波特率。",
                                               "Config Device Com BaudRate."};
// 61
inline constexpr LangRow lang_Hint_ComParam{"lang_Hint_ComParam", "设置设备的波特率参数。",
                                            "Config Device Com BaudRate parameter."};
// 62
inline constexpr LangRow lang_Hint_DevID{"lang_Hint_DevID", "设置设备的ID。（16进制）", "Config ID.(HEX)"};
// 63
inline constexpr LangRow lang_Hint_HeartbeatFormat{"lang_Hint_HeartbeatFormat",
                                                   "设置设备的心跳包数据格式(16 进制)。",
                                                   "Config The heartbeat packet data Format(HEX)."};
// 64
inline constexpr LangRow lang_Hint_HeartbeatTime{
    "lang_Hint_HeartbeatTime",
    "如果启动网络链接时指定需要自动重连，在链接被意外断开后，等待了 < keepalive_wait > "
    "秒后，会重新建立服务器连接，该配置仅仅对客户端链接有效。\r\n如果启动网络链接时指定需要发送心跳包，在链接"
    "空闲 < keepalive_wait > 秒后，会自动发送心跳包到服务器，该配置仅仅对客户端链接有效。",
    "If The specified automatic reconnection start NetWork link,The link is accidentally disconnected, "
    "waiting for < keepalive_wait > seconds, to a server connection is established, The configuration is "
    "only effective to client link.\r\nif the specified send heartbeat packet start NetWork link, The link "
    "idle < keepalive_wait > seconds later, automatically Send a heartbeat packet to The server, The "
    "configuration is only effective to client link."};
// 65
inline constexpr LangRow lang_Hint_WaitLen{
    "lang_Hint_WaitLen", "设备在收到 < wait_data_len > 个字节数据后，马上发送到连接服务器。",
    "Device in The received < wait_data_len > bytes of data, and Send to connect to The server."};
// 66
inline constexpr LangRow lang_Hint_WaitTime{
    "lang_Hint_WaitTime",
    "在串口收到不足 < wait_data_len > 字节数的数据时，模块等待 < wait_time > "
    "毫秒后仍然没有再收到串口数据时启动发送缓冲区数据。",
    "In The serial received < wait_data_len > bytes of data, module for < wait_time > milliseconds later "
    "still not received serial data to start sending data buffer."};
// 67
inline constexpr LangRow lang_Hint_ResetTime{
    "lang_Hint_ResetTime", "范围：1800-无限，设置设备无网络数据传输时的重启时间，最好大于2分钟。",
    "Range: 1800- infinite, set the equipment without network data transmission when the restart time, "
    "preferably more than 2 minutes."};
// 68
inline constexpr LangRow lang_Hint_Message{
    "lang_Hint_Message",
    "1、修改IP：\r\n"
    "   短信内容：642519,setip:0,<ipaddr>\r\n"
    "   比如：IP为192.0.2.10 则短信内容为：642519,setip:0,192.0.2.10\r\n"
    "   返回：SETIP OK\r\n"
    "2、修改端口号：\r\n"
    "   短信内容：642519,setport:0,<port>\r\n"
    "   比如：端口号为：7100 则短信内容为：642519,setport:0,7100\r\n"
    "   返回：SETPORT OK\r\n"
    "3、重启模块按新的设置工作：\r\n"
    "   短信内容：642519,reset\r\n"
    "   返回:RESET OK\r\n"
    "4、查询状态：\r\n"
    "   短信内容：642519,status\r\n"
    "5、修改波特率：\r\n"
    "   短信内容：642519,setbaud:<BaudRate>\r\n"
    "   比如：波特率为115200 则短信内容为：642519,setbaud:0,115200\r\n"
    "\r\n"
    "   这样DTU就会按新的IP端口号工作了",
    "1.Change IP:\r\n"
    "   Send Message:642519,setip:0,<ipaddr>\r\n"
    "   For example:if IP=192.0.2.10 then,Send Message:642519,setip:0,192.0.2.10\r\n"
    "   Return:SETIP OK\r\n"
    "2.Change Port:\r\n"
    "   Send Message:642519,setport:0,<port>\r\n"
    "   For example:if Port=7100 then,Send Message:642519,setport:0,7100\r\n"
    "   Return:SETPORT OK\r\n"
    "3.Restart module according to the new set of work:\r\n"
    "   Send Message:642519,reset\r\n"
    "   Return:RESET OK\r\n"
    "4.Query state:\r\n"
    "   Send Message:642519,status\r\n"
    "5.Change BaudRate:\r\n"
    "   Send Message:642519,setbaud:<baudrate>\r\n"
    "   For example:if BaudRate=115200 then,Send Message:642519,setbaud:0,115200\r\n"
    "\r\n"
    "   The Device Will work on the new IP/port."};
// 69
inline constexpr LangRow lang_APN_APNEmpty{"lang_APN_APNEmpty", "APN账号不能为空！",
                                           "APN account can not be empty!"};
// 70
inline constexpr LangRow lang_APN_Title{"lang_APN_Title", "APN设置", "APN Setting"};
// 71
inline constexpr LangRow lang_APN_APN{"lang_APN_APN", "APN：", "APN:"};
// 72
inline constexpr LangRow lang_APN_Account{"lang_APN_Account", "账号：", "Account:"};
// 73
inline constexpr LangRow lang_APN_Password{"lang_APN_Password", "密码：", "Password:"};
// 74
inline constexpr LangRow lang_APN_OK{"lang_APN_OK", "确 定", "OK"};
// 75..81: why a port did not open (each follows the device path), which device a COM name opened, and a
// port lost while open.
inline constexpr LangRow lang_Info_ComDenied{
    "lang_Info_ComDenied",
    "：没有访问权限。请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。",
    ": permission denied. Add the user to the dialout group (sudo usermod -aG dialout $USER), then log in "
    "again."};
inline constexpr LangRow lang_Info_ComBusy{"lang_Info_ComBusy", "：已被其他程序占用。",
                                           ": in use by another program."};
inline constexpr LangRow lang_Info_ComMissing{"lang_Info_ComMissing", "：设备不存在。", ": no such device."};
inline constexpr LangRow lang_Info_ComNotSerial{"lang_Info_ComNotSerial", "：不是串口。",
                                                ": not a serial port."};
inline constexpr LangRow lang_Info_ComFailed{"lang_Info_ComFailed", "：无法打开。", ": could not be opened."};
inline constexpr LangRow lang_Info_ComDevice{"lang_Info_ComDevice", "[提示]：已打开串口，设备为 ",
                                             "[Note]: Port opened on the device "};
inline constexpr LangRow lang_Info_ComLost{
    "lang_Info_ComLost", "[提示]：串口已断开（设备被拔出或挂断），设备恢复后请重新打开串口。",
    "[Note]: The port was lost (the device was unplugged or hung up); open it again once the device is "
    "back."};

// All rows in table order, for tests and tools that need to walk them.
inline constexpr const LangRow* kAllRows[] = {&lang_System_Title,
                                              &lang_Menu_File,
                                              &lang_Menu_Lang,
                                              &lang_Menu_Help,
                                              &lang_Menu_Default,
                                              &lang_Menu_Read,
                                              &lang_Menu_WriteAll,
                                              &lang_Menu_Exit,
                                              &lang_Menu_About,
                                              &lang_Menu_Update,
                                              &lang_Menu_Web,
                                              &lang_Menu_Message,
                                              &lang_Command_Open,
                                              &lang_Command_Close,
                                              &lang_grp_OpenCom,
                                              &lang_grp_Prarm,
                                              &lang_Lbl_ComName,
                                              &lang_Lbl_ComBaudRate,
                                              &lang_Lbl_DTUBaudRate,
                                              &lang_Lbl_APN,
                                              &lang_Lbl_WaitTime,
                                              &lang_Lbl_ms,
                                              &lang_Lbl_Byte,
                                              &lang_Lbl_WaitLen,
                                              &lang_Lbl_HeartbeatTime,
                                              &lang_Lbl_s,
                                              &lang_Lbl_IP,
                                              &lang_Lbl_Port,
                                              &lang_Lbl_NetProtocol,
                                              &lang_Lbl_Info,
                                              &lang_Lbl_ComParam,
                                              &lang_Lbl_DevID,
                                              &lang_Lbl_HeartbeatFormat,
                                              &lang_Lbl_RestartTime,
                                              &lang_Lbl_Clear,
                                              &lang_cbb_CMNET,
                                              &lang_cbb_UNINET,
                                              &lang_cbb_Other,
                                              &lang_DownWeb,
                                              &lang_About_Title,
                                              &lang_About_Version,
                                              &lang_About_Yes,
                                              &lang_About_Description,
                                              &lang_About_Contact,
                                              &lang_About_Website,
                                              &lang_About_Tel,
                                              &lang_About_Email,
                                              &lang_Info_ComIsOpen,
                                              &lang_Info_Send,
                                              &lang_Info_Receive,
                                              &lang_Info_SendInfo,
                                              &lang_Info_SetSuccess,
                                              &lang_Info_ReadSuccess,
                                              &lang_receive_Timeout,
                                              &lang_Info_ComInuse,
                                              &lang_Hint_APN,
                                              &lang_Hint_IP,
                                              &lang_Hint_Ptl,
                                              &lang_Hint_PtlPort,
                                              &lang_Hint_ComBaudRate,
                                              &lang_Hint_ComParam,
                                              &lang_Hint_DevID,
                                              &lang_Hint_HeartbeatFormat,
                                              &lang_Hint_HeartbeatTime,
                                              &lang_Hint_WaitLen,
                                              &lang_Hint_WaitTime,
                                              &lang_Hint_ResetTime,
                                              &lang_Hint_Message,
                                              &lang_APN_APNEmpty,
                                              &lang_APN_Title,
                                              &lang_APN_APN,
                                              &lang_APN_Account,
                                              &lang_APN_Password,
                                              &lang_APN_OK,
                                              &lang_Info_ComDenied,
                                              &lang_Info_ComBusy,
                                              &lang_Info_ComMissing,
                                              &lang_Info_ComNotSerial,
                                              &lang_Info_ComFailed,
                                              &lang_Info_ComDevice,
                                              &lang_Info_ComLost};

// The built-in row with this key; nullptr when there is none.
constexpr const LangRow* BuiltInRow(std::string_view key) {
  for (const LangRow* row : kAllRows) {
    if (row->Key == key) return row;
  }
  return nullptr;
}

}  // namespace lang
