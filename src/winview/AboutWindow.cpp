#include "winview/AboutWindow.h"

#include "winview/Fonts.h"
#include "winview/Pictures.h"

namespace winview {
namespace {

// The picture column holds the program's own picture (150 x 200) whole; everything else is beside it. A
// larger picture from the program folder is scaled down to the column.
constexpr int kPictureMaxWidth = 150;
constexpr int kPictureMaxHeight = 219;
constexpr int kTextX = 8 + kPictureMaxWidth + 8;
constexpr int kTextWidth = 466 - 8 - kTextX;
constexpr int kContactX = kTextX + 4;

}  // namespace

AboutWindow::AboutWindow(ui::Application& app, ui::TAboutFormDesign& form, HWND owner)
    : DialogWindow(app, form, 466, 235, owner), about_(form) {
  HWND w = Handle();
  HWND picture = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, 8, 8, kPictureMaxWidth,
                                 kPictureMaxHeight, w, nullptr, GetModuleHandleW(nullptr), nullptr);
  binder_.Also([this, picture] { DrawPicture(picture); });

  HWND title = binder_.Label(w, form.lbl_System_Title, Box{kTextX, 10, kTextWidth, 26});
  SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont()), FALSE);
  binder_.Label(w, form.lbl_About_version, Box{kTextX, 42, 80, 20});
  binder_.Label(w, form.lbl_version, Box{kTextX + 80, 42, 150, 20});
  binder_.Label(w, form.lbl_Aboutl_Description, Box{kTextX, 66, kTextWidth, 86}, SS_LEFT);
  CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, kTextX, 158, kTextWidth, 2, w,
                  nullptr, GetModuleHandleW(nullptr), nullptr);
  binder_.Label(w, form.lbl_About_Contact, Box{kContactX, 166, 90, 20});
  binder_.LinkLabel(w, form.lbl_About_Website, Box{kContactX + 90, 166, 466 - 8 - kContactX - 90, 20});
  binder_.Label(w, form.lbl_About_Tel, Box{kContactX, 186, 196, 20});
  binder_.Label(w, form.lbl_About_Email, Box{kContactX, 206, 196, 20});
  SetDefaultButton(binder_.Button(w, form.btn_About_Yes, Box{372, 196, 84, 30}));
  binder_.Refresh(true);
}

AboutWindow::~AboutWindow() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

void AboutWindow::DrawPicture(HWND picture) {
  const std::string& bytes = about_.img_About.Picture;
  if (pictureDrawn_ && bytes == drawnPicture_) return;
  pictureDrawn_ = true;
  drawnPicture_ = bytes;
  // A picture that cannot be read shows nothing, without a message.
  HBITMAP bitmap = JpegBitmap(bytes, kPictureMaxWidth, kPictureMaxHeight);
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = bitmap;
}

}  // namespace winview
