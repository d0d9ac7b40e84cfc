#pragma once
// Mirrors one window model in the native controls of one window, both ways. Model to controls: Refresh()
// redraws every bound control when the model revision has moved since the last drawing. Controls to model:
// each user action calls the control's User* operation through the application's Dispatch, so an error that
// escapes a handler reaches the general error report, and then every window redraws.
// The binder keeps no copy of what a control holds; it only remembers what it last drew where redrawing
// would disturb the user (the log's lines). The window's procedure hands it the messages its controls send:
// commands, colours, the cursor.

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/Application.h"
#include "ui/Controls.h"
#include "winview/Win32.h"

namespace winview {

// A control's place in its window's client area, in pixels.
struct Box {
  int x, y, width, height;
};

enum class PictureSide { Left, Top };

class WinBinder {
 public:
  explicit WinBinder(ui::Application& app);
  ~WinBinder();
  WinBinder(const WinBinder&) = delete;
  WinBinder& operator=(const WinBinder&) = delete;

  ui::Application& App() { return app_; }

  // Each makes the native control at its place in parent (in the order of the window's keyboard focus) and
  // binds it to the model.
  HWND Label(HWND parent, ui::TLabel& model, Box box, DWORD style = SS_LEFT | SS_CENTERIMAGE);
  // Blue, underlined, hand cursor; a click is the label's click.
  HWND LinkLabel(HWND parent, ui::TLabel& model, Box box, DWORD style = SS_LEFT | SS_CENTERIMAGE);
  HWND Group(HWND parent, ui::TGroupBox& model, Box box);
  HWND Button(HWND parent, ui::TButton& model, Box box, PictureSide side = PictureSide::Left);
  HWND Combo(HWND parent, ui::TComboBox& model, Box box);
  HWND Edit(HWND parent, ui::TEdit& model, Box box);
  HWND Check(HWND parent, ui::TCheckBox& model, Box box);
  // The information log: read-only for the user, who may select and copy it.
  HWND Memo(HWND parent, ui::TMemo& model, Box box);
  // Any other redrawing a window needs (captions, menus, pictures).
  void Also(std::function<void()> refresh) { refreshers_.push_back(std::move(refresh)); }
  // A command identifier for a menu item or a control made elsewhere; the handler gets the notification code.
  int Route(std::function<void(int code)> handler);

  // From the window's procedure. Each returns whether the message was one of the binder's.
  bool Command(WPARAM wParam);
  // WM_CTLCOLOR*: the brush for the control's background, or nullptr when it keeps the system's.
  HBRUSH Colors(HWND control, HDC dc);
  // WM_SETCURSOR: links get the hand.
  bool SetCursorOver(HWND control);

  // Runs a user action on the model, then lets every window catch up.
  void UserAction(const std::function<void()>& action);
  // Redraws when the models changed since the last drawing (or always, when forced).
  void Refresh(bool force = false);
  // Every live binder.
  static void RefreshAll();

  // A native control and the model it draws; kind tells the binder how to colour it.
  struct Bound {
    WinBinder& binder;
    HWND hwnd;
    ui::Control& model;
    int kind;
  };

 private:
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);
  static LRESULT CALLBACK ComboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data);
  static LRESULT CALLBACK MemoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);
  // A character typed into an edit: the model's key filter sees each of its GBK bytes first. Returns
  // whether the edit may take the key as typed.
  bool TypeChar(Bound& bound, HWND edit, wchar_t typed);
  Bound& Bind(HWND hwnd, ui::Control& model, int kind);
  HWND Create(HWND parent, const wchar_t* windowClass, DWORD style, Box box, int id, DWORD exStyle = 0);
  void Common(Bound& bound);

  ui::Application& app_;
  std::vector<std::function<void()>> refreshers_;
  std::map<int, std::function<void(int code)>> routes_;
  std::map<HWND, std::unique_ptr<Bound>> bound_;
  int nextId_ = 100;  // clear of IDOK and IDCANCEL, which the keyboard navigation sends
  uint64_t drawn_ = 0;
  bool everDrawn_ = false;
  // While the binder draws, the notifications the controls send about it are not the user's.
  bool drawing_ = false;
};

}  // namespace winview
