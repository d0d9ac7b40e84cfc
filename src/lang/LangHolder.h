#pragma once
// The program's hold on its language list. The holder exists from start-up to the end; the list inside it
// is created when the main window is created and released when it closes, as the window's texts require.
// Everything that needs a text asks the holder, so nobody keeps a pointer to a list that may be gone.

#include <memory>
#include <string>

#include "lang/LangList.h"

namespace lang {

class TLangHolder {
 public:
  // Replaces any list with one read from fileName (empty: no file) in the given language.
  void Create(const std::string& fileName, bool isChinese);
  // Gives up the list; the language it had is remembered for Text.
  void Release();
  bool HasList() const { return list_ != nullptr; }
  // The list; throws std::logic_error when there is none, so a misuse is reported rather than undefined.
  TLangList& List();

  bool IsChinese() const { return list_ ? list_->IsChinese : lastChinese_; }
  // Also sets the list's flag; without a list only the remembered language changes.
  void SetChinese(bool chinese);

  // The row's text (GBK) in the current language. Without a list it is the built-in text, so that late
  // work after closing, a text lookup for a log that nobody reads any more, cannot fail.
  std::string Text(const LangRow& row);

 private:
  std::unique_ptr<TLangList> list_;
  bool lastChinese_ = true;
};

}  // namespace lang
