#include "ui/Controls.h"

#include <atomic>

namespace ui {
namespace {
std::atomic<uint64_t> revision{0};
}

uint64_t ModelRevision() { return revision.load(); }
void MarkModelChanged() { revision.fetch_add(1); }

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  MarkModelChanged();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  MarkModelChanged();
}

void Control::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  MarkModelChanged();
}

void Control::SetMarked(bool marked) {
  if (marked_ == marked) return;
  marked_ = marked;
  MarkModelChanged();
}

void Control::SetFocus() {
  ++focusRequests_;
  MarkModelChanged();
}

void Control::Click() {
  if (OnClick) OnClick(*this);
}

void Control::UserClick() {
  if (enabled_) Click();
}

void CaptionControl::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  MarkModelChanged();
}

void TButton::SetPicture(std::string picture) {
  if (picture_ == picture) return;
  picture_ = std::move(picture);
  MarkModelChanged();
}

void TEdit::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  MarkModelChanged();
}

bool TEdit::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
  return key != 0;
}

bool TEdit::UserKeyDown(TKey key) { return Enabled() && OnKeyDown && OnKeyDown(*this, key); }

bool TEdit::UserTypeChar(char key) {
  if (!Enabled() || !KeyPress(key)) return false;
  std::string text = text_;
  if (key == '\b') {
    if (!text.empty()) text.pop_back();
  } else {
    text.push_back(key);
  }
  UserSetText(std::move(text));
  return true;
}

void TEdit::UserSetText(std::string text) {
  if (text_ == text) return;
  SetText(std::move(text));
  SetMarked(false);
  if (OnChange) OnChange(*this);
}

void TComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  MarkModelChanged();
}

void TComboBox::SetItemText(int index, std::string text) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_[static_cast<size_t>(index)] = std::move(text);
  MarkModelChanged();
}

void TComboBox::SetItemIndex(int index) {
  const int valid = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
  if (valid == itemIndex_) return;
  itemIndex_ = valid;
  MarkModelChanged();
}

std::string TComboBox::Text() const {
  return itemIndex_ < 0 ? std::string() : items_[static_cast<size_t>(itemIndex_)];
}

void TComboBox::UserSelect(int index) {
  if (!Enabled()) return;
  SetItemIndex(index);
  SetMarked(false);
  if (OnChange) OnChange(*this);
}

void TComboBox::DropDown() {
  if (OnDropDown) OnDropDown(*this);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  MarkModelChanged();
}

void TCheckBox::UserToggle() {
  if (!Enabled()) return;
  SetChecked(!checked_);
  SetMarked(false);
  Click();
}

void TMenuItem::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  MarkModelChanged();
}

void TMemo::Add(const std::string& text) {
  const std::string prefix = LinePrefix ? LinePrefix() : std::string();
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines_.push_back(prefix + line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  // A text that ends in a line break adds no empty line after it, as a memo's Lines.Add does not.
  if (!line.empty() || text.empty() || (text.back() != '\n' && text.back() != '\r'))
    lines_.push_back(prefix + line);
  MarkModelChanged();
}

void TMemo::Clear() {
  lines_.clear();
  ++clears_;
  MarkModelChanged();
}

void TMemo::UserSetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  ++clears_;
  MarkModelChanged();
}

}  // namespace ui
