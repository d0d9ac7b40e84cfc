#include <gtest/gtest.h>

#include "ui/Controls.h"

namespace {

using namespace ui;

TEST(ComboBox, SelectingFromCodeRaisesNoChangeButTheUsersChoiceDoes) {
  TComboBox list("cbb");
  list.SetItems({"NONE", "ODD", "EVEN"});
  int changes = 0;
  list.OnChange = [&](Control&) { ++changes; };
  list.SetItemIndex(2);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(list.Text(), "EVEN");
  list.UserSelect(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(list.ItemIndex(), 1);
}

TEST(ComboBox, AnIndexOutsideTheListSelectsNothingAndGivesEmptyText) {
  TComboBox list("cbb");
  list.SetItems({"7", "8"});
  list.SetItemIndex(1);
  list.SetItemIndex(5);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Text(), "");
  list.SetItemIndex(-3);
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(ComboBox, ReplacingAnItemsTextKeepsTheSelection) {
  TComboBox list("cbb");
  list.SetItems({"a", "b", "c"});
  list.SetItemIndex(2);
  list.SetItemText(2, "Other");
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(list.Text(), "Other");
}

TEST(CheckBox, TheClickArrivesAfterTheStateChanged) {
  TCheckBox box("chk");
  bool seen = false;
  box.OnClick = [&](Control& sender) { seen = static_cast<TCheckBox&>(sender).Checked(); };
  box.UserToggle();
  EXPECT_TRUE(seen);
  box.UserToggle();
  EXPECT_FALSE(seen);
  box.SetChecked(true);  // from code: no click
  EXPECT_FALSE(seen);
}

TEST(Edit, AKeyPressHandlerCanCancelTheKey) {
  TEdit edit("edt");
  edit.SetText("12");
  edit.OnKeyPress = [](Control&, char& key) {
    if (key == 'x') key = 0;
  };
  EXPECT_FALSE(edit.UserTypeChar('x'));
  EXPECT_EQ(edit.Text(), "12");
  EXPECT_TRUE(edit.UserTypeChar('3'));
  EXPECT_TRUE(edit.UserTypeChar('\b'));
  EXPECT_TRUE(edit.UserTypeChar('\b'));
  EXPECT_EQ(edit.Text(), "1");
}

TEST(Control, ADisabledControlIgnoresTheUsersClickButNotACodeClick) {
  TButton button("btn");
  int clicks = 0;
  button.OnClick = [&](Control&) { ++clicks; };
  button.SetEnabled(false);
  button.UserClick();
  EXPECT_EQ(clicks, 0);
  button.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(Control, TheUsersChangeTakesTheMarkAwayAChangeFromCodeDoesNot) {
  TEdit edit("edt");
  TComboBox list("cbb");
  list.SetItems({"a", "b"});
  TCheckBox box("chk");
  const std::vector<std::pair<Control*, std::function<void()>>> changes = {
      {&edit, [&] { edit.SetText("1"); }},    {&edit, [&] { edit.UserTypeChar('2'); }},
      {&list, [&] { list.SetItemIndex(1); }}, {&list, [&] { list.UserSelect(0); }},
      {&box, [&] { box.SetChecked(true); }},  {&box, [&] { box.UserToggle(); }}};
  for (size_t i = 0; i < changes.size(); ++i) {
    changes[i].first->SetMarked(true);
    changes[i].second();
    EXPECT_EQ(changes[i].first->Marked(), i % 2 == 0) << changes[i].first->Name << " change " << i;
  }
}

TEST(Memo, EachLineBreakStartsANewLineAndClearEmptiesTheLog) {
  TMemo memo("mmo");
  memo.Add("  [Receive]:\r\n+CIPR:115200\r\n\r\nOK\r\n");
  memo.Add("  one\ntwo\rthree");
  EXPECT_EQ(memo.Lines(),
            (std::vector<std::string>{"  [Receive]:", "+CIPR:115200", "", "OK", "  one", "two", "three"}));
  memo.Clear();
  memo.Add("  first");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"  first"}));
}

TEST(Model, EveryVisibleChangeMovesTheRevisionAndAnEqualValueDoesNot) {
  TEdit edit("edt");
  const auto before = ModelRevision();
  edit.SetText("a");
  const auto afterChange = ModelRevision();
  EXPECT_GT(afterChange, before);
  edit.SetText("a");
  EXPECT_EQ(ModelRevision(), afterChange);
  edit.SetMarked(true);
  EXPECT_GT(ModelRevision(), afterChange);
}

}  // namespace
