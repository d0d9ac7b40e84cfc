#pragma once
// Where the parts of a message box go. Its lines are never broken: the help texts are SMS commands to be
// typed as shown, one per line, and a break inside one misleads. So a text wider or taller than the screen
// keeps its lines and gets scroll bars instead, and the box stays on the screen with its buttons in reach.

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
