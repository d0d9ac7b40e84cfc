#include "gui/ApnView.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "gui/ModelWidgets.h"

namespace gui {

ApnView::ApnView(ui::Application& app, ui::TApnFormDesign& form, QWidget* owner)
    : DialogView(app, form, 270, 220, owner) {
  // The button has no place in the model's tab positions; the dialog puts it third.
  constexpr int kButtonTabOrder = 3;
  std::vector<std::pair<int, QWidget*>> tabs;
  int y = 24;
  for (ui::TLabeledEdit* model : {&form.lbledt_APN, &form.lbledt_account, &form.lbledt_password}) {
    auto* label = new QLabel(this);
    label->setGeometry(16, y, 70, 24);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    binder_.Label(label, model->EditLabel);
    auto* edit = new ModelLineEdit(this);
    edit->setGeometry(92, y, 160, 24);
    label->setBuddy(edit);
    binder_.Edit(edit, *model);
    tabs.emplace_back(model->TabOrder, edit);
    y += 44;
  }
  auto* button = new QPushButton(this);
  button->setGeometry(95, 164, 80, 30);
  binder_.Button(button, form.btn_APN);
  SetDefaultButton(button);
  tabs.emplace_back(kButtonTabOrder, button);

  std::stable_sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 1; i < tabs.size(); ++i) setTabOrder(tabs[i - 1].second, tabs[i].second);
  binder_.Refresh(true);
}

}  // namespace gui
