#pragma once
// Where the parts of a message box go. Its lines wrap only between words (the window wraps a line wider than
// four fifths of the screen before the layout sees it), so the help texts' SMS commands, which hold no blank,
// are never broken: a text still wider or taller than the screen gets scroll bars instead, and the box stays
// on the screen with its buttons in reach.

#include <vector>

namespace winview {

struct MessageSize {
  int textWidth = 0;  // the text's own extent, every line whole
  int textHeight = 0;
  int iconSide = 0;  // 0: no icon
  int buttonWidth = 0;
  int buttonHeight = 0;
  int buttonCount = 1;
  int scrollBar = 0;  // the width of a scroll bar
};

struct MessageRect {
  int x = 0, y = 0, width = 0, height = 0;
};

struct MessageLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  MessageRect text;
  bool horizontalScroll = false;
  bool verticalScroll = false;
  std::vector<MessageRect> buttons;  // left to right, centred under the text
};

// Lays the box out no larger than maxClientWidth x maxClientHeight (the screen's work area less the frame).
MessageLayout LayOutMessage(const MessageSize& size, int maxClientWidth, int maxClientHeight);

}  // namespace winview
