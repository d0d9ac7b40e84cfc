#include "winview/TopWindow.h"

#include <algorithm>
#include <vector>

#include "winview/Fonts.h"

namespace winview {
namespace {

std::vector<HWND>& Windows() {
  static std::vector<HWND> windows;
  return windows;
}

void RegisterOnce(const wchar_t* className) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &windowClass) != FALSE) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  // The program icon of the resource script; the window may set another.
  windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = className;
  RegisterClassExW(&windowClass);
}

}  // namespace

TopWindow::TopWindow(ui::Application& app, const wchar_t* className, DWORD style, HWND owner) : binder_(app) {
  RegisterOnce(className);
  hwnd_ = CreateWindowExW(0, className, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TopWindow::Proc));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  TrackTopLevel(hwnd_);
}

TopWindow::~TopWindow() {
  UntrackTopLevel(hwnd_);
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  DestroyWindow(hwnd_);
}

void TrackTopLevel(HWND window) { Windows().push_back(window); }

void UntrackTopLevel(HWND window) { std::erase(Windows(), window); }

bool IsOurTopLevel(HWND window) {
  return std::find(Windows().begin(), Windows().end(), window) != Windows().end();
}

void TopWindow::SetClientSize(int width, int height) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, GetMenu(hwnd_) != nullptr ? TRUE : FALSE, 0);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps onto a second line takes from the client area; the window grows by as much.
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.bottom < height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TopWindow::SetTabOrder(const std::vector<HWND>& order) {
  HWND after = HWND_TOP;
  for (HWND control : order) {
    SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control;
  }
}

void TopWindow::Show() {
  if (!centred_) {
    centred_ = true;
    FirstPlace();
  }
  ShowWindow(hwnd_, IsZoomed(hwnd_) != FALSE ? SW_SHOWMAXIMIZED : SW_SHOW);
  // In front of its owner even when the owner was brought forward last (by a click on it, or the closing of
  // a drop-down list).
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
}

void TopWindow::FirstPlace() {
  RECT frame;
  GetWindowRect(hwnd_, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(hwnd_, nullptr, work.left + std::max(0L, (work.right - work.left - width) / 2),
               work.top + std::max(0L, (work.bottom - work.top - height) / 2), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TopWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

LRESULT CALLBACK TopWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<TopWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->OnMessage(message, wParam, lParam);
}

LRESULT TopWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (binder_.Command(wParam)) return 0;
      if (LOWORD(wParam) == IDCANCEL) Escape();
      if (LOWORD(wParam) == IDOK) Enter();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (HBRUSH brush = binder_.Colors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_SETCURSOR:
      if (binder_.SetCursorOver(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_ACTIVATE:
      // The focus comes back to the control that had it, as in a dialog.
      if (LOWORD(wParam) == WA_INACTIVE) {
        focus_ = GetFocus();
      } else {
        HWND control = focus_ != nullptr && IsChild(hwnd_, focus_) != FALSE
                           ? focus_
                           : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (control != nullptr) {
          SetFocus(control);
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace winview
