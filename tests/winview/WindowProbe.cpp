// winprobe.exe SCREENSHOT.bmp: looks at the running dtu-config window from outside, as a user would see it.
// It waits for the main window, prints its caption and the text of every control (UTF-8, one "class: text"
// line each) and saves the window as it is on the screen, menu bar included. Exit status 0 when all of that
// was done, 1 when no window came or the picture could not be saved.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                      nullptr);
  return utf8;
}

std::wstring Text(HWND window) {
  // Across processes WM_GETTEXT reaches the control's own text, as GetWindowText does not.
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  std::wstring text = Text(control);
  for (auto& c : text) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  std::printf("%s: %s\n", Utf8(ClassOf(control)).c_str(), Utf8(text).c_str());
  return TRUE;
}

bool SaveScreenshot(HWND window, const char* path) {
  RECT frame;
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ before = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  GdiFlush();
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info.bmiHeader;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(stride * height);
  bool saved = false;
  if (FILE* file = std::fopen(path, "wb")) {
    saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
            std::fwrite(bits, static_cast<size_t>(stride * height), 1, file) == 1;
    std::fclose(file);
  }
  SelectObject(memory, before);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: winprobe.exe SCREENSHOT.bmp\n", stderr);
    return 2;
  }
  // The program starts in well under a minute even on a loaded machine; the bound only ends a hung run.
  HWND window = nullptr;
  for (int tries = 0; tries < 600 && window == nullptr; ++tries) {
    HWND found = FindWindowW(L"DtuConfigMain", nullptr);
    if (found != nullptr && IsWindowVisible(found) != FALSE) {
      window = found;
    } else {
      Sleep(100);
    }
  }
  if (window == nullptr) {
    std::fputs("winprobe: no dtu-config window\n", stderr);
    return 1;
  }
  // Whatever the window does at its start has been drawn once it answers a message.
  SendMessageW(window, WM_NULL, 0, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  std::printf("caption: %s\n", Utf8(Text(window)).c_str());
  EnumChildWindows(window, &PrintControl, 0);
  std::fflush(stdout);
  return SaveScreenshot(window, argv[1]) ? 0 : 1;
}
