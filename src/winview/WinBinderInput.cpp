#include "winview/WinBinder.h"

// What the user does in the native controls beyond their notifications: each typed character through the
// model's key filter, Up, Down and Enter to a field that acts on them, a click into an edit, the wheel over a
// list, Tab and Escape from the log.

#include <optional>
#include <string>

#include "winview/WinText.h"

namespace winview {

LRESULT CALLBACK WinBinder::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data) {
  Bound& bound = *reinterpret_cast<Bound*>(data);
  auto& edit = static_cast<ui::TEdit&>(bound.model);
  switch (message) {
    case WM_GETDLGCODE: {
      // A field that acts on Enter (the command box) takes it before the window's dialog keys do.
      const LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (edit.OnKeyDown && msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        return code | DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN: {
      // Up, Down and Enter go to the field's handler first (the command box's history and sending).
      std::optional<ui::TKey> key;
      if (wParam == VK_UP) key = ui::TKey::Up;
      if (wParam == VK_DOWN) key = ui::TKey::Down;
      if (wParam == VK_RETURN) key = ui::TKey::Enter;
      if (key && edit.OnKeyDown) {
        bool acted = false;
        bound.binder.UserAction([&edit, &acted, &key] { acted = edit.UserKeyDown(*key); });
        if (acted) return 0;
      }
      break;
    }
    case WM_CHAR:
      // The Enter a field acted on does not reach the edit as a character (a single-line edit would beep).
      if (wParam == L'\r' && edit.OnKeyDown) return 0;
      if (!bound.binder.TypeChar(bound, hwnd, static_cast<wchar_t>(wParam))) return 0;
      break;
    case WM_LBUTTONUP: {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      RECT client;
      GetClientRect(hwnd, &client);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ui::Control& model = bound.model;
      if (PtInRect(&client, at)) bound.binder.UserAction([&model] { model.UserClick(); });
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &WinBinder::EditProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WinBinder::ComboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR) {
  // Scrolling over the window must not choose another port, parity or baud rate in passing (each choice
  // re-opens the port): the wheel changes a list only while it has the focus, as the system sends the wheel
  // to the window under the pointer.
  if (message == WM_MOUSEWHEEL && GetFocus() != hwnd) return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &WinBinder::ComboProc, id);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WinBinder::MemoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR) {
  if (message == WM_GETDLGCODE) {
    // Tab moves on to the next control and Escape and Enter reach the window, as in the rest of it.
    return DefSubclassProc(hwnd, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &WinBinder::MemoProc, id);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

bool WinBinder::TypeChar(Bound& bound, HWND edit, wchar_t typed) {
  auto& model = static_cast<ui::TEdit&>(bound.model);
  const std::string bytes = FromWide(std::wstring(1, typed));
  std::string passed;
  for (char key : bytes) {
    // An error in the filter cancels the key, as the key press handling stops there.
    bool accepted = false;
    app_.Dispatch([&] { accepted = model.KeyPress(key); });
    if (!accepted) {
      RefreshAll();
      return false;
    }
    passed.push_back(key);
  }
  if (passed == bytes) return true;
  // The filter typed another character in place of this one.
  const std::wstring replacement = ToWide(passed);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement.c_str()));
  return false;
}

}  // namespace winview
