#pragma once
// The main window's menu bar drawn from the model's menu items: a submenu for each item with items of its
// own, a command on the bar for an item without (the language switch), separators for "-". Captions,
// enabled states and check marks follow the model; a chosen item is the item's click.

#include <string>
#include <vector>

#include "winview/Win32.h"
#include "winview/WinBinder.h"

namespace winview {

class MenuBar {
 public:
  MenuBar(WinBinder& binder, HWND window, ui::TMenuItem& bar);
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

 private:
  struct Entry {
    ui::TMenuItem* model;
    HMENU menu;  // the menu that holds the entry
    UINT position;
    std::wstring caption;
    UINT state;
  };
  void Redraw();

  HWND window_;
  std::vector<Entry> entries_;
};

}  // namespace winview
