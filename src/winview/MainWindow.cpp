#include "winview/MainWindow.h"

#include <algorithm>

#include "ui/Tags.h"
#include "winview/WinText.h"

namespace winview {
namespace {

constexpr int kClientWidth = 718;
constexpr int kClientHeight = 512;

// The groups' places, and the columns inside the device parameter group, as the Qt window has them.
constexpr int kGroupX = 8;
constexpr int kPortGroupY = 4;
constexpr int kParamGroupY = 122;
constexpr int kGroupWidth = 360;
constexpr int kCaptionX = 10;
constexpr int kCaptionWidth = 112;
constexpr int kFieldX = 124;
constexpr int kEditWidth = 130;
constexpr int kBesideX = kFieldX + kEditWidth + 6;  // units and "HEX" boxes after an edit
constexpr int kHintX = 330;
constexpr int kRowHeight = 22;
constexpr int kLogX = kGroupWidth + 16;
constexpr int kRowPitch = 26;

// The height the rows made from the settings table add below the designed ones.
int MoreHeight(const ui::TMainFormDesign& form) {
  return static_cast<int>(form.MoreSettings.size()) * kRowPitch;
}

constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;

}  // namespace

MainWindow::MainWindow(ui::Application& app, ui::TMainFormDesign& form, std::function<void()> onCloseRequest)
    : TopWindow(app, L"DtuConfigMain", kStyle, nullptr),
      form_(form),
      onCloseRequest_(std::move(onCloseRequest)) {
  menu_ = std::make_unique<MenuBar>(binder_, Handle(), form_.mm1);
  BuildPortGroup();
  BuildParamGroup();
  BuildActionButtons();
  BuildLog();
  SetFocusOrder();
  binder_.Also([this] { SetWindowTextW(Handle(), ToWide(form_.Caption()).c_str()); });
  binder_.Refresh(true);
  SetClientSize(kClientWidth, kClientHeight + MoreHeight(form_));
  RECT frame;
  GetWindowRect(Handle(), &frame);
  smallest_ = SIZE{frame.right - frame.left, frame.bottom - frame.top};
  binder_.Also([this] { FitLogToClient(); });
}

void MainWindow::FitLogToClient() {
  RECT client;
  GetClientRect(Handle(), &client);
  // Minimised, the client area is empty: the controls keep their places for the window's return.
  if (client.right == 0 || client.bottom == 0) return;
  const int right = std::max<int>(client.right, kClientWidth) - 8;
  const int bottom = std::max<int>(client.bottom, kClientHeight + MoreHeight(form_)) - 8;
  constexpr int kSendWidth = 80;
  constexpr int kSendHeight = kRowHeight + 4;
  const int commandRow = form_.edt_Command.Visible() ? kSendHeight + 6 : 0;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(Control("lbl_Clear"), nullptr, right - 170, 8, 170, 18, flags);
  SetWindowPos(Control("mmo_Info"), nullptr, kLogX, 28, right - kLogX, bottom - commandRow - 28, flags);
  SetWindowPos(Control("btn_Send"), nullptr, right - kSendWidth, bottom - kSendHeight, kSendWidth,
               kSendHeight, flags);
  SetWindowPos(Control("edt_Command"), nullptr, kLogX, bottom - kSendHeight + 1,
               right - kSendWidth - 6 - kLogX, kSendHeight - 2, flags);
}

ui::WindowPlace MainWindow::NormalPlace() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  // The normal place is in work-area coordinates, on both sides of every comparison made here.
  const RECT& normal = placement.rcNormalPosition;
  return ui::WindowPlace{normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top,
                         IsZoomed(Handle()) != FALSE};
}

void MainWindow::FirstPlace() {
  TopWindow::FirstPlace();
  designedPlace_ = NormalPlace();
  if (form_.Place) {
    const ui::WindowPlace& place = *form_.Place;
    const RECT wanted{place.left, place.top, place.left + std::max<LONG>(place.width, smallest_.cx),
                      place.top + std::max<LONG>(place.height, smallest_.cy)};
    // A place on a screen that is no longer there (a laptop away from its second monitor) would hide the
    // window: it then keeps the middle of the screen it is on.
    if (MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL) != nullptr) {
      WINDOWPLACEMENT placement{};
      placement.length = sizeof placement;
      GetWindowPlacement(Handle(), &placement);
      placement.rcNormalPosition = wanted;
      placement.showCmd = SW_HIDE;
      SetWindowPlacement(Handle(), &placement);
    }
    if (place.maximized) ShowWindow(Handle(), SW_MAXIMIZE);
  }
  placed_ = true;
}

void MainWindow::KeepPlace() {
  if (!placed_ || IsIconic(Handle()) != FALSE) return;
  const ui::WindowPlace now = NormalPlace();
  if (form_.Place || now != designedPlace_) form_.Place = now;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = POINT{smallest_.cx, smallest_.cy};
      return 0;
    }
    case WM_SIZE:
      FitLogToClient();
      KeepPlace();
      break;
    case WM_MOVE:
      KeepPlace();
      break;
    default:
      break;
  }
  return TopWindow::OnMessage(message, wParam, lParam);
}

HWND MainWindow::Keep(ui::Control& model, HWND control) {
  controls_[model.Name] = control;
  return control;
}

HWND MainWindow::Control(const std::string& name) const {
  const auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

void MainWindow::BuildPortGroup() {
  ui::TMainFormDesign& f = form_;
  HWND w = Handle();
  WinBinder& b = binder_;
  auto at = [](int x, int y, int width, int height) {
    return Box{kGroupX + x, kPortGroupY + y, width, height};
  };
  Keep(f.grp_OpenCom_Caption, b.Group(w, f.grp_OpenCom_Caption, at(0, 0, kGroupWidth, 112)));
  Keep(f.lbl_Open_ComName, b.Label(w, f.lbl_Open_ComName, at(kCaptionX, 24, kCaptionWidth, kRowHeight)));
  // The port list reaches the group's edge, so that an adapter's name with its note shows whole; the port
  // button sits beside the rate list instead.
  Keep(f.cbb_Open_ComName,
       b.Combo(w, f.cbb_Open_ComName, at(kFieldX, 24, kGroupWidth - 12 - kFieldX, kRowHeight)));
  Keep(f.btn_Com, b.Button(w, f.btn_Com, at(240, 51, 108, 28)));
  Keep(f.lbl_Open_BaudRate, b.Label(w, f.lbl_Open_BaudRate, at(kCaptionX, 54, kCaptionWidth, kRowHeight)));
  Keep(f.cbb_Open_BaudRate, b.Combo(w, f.cbb_Open_BaudRate, at(kFieldX, 54, 100, kRowHeight)));
  Keep(f.lbl_Open_ComParam, b.Label(w, f.lbl_Open_ComParam, at(kCaptionX, 82, kCaptionWidth, kRowHeight)));
  Keep(f.cbb_Open_Parity, b.Combo(w, f.cbb_Open_Parity, at(kFieldX, 82, 76, kRowHeight)));
  Keep(f.cbb_Open_Byte, b.Combo(w, f.cbb_Open_Byte, at(kFieldX + 80, 82, 56, kRowHeight)));
  Keep(f.cbb_Open_Stop, b.Combo(w, f.cbb_Open_Stop, at(kFieldX + 140, 82, 56, kRowHeight)));
}

void MainWindow::BuildParamGroup() {
  ui::TMainFormDesign& f = form_;
  HWND w = Handle();
  WinBinder& b = binder_;
  Keep(f.grp_Param_Caption,
       b.Group(w, f.grp_Param_Caption, Box{kGroupX, kParamGroupY, kGroupWidth, 338 + MoreHeight(f)}));
  int row = 0;
  auto at = [&row](int x, int width) {
    return Box{kGroupX + x, kParamGroupY + 24 + row * kRowPitch, width, kRowHeight};
  };
  auto caption = [&](ui::TLabel& label) { Keep(label, b.Label(w, label, at(kCaptionX, kCaptionWidth))); };
  auto hint = [&](ui::TLabel& label) { Keep(label, b.LinkLabel(w, label, at(kHintX, 24))); };
  auto edit = [&](ui::TEdit& model, int x, int width) { Keep(model, b.Edit(w, model, at(x, width))); };
  auto combo = [&](ui::TComboBox& model, int x, int width) { Keep(model, b.Combo(w, model, at(x, width))); };
  auto unit = [&](ui::TLabel& label) { Keep(label, b.Label(w, label, at(kBesideX, 60))); };
  auto hex = [&](ui::TCheckBox& box) { Keep(box, b.Check(w, box, at(kBesideX, 60))); };

  caption(f.lbl_APN);
  combo(f.cbb_APN, kFieldX, 76);
  edit(f.edt_APN_other, kFieldX + 80, 120);
  hint(f.lbl_Hint_APN);
  ++row;
  caption(f.lbl_IP);
  edit(f.edt_IP, kFieldX, 200);
  hint(f.lbl_Hint_IP);
  ++row;
  caption(f.lbl_NetProtocol);
  combo(f.cbb_NetProtocol, kFieldX, 76);
  hint(f.Label2);
  ++row;
  caption(f.lbl_Port);
  edit(f.edt_Port, kFieldX, 120);
  hint(f.lbl_Hint_PtlPort);
  ++row;
  caption(f.lbl_ComBaudRate);
  combo(f.cbb_Com_BaudRate, kFieldX, 100);
  hint(f.lbl_Hint_ComBaudRate);
  ++row;
  caption(f.lbl_ComParam);
  combo(f.cbb_Com_Parity, kFieldX, 76);
  combo(f.cbb_Com_Byte, kFieldX + 80, 56);
  combo(f.cbb_Com_Stop, kFieldX + 140, 56);
  hint(f.lbl_Hint_ComParam);
  ++row;
  caption(f.lbl_DevID);
  edit(f.edt_DevID, kFieldX, 120);
  hex(f.chk_DevID);
  hint(f.lbl_Hint_DevID);
  ++row;
  caption(f.lbl_HeartbeatFormat);
  edit(f.edt_HeartbeatFormat, kFieldX, 120);
  hex(f.chk_HeartbeatFormat);
  hint(f.lbl_Hint_HbF);
  ++row;
  caption(f.lbl_HeartbeatTime);
  edit(f.edtl_HeartbeatTime, kFieldX, 120);
  unit(f.lbl_HeartbeatTime_s);
  hint(f.lbl_Hint_HbT);
  ++row;
  caption(f.lbl_WaitLen);
  edit(f.edt_WaitLen, kFieldX, 120);
  unit(f.lbl_WaitLen_B);
  hint(f.lbl_Hint_WaitLen);
  ++row;
  caption(f.lbl_WaitTime);
  edit(f.edt_WaitTime, kFieldX, 120);
  unit(f.lbl_WaitTime_ms);
  hint(f.lbl_Hint_WaitTime);
  ++row;
  caption(f.lbl_RestartTime);
  edit(f.edt_RestartTime, kFieldX, 120);
  unit(f.lbl_lbl_RestartTime_s);
  hint(f.lbl1);
  for (const auto& more : f.MoreSettings) {
    ++row;
    caption(more->caption);
    if (more->IsList()) {
      combo(more->list, kFieldX, 100);
    } else {
      edit(more->edit, kFieldX, 120);
    }
    if (more->IsPacket()) hex(more->hex);
    hint(more->hint);
  }
}

void MainWindow::BuildActionButtons() {
  // The picture above the caption, so the longer English captions fit the buttons' width.
  int x = 8;
  for (ui::TButton* model : {&form_.btn_Default, &form_.btn_Read, &form_.btn_SetAll}) {
    Keep(*model,
         binder_.Button(Handle(), *model, Box{x, 466 + MoreHeight(form_), 116, 42}, PictureSide::Top));
    x += 122;
  }
}

void MainWindow::BuildLog() {
  HWND w = Handle();
  Keep(form_.lbl_Info, binder_.Label(w, form_.lbl_Info, Box{kLogX, 8, 160, 18}));
  Keep(form_.lbl_Clear, binder_.LinkLabel(w, form_.lbl_Clear, Box{kClientWidth - 8 - 170, 8, 170, 18},
                                          SS_RIGHT | SS_CENTERIMAGE));
  Keep(form_.mmo_Info,
       binder_.Memo(w, form_.mmo_Info, Box{kLogX, 28, kClientWidth - 8 - kLogX, 476 + MoreHeight(form_)}));
  // The command box: placed under the log by FitLogToClient while Tools > Send command shows it.
  Keep(form_.edt_Command, binder_.Edit(w, form_.edt_Command, Box{kLogX, 0, 100, kRowHeight}));
  Keep(form_.btn_Send, binder_.Button(w, form_.btn_Send, Box{0, 0, 80, kRowHeight + 4}));
}

void MainWindow::SetFocusOrder() {
  std::vector<HWND> order;
  for (ui::Control* model : form_.FocusOrder()) order.push_back(Control(model->Name));
  SetTabOrder(order);
  // The group frames lie under their controls.
  for (const char* group : {"grp_OpenCom_Caption", "grp_Param_Caption"})
    SetWindowPos(Control(group), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::Escape() {
  for (ui::TMenuItem* top : form_.mm1.Items) {
    for (ui::TMenuItem* item : top->Items) {
      // While nothing runs the item is disabled and Escape does nothing.
      if (item->Tag == ui::tags::kCancel) binder_.UserAction([item] { item->UserClick(); });
    }
  }
}

void MainWindow::CloseRequested() {
  // The model decides: the window goes away when its form has been closed.
  binder_.UserAction([this] {
    if (onCloseRequest_) {
      onCloseRequest_();
    } else {
      form_.Close();
    }
  });
  if (!form_.Visible()) Hide();
}

}  // namespace winview
