#include "winview/WinBinder.h"

#include <algorithm>
#include <string>

#include "winview/Fonts.h"
#include "winview/Pictures.h"
#include "winview/Win32.h"
#include "winview/WinText.h"

namespace winview {

namespace {

enum Kind { kLabel, kLink, kGroup, kButton, kCombo, kEdit, kCheck, kMemo };

std::vector<WinBinder*>& LiveBinders() {
  static std::vector<WinBinder*> binders;
  return binders;
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetText(HWND hwnd, const std::wstring& text) {
  if (WindowText(hwnd) != text) SetWindowTextW(hwnd, text.c_str());
}

LPARAM Text(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

bool ItemsDiffer(HWND combo, const std::vector<std::string>& items) {
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  if (count != static_cast<LRESULT>(items.size())) return true;
  for (size_t i = 0; i < items.size(); ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring item(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    if (item != ToWide(items[i])) return true;
  }
  return false;
}

// The list drops down as wide as its longest item while the box itself stays narrow.
void FitDroppedWidth(HWND combo, const std::vector<std::string>& items) {
  HDC dc = GetDC(combo);
  HGDIOBJ before = SelectObject(dc, UiFont());
  LONG widest = 0;
  for (const std::string& item : items) {
    const std::wstring text = ToWide(item);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(dc, before);
  ReleaseDC(combo, dc);
  SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + 24), 0);
}

// A caption from the language file may have two lines where the window has room for one: the label grows
// about the middle of its row to show them all, and shrinks back for a one-line caption.
void FitLines(HWND label, Box designed, int lines) {
  HDC dc = GetDC(label);
  HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, before);
  ReleaseDC(label, dc);
  const int height = std::max(designed.height, lines * static_cast<int>(metrics.tmHeight) + 2);
  // One line stands in the middle of its row; several lines need the plain style, which wraps and stacks.
  auto style = GetWindowLongPtrW(label, GWL_STYLE);
  style = lines > 1 ? (style & ~LONG_PTR{SS_CENTERIMAGE}) : (style | SS_CENTERIMAGE);
  SetWindowLongPtrW(label, GWL_STYLE, style);
  SetWindowPos(label, nullptr, designed.x, designed.y - (height - designed.height) / 2, designed.width,
               height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(label, nullptr, TRUE);
}

}  // namespace

WinBinder::WinBinder(ui::Application& app) : app_(app) { LiveBinders().push_back(this); }

WinBinder::~WinBinder() { std::erase(LiveBinders(), this); }

void WinBinder::RefreshAll() {
  // A copy: a binder list that changed under the loop would be a crash.
  const std::vector<WinBinder*> binders = LiveBinders();
  for (WinBinder* binder : binders) binder->Refresh();
}

void WinBinder::Refresh(bool force) {
  const uint64_t revision = ui::ModelRevision();
  if (!force && everDrawn_ && revision == drawn_) return;
  drawn_ = revision;
  everDrawn_ = true;
  drawing_ = true;
  for (const auto& refresh : refreshers_) refresh();
  drawing_ = false;
}

void WinBinder::UserAction(const std::function<void()>& action) {
  app_.Dispatch(action);
  RefreshAll();
}

int WinBinder::Route(std::function<void(int code)> handler) {
  const int id = nextId_++;
  routes_[id] = std::move(handler);
  return id;
}

bool WinBinder::Command(WPARAM wParam) {
  const auto found = routes_.find(LOWORD(wParam));
  if (found == routes_.end()) return false;
  // What the binder's own drawing makes a control report is not the user's doing.
  if (!drawing_) {
    const auto handler = found->second;  // the handler may rebuild the routes
    handler(HIWORD(wParam));
  }
  return true;
}

HWND WinBinder::Create(HWND parent, const wchar_t* windowClass, DWORD style, Box box, int id, DWORD exStyle) {
  HWND hwnd =
      CreateWindowExW(exStyle, windowClass, L"", style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, box.x,
                      box.y, box.width, box.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  return hwnd;
}

WinBinder::Bound& WinBinder::Bind(HWND hwnd, ui::Control& model, int kind) {
  auto& bound = bound_[hwnd] = std::make_unique<Bound>(Bound{*this, hwnd, model, kind});
  Common(*bound);
  return *bound;
}

void WinBinder::Common(Bound& bound) {
  HWND hwnd = bound.hwnd;
  ui::Control& model = bound.model;
  refreshers_.push_back([hwnd, &model, focused = model.FocusRequests(), marked = model.Marked()]() mutable {
    if ((IsWindowEnabled(hwnd) != FALSE) != model.Enabled()) {
      // The focus moves on from a control that goes grey, or the keyboard would reach no control at all.
      HWND next = GetFocus() == hwnd ? GetNextDlgTabItem(GetParent(hwnd), hwnd, FALSE) : nullptr;
      EnableWindow(hwnd, model.Enabled() ? TRUE : FALSE);
      if (next != nullptr && next != hwnd) SetFocus(next);
    }
    const bool shown = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != model.Visible()) ShowWindow(hwnd, model.Visible() ? SW_SHOWNA : SW_HIDE);
    if (model.Marked() != marked) {
      marked = model.Marked();
      InvalidateRect(hwnd, nullptr, TRUE);
    }
    if (model.FocusRequests() != focused) {
      focused = model.FocusRequests();
      SetFocus(hwnd);
    }
  });
}

HWND WinBinder::Label(HWND parent, ui::TLabel& model, Box box, DWORD style) {
  const int id = Route([this, &model](int code) {
    if (code == STN_CLICKED) UserAction([&model] { model.UserClick(); });
  });
  HWND hwnd = Create(parent, L"STATIC", style | SS_NOTIFY | SS_NOPREFIX, box, id);
  Bind(hwnd, model, kLabel);
  Also([hwnd, &model, box, centred = (style & SS_CENTERIMAGE) != 0, drawnLines = 1]() mutable {
    const std::wstring caption = ToWideLines(model.Caption());
    SetText(hwnd, caption);
    const int lines = 1 + static_cast<int>(std::count(caption.begin(), caption.end(), L'\n'));
    if (centred && lines != drawnLines) FitLines(hwnd, box, lines);
    drawnLines = lines;
  });
  return hwnd;
}

HWND WinBinder::LinkLabel(HWND parent, ui::TLabel& model, Box box, DWORD style) {
  HWND hwnd = Label(parent, model, box, style);
  bound_[hwnd]->kind = kLink;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(LinkFont()), FALSE);
  return hwnd;
}

HWND WinBinder::Group(HWND parent, ui::TGroupBox& model, Box box) {
  const int id = Route([](int) {});
  HWND hwnd = Create(parent, L"BUTTON", BS_GROUPBOX, box, id);
  Bind(hwnd, model, kGroup);
  Also([hwnd, &model] { SetText(hwnd, ToWide(model.Caption())); });
  return hwnd;
}

HWND WinBinder::Button(HWND parent, ui::TButton& model, Box box, PictureSide side) {
  const int id = Route([this, &model](int code) {
    if (code == BN_CLICKED) UserAction([&model] { model.UserClick(); });
  });
  HWND hwnd = Create(parent, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, box, id);
  Bind(hwnd, model, kButton);
  const UINT align = side == PictureSide::Top ? BUTTON_IMAGELIST_ALIGN_TOP : BUTTON_IMAGELIST_ALIGN_LEFT;
  Also([hwnd, &model, align, drawn = std::string("\x01")]() mutable {
    SetText(hwnd, ToWide(model.Caption()));
    if (model.Picture() == drawn) return;
    drawn = model.Picture();
    BUTTON_IMAGELIST pictures{PictureList(drawn), {2, 2, 2, 2}, align};
    SendMessageW(hwnd, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&pictures));
  });
  return hwnd;
}

HWND WinBinder::Combo(HWND parent, ui::TComboBox& model, Box box) {
  const int id = nextId_++;
  // The height of a drop-down list's box includes its dropped list.
  HWND hwnd = Create(parent, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                     Box{box.x, box.y, box.width, box.height + 240}, id);
  routes_[id] = [this, hwnd, &model](int code) {
    if (code == CBN_DROPDOWN) UserAction([&model] { model.DropDown(); });
    if (code != CBN_SELCHANGE) return;
    const int index = static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
    UserAction([&model, index] { model.UserSelect(index); });
  };
  Bind(hwnd, model, kCombo);
  SetWindowSubclass(hwnd, &WinBinder::ComboProc, 1, 0);
  Also([hwnd, &model] {
    if (ItemsDiffer(hwnd, model.Items())) {
      SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
      for (const std::string& item : model.Items()) SendMessageW(hwnd, CB_ADDSTRING, 0, Text(ToWide(item)));
      FitDroppedWidth(hwnd, model.Items());
    }
    if (SendMessageW(hwnd, CB_GETCURSEL, 0, 0) != model.ItemIndex())
      SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(model.ItemIndex()), 0);
  });
  return hwnd;
}

HWND WinBinder::Edit(HWND parent, ui::TEdit& model, Box box) {
  const int id = nextId_++;
  HWND hwnd = Create(parent, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, box, id, WS_EX_CLIENTEDGE);
  routes_[id] = [this, hwnd, &model](int code) {
    if (code != EN_CHANGE) return;
    const std::string text = FromWide(WindowText(hwnd));
    UserAction([&model, text] { model.UserSetText(text); });
  };
  Bound& bound = Bind(hwnd, model, kEdit);
  SetWindowSubclass(hwnd, &WinBinder::EditProc, 1, reinterpret_cast<DWORD_PTR>(&bound));
  Also([hwnd, &model, color = model.Color()]() mutable {
    SetText(hwnd, ToWide(model.Text()));
    if (model.Color() != color) {
      color = model.Color();
      InvalidateRect(hwnd, nullptr, TRUE);
    }
  });
  return hwnd;
}

HWND WinBinder::Check(HWND parent, ui::TCheckBox& model, Box box) {
  const int id = Route([this, &model](int code) {
    if (code == BN_CLICKED) UserAction([&model] { model.UserToggle(); });
  });
  // Not an automatic box: the model flips the state, and its handler may refuse the change.
  HWND hwnd = Create(parent, L"BUTTON", BS_CHECKBOX | WS_TABSTOP, box, id);
  Bind(hwnd, model, kCheck);
  Also([hwnd, &model] {
    SetText(hwnd, ToWide(model.Caption()));
    const WPARAM state = model.Checked() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(hwnd, BM_GETCHECK, 0, 0)) != state)
      SendMessageW(hwnd, BM_SETCHECK, state, 0);
  });
  return hwnd;
}

HWND WinBinder::Memo(HWND parent, ui::TMemo& model, Box box) {
  const int id = Route([](int) {});
  HWND hwnd = Create(parent, L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                     box, id, WS_EX_CLIENTEDGE);
  // The log has no length limit.
  SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
  Bound& bound = Bind(hwnd, model, kMemo);
  SetWindowSubclass(hwnd, &WinBinder::MemoProc, 1, reinterpret_cast<DWORD_PTR>(&bound));
  // The program only appends and clears, so new lines are appended and a clear redraws the whole text;
  // what was drawn is counted in the model's lines and clears.
  Also([hwnd, &model, lines = size_t{0}, clears = model.ClearCount() + 1]() mutable {
    const auto& all = model.Lines();
    if (clears != model.ClearCount() || all.size() < lines) {
      std::string text;
      for (size_t i = 0; i < all.size(); ++i) text += (i == 0 ? "" : "\r\n") + all[i];
      SetWindowTextW(hwnd, ToWide(text).c_str());
    } else if (all.size() > lines) {
      std::string text;
      for (size_t i = lines; i < all.size(); ++i) text += (i == 0 ? "" : "\r\n") + all[i];
      const int end = GetWindowTextLengthW(hwnd);
      SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
      SendMessageW(hwnd, EM_REPLACESEL, FALSE, Text(ToWide(text)));
    }
    if (clears != model.ClearCount() || all.size() != lines) {
      const int end = GetWindowTextLengthW(hwnd);
      SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
      SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
    }
    lines = all.size();
    clears = model.ClearCount();
  });
  return hwnd;
}

HBRUSH WinBinder::Colors(HWND control, HDC dc) {
  const auto found = bound_.find(control);
  if (found == bound_.end()) return nullptr;
  const Bound& bound = *found->second;
  int background = COLOR_BTNFACE;
  if (bound.kind == kEdit) {
    background = static_cast<const ui::TEdit&>(bound.model).Color() == ui::TColor::clBtnFace ? COLOR_BTNFACE
                                                                                             : COLOR_WINDOW;
  } else if (bound.kind == kMemo || bound.kind == kCombo) {
    background = COLOR_WINDOW;
  }
  COLORREF text = GetSysColor(IsWindowEnabled(control) != FALSE ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  if (bound.kind == kLink) text = RGB(0, 0, 255);
  // A field the DTU did not keep shows its text in red until the user changes it.
  if (bound.model.Marked()) text = RGB(255, 0, 0);
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(background));
  return GetSysColorBrush(background);
}

bool WinBinder::SetCursorOver(HWND control) {
  const auto found = bound_.find(control);
  if (found == bound_.end() || found->second->kind != kLink) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

}  // namespace winview
