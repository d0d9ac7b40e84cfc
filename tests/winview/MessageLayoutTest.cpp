#include <gtest/gtest.h>

#include <ostream>

#include "winview/MessageLayout.h"

namespace {

using winview::LayOutMessage;
using winview::MessageLayout;
using winview::MessageSize;

constexpr int kScreenWidth = 1000;
constexpr int kScreenHeight = 700;

struct Case {
  const char* what;
  MessageSize size;
  bool horizontalScroll;
  bool verticalScroll;
};

// Icon 32, buttons 88 x 26, scroll bars 17; the screen's room is 1000 x 700.
MessageSize Text(int width, int height, int buttons = 1) {
  return MessageSize{width, height, 32, 88, 26, buttons, 17};
}

const Case kCases[] = {
    {"a short help text", Text(300, 60), false, false},
    {"an SMS command longer than the screen is wide", Text(2400, 60), true, false},
    {"more lines than the screen has room for", Text(400, 3000), false, true},
    {"both", Text(2400, 3000), true, true},
    // The vertical scroll bar takes the width the text just had.
    {"a text that fits the width until it needs a vertical bar",
     Text(kScreenWidth - 12 - 32 - 12 - 12 - 5, 3000), true, true},
    {"a question whose buttons are wider than its text", Text(40, 20, 2), false, false},
};

// The row's name is what a failing test shows.
void PrintTo(const Case& c, std::ostream* out) { *out << c.what; }

class MessageLayoutTest : public testing::TestWithParam<Case> {};

TEST_P(MessageLayoutTest, KeepsEveryLineWholeAndTheButtonsOnTheScreen) {
  const Case& c = GetParam();
  const MessageLayout layout = LayOutMessage(c.size, kScreenWidth, kScreenHeight);
  EXPECT_EQ(layout.horizontalScroll, c.horizontalScroll);
  EXPECT_EQ(layout.verticalScroll, c.verticalScroll);
  EXPECT_LE(layout.clientWidth, kScreenWidth);
  EXPECT_LE(layout.clientHeight, kScreenHeight);
  // Without a bar the whole text shows, so no line is cut or broken.
  if (!layout.horizontalScroll) {
    EXPECT_GE(layout.text.width, c.size.textWidth + (layout.verticalScroll ? 17 : 0));
  }
  if (!layout.verticalScroll) {
    EXPECT_GE(layout.text.height, c.size.textHeight);
  }
  ASSERT_EQ(layout.buttons.size(), static_cast<size_t>(c.size.buttonCount));
  int left = 0;
  for (const auto& button : layout.buttons) {
    EXPECT_GE(button.x, left) << "buttons overlap or leave the box";
    EXPECT_LE(button.x + button.width, layout.clientWidth);
    EXPECT_LE(button.y + button.height, layout.clientHeight);
    EXPECT_GE(button.y, layout.text.y + layout.text.height) << "a button covers the text";
    left = button.x + button.width;
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, MessageLayoutTest, testing::ValuesIn(kCases));

}  // namespace
