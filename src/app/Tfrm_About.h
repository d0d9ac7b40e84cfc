#pragma once
// The About dialog: picture, title, version, description, the maker's contact rows and a link to the web
// site.

#include <memory>

#include "lang/LangHolder.h"
#include "ui/DialogDesigns.h"

namespace app {

// The picture compiled into the program (a JPEG of our own).
std::string_view BuiltInAboutPicture();

class Tfrm_About : public ui::TAboutFormDesign {
 public:
  Tfrm_About(ui::Application& app, lang::TLangHolder& Lang);

  // Version label, the picture ("About.jpg" beside the program when it is a readable JPEG), the texts.
  void FormCreate();
  void btn_About_YesClick();
  void lbl_About_WebsiteClick();

 private:
  lang::TLangHolder& Lang_;
};

}  // namespace app
