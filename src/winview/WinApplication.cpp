#include "winview/WinApplication.h"

#include <atomic>

#include "platform/FilePath.h"
#include "platform/win32/MessageLoopEventLoop.h"
#include "winview/AboutWindow.h"
#include "winview/ApnWindow.h"
#include "winview/MainWindow.h"
#include "winview/Win32.h"
#include "winview/WinDialogHost.h"

namespace winview {
namespace {

// The main window while Run shows it, for the console's interruptions, which arrive on a thread of their own.
std::atomic<HWND> closableWindow{nullptr};

BOOL WINAPI CloseOnConsoleEvent(DWORD event) {
  HWND window = closableWindow.load();
  if (window == nullptr || (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT))
    return FALSE;
  // The window closes as by its close button, with the program's close handling, on its own thread.
  PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

bool IsDroppedList(HWND control) {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"ComboBox") == 0 && SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}  // namespace

struct WinApplication::Impl {
  Impl() : host(loop) {}
  platform::MessageLoopEventLoop loop;
  WinDialogHost host;
  MainWindow* main = nullptr;
};

WinApplication::WinApplication() : impl_(std::make_unique<Impl>()) {
  // A console program (for the command line) started from Explorer gets a console window of its own, which
  // the window never writes to: it goes. Started from a console, the program stays part of it.
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  // Every task and tick redraws what it changed, as does every user action and the showing of a message or a
  // dialog; with nothing happening the window does no work at all.
  impl_->loop.SetAfterEach(&WinBinder::RefreshAll);
  Impl* impl = impl_.get();
  impl_->loop.SetPreTranslate([impl](MSG& msg) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root == nullptr || !IsOurTopLevel(root)) return false;
    // Escape ends what runs in the main window from whichever control has the focus; an open list closes
    // first.
    // With no control focused (the one that had it was disabled) keys come as system keys.
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (impl->main != nullptr && root == impl->main->Handle() && key && msg.wParam == VK_ESCAPE &&
        !IsDroppedList(msg.hwnd)) {
      impl->main->Escape();
      return true;
    }
    // Tab, the arrows, Enter and Escape move and press as in a dialog.
    return IsDialogMessageW(root, &msg) != FALSE;
  });
}

WinApplication::~WinApplication() = default;

platform::EventLoop& WinApplication::Loop() { return impl_->loop; }

ui::DialogHost& WinApplication::Host() { return impl_->host; }

void WinApplication::FollowLanguage(std::function<bool()> isChinese) {
  impl_->host.FollowLanguage(std::move(isChinese));
}

int WinApplication::Run(ui::Application& app, ui::TMainFormDesign& mainForm, ui::TAboutFormDesign& about,
                        ui::TApnFormDesign& apn, std::function<void()> onCloseRequest) {
  impl_->loop.SetErrorHandler([&app](const std::exception& error) { app.HandleException(error); });
  MainWindow mainWindow(app, mainForm, std::move(onCloseRequest));
  AboutWindow aboutWindow(app, about, mainWindow.Handle());
  ApnWindow apnWindow(app, apn, mainWindow.Handle());
  if (!app.IconPath.empty()) {
    // logo.ico beside the program; the built-in icon stays when it cannot be read.
    const std::wstring path = platform::NativePath(app.IconPath).wstring();
    for (const auto& [which, side] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
      const int pixels = GetSystemMetrics(side);
      if (HANDLE icon = LoadImageW(nullptr, path.c_str(), IMAGE_ICON, pixels, pixels, LR_LOADFROMFILE))
        SendMessageW(mainWindow.Handle(), WM_SETICON, static_cast<WPARAM>(which),
                     reinterpret_cast<LPARAM>(icon));
    }
  }
  WinDialogHost& host = impl_->host;
  host.RegisterView(about, aboutWindow);
  host.RegisterView(apn, apnWindow);
  host.SetMainWindow(mainWindow.Handle());
  impl_->main = &mainWindow;
  closableWindow = mainWindow.Handle();
  SetConsoleCtrlHandler(&CloseOnConsoleEvent, TRUE);

  mainForm.SetVisible(true);
  WinBinder::RefreshAll();  // the windows were drawn before; whatever the start-up changed since shows now
  mainWindow.Show();
  impl_->loop.RunUntil([&mainForm] { return !mainForm.Visible(); });

  SetConsoleCtrlHandler(&CloseOnConsoleEvent, FALSE);
  closableWindow = nullptr;
  impl_->main = nullptr;
  host.SetMainWindow(nullptr);
  host.UnregisterView(about);
  host.UnregisterView(apn);
  impl_->loop.SetErrorHandler({});
  return 0;
}

}  // namespace winview
