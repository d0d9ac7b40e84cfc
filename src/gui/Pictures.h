#pragma once
// The program's own small pictures, drawn rather than loaded, so the program needs no image files: the port
// button's open and closed states, the three action buttons, the window icon and the About picture used
// when the dialog has none.

#include <QIcon>
#include <QPixmap>
#include <string>

namespace gui {

// "open", "close", "default", "read", "write"; any other name gives an empty icon.
QIcon PictureIcon(const std::string& name);
QIcon ProgramIcon();
QPixmap AboutPlaceholder(int width, int height);

}  // namespace gui
