#include "winview/MenuBar.h"

#include "winview/WinText.h"

namespace winview {
namespace {

UINT StateOf(const ui::TMenuItem& item) {
  return (item.Enabled() ? MFS_ENABLED : MFS_GRAYED) | (item.Checked() ? MFS_CHECKED : MFS_UNCHECKED);
}

}  // namespace

MenuBar::MenuBar(WinBinder& binder, HWND window, ui::TMenuItem& bar) : window_(window) {
  HMENU menu = CreateMenu();
  UINT topPosition = 0;
  for (ui::TMenuItem* top : bar.Items) {
    auto click = [&binder](ui::TMenuItem& item) {
      return binder.Route([&binder, &item](int) { binder.UserAction([&item] { item.UserClick(); }); });
    };
    if (top->Items.empty()) {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(click(*top)), L"");
    } else {
      HMENU popup = CreatePopupMenu();
      UINT position = 0;
      for (ui::TMenuItem* item : top->Items) {
        if (item->IsSeparator()) {
          AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else {
          AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(click(*item)), L"");
          entries_.push_back(Entry{item, popup, position, L"\x01", 0});
        }
        ++position;
      }
      AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"");
    }
    entries_.push_back(Entry{top, menu, topPosition++, L"\x01", 0});
  }
  SetMenu(window, menu);
  binder.Also([this] { Redraw(); });
}

void MenuBar::Redraw() {
  bool barChanged = false;
  for (Entry& entry : entries_) {
    const std::wstring caption = ToWide(entry.model->Caption());
    const UINT state = StateOf(*entry.model);
    if (caption == entry.caption && state == entry.state) continue;
    entry.caption = caption;
    entry.state = state;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = entry.caption.data();
    info.fState = state;
    SetMenuItemInfoW(entry.menu, entry.position, TRUE, &info);
    barChanged = barChanged || entry.menu == GetMenu(window_);
  }
  if (barChanged) DrawMenuBar(window_);
}

}  // namespace winview
