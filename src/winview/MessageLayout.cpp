#include "winview/MessageLayout.h"

#include <algorithm>

namespace winview {
namespace {
constexpr int kMargin = 12;
constexpr int kGap = 8;  // between the icon and the text, and between the buttons
}  // namespace

MessageLayout LayOutMessage(const MessageSize& size, int maxClientWidth, int maxClientHeight) {
  MessageLayout layout;
  const int textX = kMargin + (size.iconSide > 0 ? size.iconSide + kMargin : 0);
  const int buttonsWidth = size.buttonCount * size.buttonWidth + (size.buttonCount - 1) * kGap;
  // The room the text may take beside the icon and above the buttons.
  const int roomWidth = std::max(0, maxClientWidth - textX - kMargin);
  const int roomHeight = std::max(0, maxClientHeight - 3 * kMargin - size.buttonHeight);

  int textWidth = size.textWidth;
  int textHeight = size.textHeight;
  // A scroll bar in one direction takes room from the other, which may then need its own.
  for (int pass = 0; pass < 2; ++pass) {
    const int width = textWidth + (layout.verticalScroll ? size.scrollBar : 0);
    const int height = textHeight + (layout.horizontalScroll ? size.scrollBar : 0);
    layout.horizontalScroll = layout.horizontalScroll || width > roomWidth;
    layout.verticalScroll = layout.verticalScroll || height > roomHeight;
  }
  const int shownWidth = std::min(roomWidth, textWidth + (layout.verticalScroll ? size.scrollBar : 0));
  const int shownHeight = std::min(roomHeight, textHeight + (layout.horizontalScroll ? size.scrollBar : 0));
  layout.text = MessageRect{textX, kMargin, shownWidth, shownHeight};

  layout.clientWidth = std::max(textX + shownWidth + kMargin, buttonsWidth + 2 * kMargin);
  const int top = kMargin + std::max(shownHeight, size.iconSide);
  layout.clientHeight = top + kMargin + size.buttonHeight + kMargin;
  int x = (layout.clientWidth - buttonsWidth) / 2;
  for (int i = 0; i < size.buttonCount; ++i) {
    layout.buttons.push_back(MessageRect{x, top + kMargin, size.buttonWidth, size.buttonHeight});
    x += size.buttonWidth + kGap;
  }
  return layout;
}

}  // namespace winview
