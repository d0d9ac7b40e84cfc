#include "app/Tfrm_About.h"

#include "app/LangApply.h"
#include "lang/Version.h"
#include "platform/JpegImage.h"
#include "platform/ProgramFolder.h"
#include "platform/WebBrowser.h"

namespace app {

extern const std::string_view kAboutJpeg;

std::string_view BuiltInAboutPicture() { return kAboutJpeg; }

Tfrm_About::Tfrm_About(ui::Application& app, lang::TLangHolder& Lang)
    : ui::TAboutFormDesign(app), Lang_(Lang) {
  img_About.Picture = std::string(BuiltInAboutPicture());
  btn_About_Yes.OnClick = [this](ui::Control&) { btn_About_YesClick(); };
  lbl_About_Website.OnClick = [this](ui::Control&) { lbl_About_WebsiteClick(); };
}

void Tfrm_About::FormCreate() {
  lbl_version.SetCaption(" V" + lang::GetAppVersion());
  const std::string path = platform::FindProgramFile("About.jpg");
  if (platform::FileExists(path)) {
    // A file that is not a readable JPEG keeps the built-in picture rather than showing nothing.
    if (auto bytes = platform::ReadWholeFile(path); bytes && platform::DecodeJpeg(*bytes)) {
      img_About.Picture = std::move(*bytes);
      ui::MarkModelChanged();
    }
  }
  ApplyAboutLang(*this, Lang_.List());
}

void Tfrm_About::btn_About_YesClick() { Close(); }

void Tfrm_About::lbl_About_WebsiteClick() { platform::OpenWebAddress(lbl_About_Website.Caption()); }

}  // namespace app
