#pragma once
// The windows are laid out at fixed pixel positions, as designed; this makes a child widget at its place.

#include <QWidget>

namespace gui {

template <typename W>
W* Place(QWidget* parent, int x, int y, int w, int h) {
  auto* widget = new W(parent);
  widget->setGeometry(x, y, w, h);
  return widget;
}

}  // namespace gui
