#pragma once
// What the program's top-level windows share: a window class of their own whose procedure hands the
// messages to the window object, fixed size from a client area, centring on the screen at the first showing,
// and the binder's colours, cursor and commands.

#include <string>

#include "winview/Win32.h"
#include "winview/WinBinder.h"

namespace winview {

// Every top-level window of the program alive now (the views and the message boxes), for the keyboard
// navigation of the loop.
void TrackTopLevel(HWND window);
void UntrackTopLevel(HWND window);
bool IsOurTopLevel(HWND window);

class TopWindow {
 public:
  virtual ~TopWindow();
  TopWindow(const TopWindow&) = delete;
  TopWindow& operator=(const TopWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  WinBinder& Binder() { return binder_; }
  // Shows the window, centred on the screen the first time.
  void Show();
  void Hide();
  // The user pressed Escape or Enter (outside a button) in the window.
  virtual void Escape() {}
  virtual void Enter() {}

 protected:
  TopWindow(ui::Application& app, const wchar_t* className, DWORD style, HWND owner);
  // Sizes the window so that its client area (below the menu, when it has one) is width x height.
  void SetClientSize(int width, int height);
  // Where the window comes up the first time it is shown: the middle of its screen.
  virtual void FirstPlace();
  // Puts the controls in this order for Tab, the first one first.
  static void SetTabOrder(const std::vector<HWND>& order);
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The close button, Alt+F4, the system menu.
  virtual void CloseRequested() = 0;

  WinBinder binder_;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last left
  bool centred_ = false;
};

}  // namespace winview
