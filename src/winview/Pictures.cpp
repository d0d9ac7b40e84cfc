#include "winview/Pictures.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/JpegImage.h"

namespace winview {
namespace {

constexpr int kSize = 20;
// Drawn where the picture is empty; turned transparent afterwards, as GDI draws no alpha.
constexpr COLORREF kKey = RGB(255, 0, 255);

// A top-down 32-bit bitmap whose pixels the caller may reach.
HBITMAP CreateCanvas(HDC dc, int width, int height, uint32_t** pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  *pixels = static_cast<uint32_t*>(bits);
  return bitmap;
}

void Lamp(HDC dc, COLORREF fill, COLORREF rim) {
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, rim);
  SelectObject(dc, brush);
  SelectObject(dc, pen);
  Ellipse(dc, 3, 3, 17, 17);
  // The highlight that makes it a lamp.
  HBRUSH light = CreateSolidBrush(RGB(255, 255, 255));
  SelectObject(dc, light);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, 6, 6, 9, 9);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  DeleteObject(light);
  DeleteObject(brush);
  DeleteObject(pen);
}

void Arrow(HDC dc, COLORREF color, int x, int fromY, int toY) {
  HPEN pen = CreatePen(PS_SOLID, 2, color);
  HBRUSH brush = CreateSolidBrush(color);
  SelectObject(dc, pen);
  SelectObject(dc, brush);
  MoveToEx(dc, x, fromY, nullptr);
  LineTo(dc, x, toY);
  const int tip = toY > fromY ? toY + 2 : toY - 2;
  const int back = toY > fromY ? toY - 3 : toY + 3;
  const POINT head[] = {{x, tip}, {x - 4, back}, {x + 4, back}};
  Polygon(dc, head, 3);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  DeleteObject(brush);
  DeleteObject(pen);
}

// An arrow into (read) or out of (write) a tray.
void TrayArrow(HDC dc, bool into) {
  const COLORREF color = into ? RGB(30, 100, 200) : RGB(200, 110, 20);
  HPEN pen = CreatePen(PS_SOLID, 2, color);
  SelectObject(dc, pen);
  const POINT tray[] = {{3, 12}, {3, 17}, {17, 17}, {17, 12}};
  Polyline(dc, tray, 4);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
  if (into) {
    Arrow(dc, color, 10, 2, 10);
  } else {
    Arrow(dc, color, 10, 13, 5);
  }
}

// A circular arrow: back to the defaults.
void Reset(HDC dc) {
  const COLORREF color = RGB(40, 140, 60);
  HPEN pen = CreatePen(PS_SOLID, 2, color);
  HBRUSH brush = CreateSolidBrush(color);
  SelectObject(dc, pen);
  Arc(dc, 3, 3, 17, 17, 8, 3, 12, 3);
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, brush);
  const POINT head[] = {{8, 0}, {14, 3}, {8, 7}};
  Polygon(dc, head, 3);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(brush);
  DeleteObject(pen);
}

bool Draw(HDC dc, const std::string& name) {
  if (name == "open") {
    Lamp(dc, RGB(40, 180, 60), RGB(20, 100, 30));
  } else if (name == "close") {
    Lamp(dc, RGB(210, 50, 40), RGB(120, 30, 20));
  } else if (name == "default") {
    Reset(dc);
  } else if (name == "read" || name == "write") {
    TrayArrow(dc, name == "read");
  } else {
    return false;
  }
  return true;
}

HIMAGELIST DrawList(const std::string& name) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  uint32_t* pixels = nullptr;
  HBITMAP canvas = CreateCanvas(screen, kSize, kSize, &pixels);
  ReleaseDC(nullptr, screen);
  HGDIOBJ before = SelectObject(dc, canvas);
  HBRUSH key = CreateSolidBrush(kKey);
  const RECT all{0, 0, kSize, kSize};
  FillRect(dc, &all, key);
  DeleteObject(key);
  const bool drawn = Draw(dc, name);
  GdiFlush();
  SelectObject(dc, before);
  DeleteDC(dc);
  HIMAGELIST list = nullptr;
  if (drawn && pixels != nullptr) {
    // DIB pixels are 0x00RRGGBB; the key becomes transparent, the rest opaque.
    const uint32_t keyPixel = (GetRValue(kKey) << 16) | (GetGValue(kKey) << 8) | GetBValue(kKey);
    for (int i = 0; i < kSize * kSize; ++i) pixels[i] = pixels[i] == keyPixel ? 0 : (pixels[i] | 0xFF000000u);
    list = ImageList_Create(kSize, kSize, ILC_COLOR32, 1, 0);
    ImageList_Add(list, canvas, nullptr);
  }
  DeleteObject(canvas);
  return list;
}

}  // namespace

HIMAGELIST PictureList(const std::string& name) {
  static std::map<std::string, HIMAGELIST> drawn;
  if (auto found = drawn.find(name); found != drawn.end()) return found->second;
  HIMAGELIST list = DrawList(name);
  drawn.emplace(name, list);
  return list;
}

namespace {

// A device bitmap, which the picture control draws as it is: a 32-bit one would be read for its alpha.
HBITMAP ToDeviceBitmap(HBITMAP picture, int width, int height, int fromWidth, int fromHeight) {
  HDC screen = GetDC(nullptr);
  HBITMAP device = CreateCompatibleBitmap(screen, width, height);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ fromBefore = SelectObject(from, picture);
  HGDIOBJ toBefore = SelectObject(to, device);
  SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  StretchBlt(to, 0, 0, width, height, from, 0, 0, fromWidth, fromHeight, SRCCOPY);
  SelectObject(from, fromBefore);
  SelectObject(to, toBefore);
  DeleteDC(from);
  DeleteDC(to);
  return device;
}

}  // namespace

HBITMAP JpegBitmap(const std::string& jpeg, int maxWidth, int maxHeight) {
  const auto image = platform::DecodeJpeg(jpeg);
  if (!image || image->width <= 0 || image->height <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  uint32_t* pixels = nullptr;
  HBITMAP whole = CreateCanvas(screen, image->width, image->height, &pixels);
  ReleaseDC(nullptr, screen);
  if (whole == nullptr || pixels == nullptr) return nullptr;
  const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* rgb = &image->rgb[i * 3];
    pixels[i] = (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
  }
  // A larger picture from the program folder is scaled down to the picture's column, its proportions kept.
  const double scale = std::min(
      {1.0, static_cast<double>(maxWidth) / image->width, static_cast<double>(maxHeight) / image->height});
  const int width = std::max(1, static_cast<int>(image->width * scale));
  const int height = std::max(1, static_cast<int>(image->height * scale));
  HBITMAP shown = ToDeviceBitmap(whole, width, height, image->width, image->height);
  DeleteObject(whole);
  return shown;
}

}  // namespace winview
