#include "winview/ApnWindow.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace winview {

ApnWindow::ApnWindow(ui::Application& app, ui::TApnFormDesign& form, HWND owner)
    : DialogWindow(app, form, 270, 220, owner) {
  // The button has no place in the model's tab positions; the dialog puts it third.
  constexpr int kButtonTabOrder = 3;
  HWND w = Handle();
  std::vector<std::pair<int, HWND>> tabs;
  int y = 24;
  for (ui::TLabeledEdit* model : {&form.lbledt_APN, &form.lbledt_account, &form.lbledt_password}) {
    binder_.Label(w, model->EditLabel, Box{16, y, 70, 24}, SS_RIGHT | SS_CENTERIMAGE);
    tabs.emplace_back(model->TabOrder, binder_.Edit(w, *model, Box{92, y, 160, 24}));
    y += 44;
  }
  HWND button = binder_.Button(w, form.btn_APN, Box{95, 164, 80, 30});
  SetDefaultButton(button);
  tabs.emplace_back(kButtonTabOrder, button);

  std::stable_sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<HWND> order;
  for (const auto& tab : tabs) order.push_back(tab.second);
  SetTabOrder(order);
  binder_.Refresh(true);
}

}  // namespace winview
