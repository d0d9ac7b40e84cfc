#pragma once
// The Win32 headers in the order they need: commctrl.h and windowsx.h build on windows.h. windows.h's
// MessageBox macro would rename ui::Application::MessageBox wherever both are seen, so it goes.

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>
// clang-format on

#undef MessageBox
