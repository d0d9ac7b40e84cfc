#pragma once
// The program's message box: an icon, the text and its buttons. Unlike the system's, it never breaks a line
// (see MessageLayout.h), its text can be selected and copied, and it names its buttons in the program's
// language. Timers and posted tasks keep being handled while it is open.

#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "winview/Win32.h"

namespace winview {

struct MessageChoice {
  std::vector<std::wstring> buttons;
  int defaultButton = 0;  // what Enter presses
  int cancelButton = 0;   // what Escape and the close button answer
};

// Shows the box modally over owner (disabled meanwhile) and returns the index of the button chosen. icon is
// one of the system's (IDI_INFORMATION, IDI_ERROR, IDI_QUESTION) or nullptr.
int ShowMessageWindow(platform::EventLoop& loop, HWND owner, const std::wstring& text,
                      const std::wstring& caption, const wchar_t* icon, const MessageChoice& choice);

}  // namespace winview
