#pragma once
// The program's own small pictures, drawn rather than loaded, as the Qt window draws them: the port
// button's open and closed lamps and the three action buttons' pictures. And the About picture, decoded
// from its JPEG bytes.

#include <string>

#include "winview/Win32.h"

namespace winview {

// A 20 x 20 image list holding the named picture ("open", "close", "default", "read", "write"); nullptr for
// any other name. Each is drawn once and lives as long as the program.
HIMAGELIST PictureList(const std::string& name);

// The JPEG bytes as a bitmap no larger than maxWidth x maxHeight, scaled down with its proportions kept;
// nullptr when they are no readable picture. The caller owns it.
HBITMAP JpegBitmap(const std::string& jpeg, int maxWidth, int maxHeight);

}  // namespace winview
