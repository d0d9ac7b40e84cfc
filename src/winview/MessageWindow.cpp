#include "winview/MessageWindow.h"

#include <algorithm>

#include "winview/Fonts.h"
#include "winview/MessageLayout.h"
#include "winview/TopWindow.h"
#include "winview/Win32.h"

namespace winview {
namespace {

constexpr wchar_t kClassName[] = L"DtuConfigMessage";
constexpr int kFirstButton = 100;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

struct OpenBox {
  const MessageChoice& choice;
  int answer = -1;
};

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<OpenBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (box == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDCANCEL) box->answer = box->choice.cancelButton;
      if (id == IDOK) box->answer = box->choice.defaultButton;
      if (id >= kFirstButton && id < kFirstButton + static_cast<int>(box->choice.buttons.size()))
        box->answer = id - kFirstButton;
      return 0;
    }
    case WM_CLOSE:
      box->answer = box->choice.cancelButton;
      return 0;
    case WM_CTLCOLORSTATIC:
      // The text is a read-only edit, shown on the box's own face.
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK TextProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_GETDLGCODE) {
    // Enter and Escape answer the box even while the text has the focus; Tab moves to the buttons.
    return DefSubclassProc(hwnd, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &TextProc, id);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The text's extent with every line whole, or wrapped between words within wrapWidth (a word wider than that
// widens the extent rather than being broken).
SIZE TextExtent(const std::wstring& text, int wrapWidth = 0) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ before = SelectObject(dc, UiFont());
  RECT extent{0, 0, wrapWidth, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_NOCLIP | (wrapWidth > 0 ? DT_WORDBREAK : 0));
  SelectObject(dc, before);
  ReleaseDC(nullptr, dc);
  // The edit's own margins and caret.
  return SIZE{extent.right + 12, extent.bottom + 6};
}

int ButtonWidth(const std::vector<std::wstring>& captions) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ before = SelectObject(dc, UiFont());
  LONG widest = 0;
  for (const std::wstring& caption : captions) {
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(dc, before);
  ReleaseDC(nullptr, dc);
  return std::max(88, static_cast<int>(widest) + 24);
}

HWND Child(HWND parent, const wchar_t* windowClass, DWORD style, const MessageRect& place, int id,
           DWORD exStyle = 0) {
  HWND hwnd = CreateWindowExW(
      exStyle, windowClass, L"", style | WS_CHILD | WS_VISIBLE, place.x, place.y, place.width, place.height,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  return hwnd;
}

}  // namespace

int ShowMessageWindow(platform::EventLoop& loop, HWND owner, const std::wstring& text,
                      const std::wstring& caption, const wchar_t* icon, const MessageChoice& choice) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  // The box fits the screen the owner is on, frame and all.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int frameWidth = frame.right - frame.left;
  const int frameHeight = frame.bottom - frame.top;

  MessageSize size;
  size.iconSide = icon != nullptr ? GetSystemMetrics(SM_CXICON) : 0;
  size.buttonWidth = ButtonWidth(choice.buttons);
  size.buttonHeight = 26;
  size.buttonCount = static_cast<int>(choice.buttons.size());
  size.scrollBar = GetSystemMetrics(SM_CXVSCROLL);
  // A line wider than four fifths of the screen wraps between words, as a long help text reads best; an SMS
  // command holds no blank, so it is never broken, and what is still too large scrolls.
  SIZE extent = TextExtent(text);
  const int wrapWidth = (work.right - work.left) * 4 / 5 - frameWidth - size.iconSide - 36 - size.scrollBar;
  const bool wrapped = extent.cx > wrapWidth && wrapWidth > 100;
  if (wrapped) extent = TextExtent(text, wrapWidth);
  size.textWidth = extent.cx;
  size.textHeight = extent.cy;
  const MessageLayout layout =
      LayOutMessage(size, work.right - work.left - frameWidth, work.bottom - work.top - frameHeight);

  const int width = layout.clientWidth + frameWidth;
  const int height = layout.clientHeight + frameHeight;
  HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, caption.c_str(), kStyle,
                              work.left + std::max(0L, (work.right - work.left - width) / 2),
                              work.top + std::max(0L, (work.bottom - work.top - height) / 2), width, height,
                              owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  OpenBox box{choice};
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
  TrackTopLevel(hwnd);

  if (icon != nullptr) {
    HWND picture = Child(hwnd, L"STATIC", SS_ICON, MessageRect{12, 12, size.iconSide, size.iconSide}, 0);
    SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon)), 0);
  }
  const DWORD scrolls = (layout.horizontalScroll ? WS_HSCROLL : 0) | (layout.verticalScroll ? WS_VSCROLL : 0);
  HWND textControl = Child(
      hwnd, L"EDIT", ES_MULTILINE | ES_READONLY | (wrapped ? 0 : ES_AUTOHSCROLL) | ES_AUTOVSCROLL | scrolls,
      layout.text, 0);
  SetWindowSubclass(textControl, &TextProc, 1, 0);
  SetWindowTextW(textControl, text.c_str());
  HWND focus = nullptr;
  for (size_t i = 0; i < choice.buttons.size(); ++i) {
    const bool isDefault = static_cast<int>(i) == choice.defaultButton;
    HWND button = Child(hwnd, L"BUTTON", WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                        layout.buttons[i], kFirstButton + static_cast<int>(i));
    SetWindowTextW(button, choice.buttons[i].c_str());
    if (isDefault) focus = button;
  }
  MessageBeep(icon == IDI_ERROR ? MB_ICONHAND : icon == IDI_QUESTION ? MB_ICONQUESTION : MB_ICONASTERISK);

  const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner) != FALSE;
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  if (focus != nullptr) SetFocus(focus);
  loop.RunUntil([&box] { return box.answer >= 0; });
  // The owner is enabled again before the box goes, so that the system activates it and no other program.
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  UntrackTopLevel(hwnd);
  DestroyWindow(hwnd);
  if (owner != nullptr) SetForegroundWindow(owner);
  return box.answer < 0 ? choice.cancelButton : box.answer;
}

}  // namespace winview
