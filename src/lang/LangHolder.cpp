#include "lang/LangHolder.h"

#include <stdexcept>

#include "platform/TextCodec.h"

namespace lang {

void TLangHolder::Create(const std::string& fileName, bool isChinese) {
  list_ = std::make_unique<TLangList>(fileName, isChinese);
  lastChinese_ = isChinese;
}

void TLangHolder::Release() {
  if (list_) lastChinese_ = list_->IsChinese;
  list_.reset();
}

TLangList& TLangHolder::List() {
  if (!list_) throw std::logic_error("the language list has been released");
  return *list_;
}

void TLangHolder::SetChinese(bool chinese) {
  lastChinese_ = chinese;
  if (list_) list_->IsChinese = chinese;
}

std::string TLangHolder::Text(const LangRow& row) {
  if (list_) return list_->GetLangText(row);
  return platform::Utf8ToGbk(lastChinese_ ? row.Chinese : row.English);
}

}  // namespace lang
