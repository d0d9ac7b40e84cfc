#pragma once
// The main window's controls as designed: every control under its name, with its designed caption (Chinese),
// items, initial selection and Tag. The window's behaviour lives in app::Tfrm_Main, which derives from this;
// the lower layers (settings, port control, device configuration) work on these controls directly, as the
// window's own modules do, without depending on the window class.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "ui/Timer.h"

namespace ui {

// A row of the parameter group for a setting the design does not name a control for: its caption, its
// field (a drop-down list for a list setting, else an edit), a HEX box for a packet and its "(?)" label, in
// the same columns as the designed rows below them. A setting added to the table thus gets its place in the
// window without a line of window code.
struct TSettingRow {
  explicit TSettingRow(size_t tableRow);
  size_t row;  // in values::Table()
  TLabel caption;
  TEdit edit;
  TComboBox list;
  TCheckBox hex;
  TLabel hint;
  bool IsList() const;
  bool IsPacket() const;
  // The control that holds the value.
  Control& Field();
};

// Where the user last left the main window: its frame's top left corner and its size when not maximised, on
// the virtual desktop, in pixels.
struct WindowPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool maximized = false;
  bool operator==(const WindowPlace&) const = default;
};

class TMainFormDesign : public TForm {
 public:
  explicit TMainFormDesign(Application& app);

  // PC port group.
  TGroupBox grp_OpenCom_Caption{"grp_OpenCom_Caption"};
  TLabel lbl_Open_ComName{"lbl_Open_ComName"};
  TComboBox cbb_Open_ComName{"cbb_Open_ComName"};
  TButton btn_Com{"btn_Com"};
  TLabel lbl_Open_BaudRate{"lbl_Open_BaudRate"};
  TComboBox cbb_Open_BaudRate{"cbb_Open_BaudRate"};
  TLabel lbl_Open_ComParam{"lbl_Open_ComParam"};
  TComboBox cbb_Open_Parity{"cbb_Open_Parity"};
  TComboBox cbb_Open_Byte{"cbb_Open_Byte"};
  TComboBox cbb_Open_Stop{"cbb_Open_Stop"};
  TImage img_Open{"img_Open"};
  TImage img_Close{"img_Close"};

  // Device parameter group, row by row.
  TGroupBox grp_Param_Caption{"grp_Param_Caption"};
  TLabel lbl_APN{"lbl_APN"};
  TComboBox cbb_APN{"cbb_APN"};
  TEdit edt_APN_other{"edt_APN_other"};
  TLabel lbl_Hint_APN{"lbl_Hint_APN"};
  TLabel lbl_IP{"lbl_IP"};
  TEdit edt_IP{"edt_IP"};
  TLabel lbl_Hint_IP{"lbl_Hint_IP"};
  TLabel lbl_NetProtocol{"lbl_NetProtocol"};
  TComboBox cbb_NetProtocol{"cbb_NetProtocol"};
  TLabel Label2{"Label2"};
  TLabel lbl_Port{"lbl_Port"};
  TEdit edt_Port{"edt_Port"};
  TLabel lbl_Hint_PtlPort{"lbl_Hint_PtlPort"};
  TLabel lbl_ComBaudRate{"lbl_ComBaudRate"};
  TComboBox cbb_Com_BaudRate{"cbb_Com_BaudRate"};
  TLabel lbl_Hint_ComBaudRate{"lbl_Hint_ComBaudRate"};
  TLabel lbl_ComParam{"lbl_ComParam"};
  TComboBox cbb_Com_Parity{"cbb_Com_Parity"};
  TComboBox cbb_Com_Byte{"cbb_Com_Byte"};
  TComboBox cbb_Com_Stop{"cbb_Com_Stop"};
  TLabel lbl_Hint_ComParam{"lbl_Hint_ComParam"};
  TLabel lbl_DevID{"lbl_DevID"};
  TEdit edt_DevID{"edt_DevID"};
  TCheckBox chk_DevID{"chk_DevID"};
  TLabel lbl_Hint_DevID{"lbl_Hint_DevID"};
  TLabel lbl_HeartbeatFormat{"lbl_HeartbeatFormat"};
  TEdit edt_HeartbeatFormat{"edt_HeartbeatFormat"};
  TCheckBox chk_HeartbeatFormat{"chk_HeartbeatFormat"};
  TLabel lbl_Hint_HbF{"lbl_Hint_HbF"};
  TLabel lbl_HeartbeatTime{"lbl_HeartbeatTime"};
  TEdit edtl_HeartbeatTime{"edtl_HeartbeatTime"};
  TLabel lbl_HeartbeatTime_s{"lbl_HeartbeatTime_s"};
  TLabel lbl_Hint_HbT{"lbl_Hint_HbT"};
  TLabel lbl_WaitLen{"lbl_WaitLen"};
  TEdit edt_WaitLen{"edt_WaitLen"};
  TLabel lbl_WaitLen_B{"lbl_WaitLen_B"};
  TLabel lbl_Hint_WaitLen{"lbl_Hint_WaitLen"};
  TLabel lbl_WaitTime{"lbl_WaitTime"};
  TEdit edt_WaitTime{"edt_WaitTime"};
  TLabel lbl_WaitTime_ms{"lbl_WaitTime_ms"};
  TLabel lbl_Hint_WaitTime{"lbl_Hint_WaitTime"};
  TLabel lbl_RestartTime{"lbl_RestartTime"};
  TEdit edt_RestartTime{"edt_RestartTime"};
  TLabel lbl_lbl_RestartTime_s{"lbl_lbl_RestartTime_s"};
  TLabel lbl1{"lbl1"};

  // Action buttons.
  TButton btn_Default{"btn_Default"};
  TButton btn_Read{"btn_Read"};
  TButton btn_SetAll{"btn_SetAll"};

  // Information log.
  TLabel lbl_Info{"lbl_Info"};
  TLabel lbl_Clear{"lbl_Clear"};
  TMemo mmo_Info{"mmo_Info"};

  // Main menu mm1: N1 File, N3 language (a command itself), N4 Help.
  TMenuItem mm1{"mm1"};
  TMenuItem N1{"N1"};
  TMenuItem N11{"N11"};
  TMenuItem N2{"N2"};
  TMenuItem N5{"N5"};
  TMenuItem N6{"N6"};
  TMenuItem N7{"N7"};
  TMenuItem N3{"N3"};
  TMenuItem N4{"N4"};
  TMenuItem N13{"N13"};
  // Added after the designed menus, so that every designed item keeps its place: Tools, with the search for
  // the DTU's line settings.
  TMenuItem N14{"N14"};
  TMenuItem N15{"N15"};
  // Tools > Cancel: enabled only while a read, write or search runs.
  TMenuItem N16{"N16"};
  // Tools > Verify after writing, a check item.
  TMenuItem N17{"N17"};
  // File > Save log, and Tools > Show time stamps in the log (a check item, off as designed).
  TMenuItem N18{"N18"};
  TMenuItem N19{"N19"};
  // File > Open configuration, Save configuration and the separator before Exit.
  TMenuItem N20{"N20"};
  TMenuItem N21{"N21"};
  TMenuItem N23{"N23"};
  // Tools > Send command: shows the command box under the log.
  TMenuItem N22{"N22"};
  // The command box: one line typed by hand, sent with CR LF by Enter or the button; hidden as designed.
  TEdit edt_Command{"edt_Command"};
  TButton btn_Send{"btn_Send"};
  TMenuItem N9{"N9"};
  TMenuItem N8{"N8"};
  TMenuItem N12{"N12"};
  TMenuItem N10{"N10"};

  // Empty until the user moves, resizes or maximises the window (the view then shows it at its designed size
  // in the middle of the screen); the view keeps it up to date from then on.
  std::optional<WindowPlace> Place;

  // The rows made from settings the design does not show itself, in table order.
  std::vector<std::unique_ptr<TSettingRow>> MoreSettings;

  // Non-visual parts.
  TTimer tmr_TimeOut;
  TTimer tmr_SendInfo;

  // The two whole command texts of write steps 5 and 6, kept only in program.ini.
  std::string CipmuxText;
  std::string CipmodeText;

  // Appends one line to the log: two spaces, then the text unchanged.
  void AddInfo(const std::string& text);

  // The two looks of the APN field. Fixed: the text, button-face background, disabled. Other: the text,
  // window background, enabled (the APN dialog is the caller's business).
  void ShowFixedApn(const std::string& text);
  void ShowOtherApn(const std::string& text);

  // The values the window shows before the settings file is read.
  void ShowDesignedValues();

  // The twelve "(?)" labels, the five numeric edits, the five PC port lists: groups the handlers share.
  std::vector<TLabel*> HintLabels();
  std::vector<TEdit*> NumericEdits();
  std::vector<TComboBox*> PortLists();
  // Every control, for views and tests that look one up by name.
  std::vector<Control*> AllControls();
  // The controls Tab walks, in its order: the PC port group, the log, the device rows (those made from the
  // table after the designed ones, the HEX boxes last), then the action buttons. Every view follows it.
  std::vector<Control*> FocusOrder();
  Control* FindControl(const std::string& name);
};

}  // namespace ui
