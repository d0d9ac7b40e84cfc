#include "winview/Fonts.h"

namespace winview {
namespace {

LOGFONTW MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  // The window is laid out for 9 points; a smaller message font (Wine's 8-point Tahoma) makes Chinese
  // characters hard to read.
  constexpr LONG kNinePoints = -12;
  if (font.lfHeight > kNinePoints) font.lfHeight = kNinePoints;
  return font;
}

}  // namespace

HFONT UiFont() {
  static const HFONT font = [] {
    const LOGFONTW base = MessageFont();
    return CreateFontIndirectW(&base);
  }();
  return font;
}

HFONT LinkFont() {
  static const HFONT font = [] {
    LOGFONTW link = MessageFont();
    link.lfUnderline = TRUE;
    return CreateFontIndirectW(&link);
  }();
  return font;
}

HFONT TitleFont() {
  static const HFONT font = [] {
    LOGFONTW title = MessageFont();
    title.lfHeight = title.lfHeight * 3 / 2;
    title.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&title);
  }();
  return font;
}

}  // namespace winview
