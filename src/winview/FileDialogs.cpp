#include "winview/FileDialogs.h"

#include <commdlg.h>

#include <filesystem>

#include "platform/FilePath.h"
#include "winview/WinText.h"

namespace winview {
namespace {

// Long enough for any path the system allows.
constexpr DWORD kPathRoom = 32768;

std::optional<std::string> Ask(HWND owner, const std::string& caption, const std::wstring& offered,
                               bool save) {
  std::wstring path(kPathRoom, L'\0');
  path.replace(0, std::min(offered.size(), path.size() - 1), offered.substr(0, path.size() - 1));
  const std::wstring title = ToWide(caption);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathRoom;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (chosen == FALSE) return std::nullopt;
  path.resize(path.find(L'\0'));
  return platform::PathText(std::filesystem::path(path));
}

}  // namespace

std::optional<std::string> AskSavePath(HWND owner, const std::string& caption, const std::string& name) {
  return Ask(owner, caption, platform::NativePath(name).make_preferred().wstring(), true);
}

std::optional<std::string> AskOpenPath(HWND owner, const std::string& caption) {
  return Ask(owner, caption, std::wstring(), false);
}

}  // namespace winview
