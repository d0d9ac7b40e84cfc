#pragma once
// Toolkit-free controls. A window model holds these; the Qt view draws them and feeds user input back through
// the User* operations. Setting a property from code never raises an event; only user input does.
// All texts are GBK bytes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

enum class TColor { clBtnFace, clWindow };

class Control;
using TNotifyEvent = std::function<void(Control& sender)>;
// The handler may set key to 0 to cancel the key press.
using TKeyPressEvent = std::function<void(Control& sender, char& key)>;
// Keys that move or confirm rather than type; the handler returns whether it acted on the key.
enum class TKey { Up, Down, Enter };
using TKeyDownEvent = std::function<bool(Control& sender, TKey key)>;

// Every change of what a control shows bumps one process-wide counter, so a view can tell cheaply whether it
// needs to draw again.
uint64_t ModelRevision();
void MarkModelChanged();

class Control {
 public:
  explicit Control(std::string name) : Name(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string Name;
  int Tag = 0;
  TNotifyEvent OnClick;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // A field the program points out to the user (one the DTU did not keep); the user's own change of the
  // field takes the mark away.
  bool Marked() const { return marked_; }
  void SetMarked(bool marked);

  // Asks the view to put the keyboard focus here (Delphi's SetFocus); each request counts once.
  void SetFocus();
  uint64_t FocusRequests() const { return focusRequests_; }

  // Runs the click handler as code does (Delphi's Click): errors reach the caller.
  virtual void Click();
  // A click by the user: ignored while the control is disabled.
  void UserClick();

 private:
  bool enabled_ = true;
  bool visible_ = true;
  TColor color_ = TColor::clWindow;
  bool marked_ = false;
  uint64_t focusRequests_ = 0;
};

// Labels, group boxes, buttons: a control with a caption.
class CaptionControl : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

 private:
  std::string caption_;
};

using TLabel = CaptionControl;
using TGroupBox = CaptionControl;

class TButton : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  // Names one of the program's pictures ("open", "close", "default", "read", "write"); empty for none.
  const std::string& Picture() const { return picture_; }
  void SetPicture(std::string picture);

 private:
  std::string picture_;
};

// A hidden picture holder (img_Open, img_Close).
class TImage : public Control {
 public:
  using Control::Control;
  std::string Picture;
};

class TEdit : public Control {
 public:
  using Control::Control;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnChange;
  TKeyDownEvent OnKeyDown;

  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  // A character typed by the user: the key filter runs first; returns whether the key was accepted. An
  // accepted Backspace (8) removes the last character, any other accepted character is appended.
  bool UserTypeChar(char key);
  // Text that the user put there another way (pasting, deleting): no key filter, as on the real window.
  void UserSetText(std::string text);
  // Runs the key filter alone and reports whether the character passes; the view lets its own widget do
  // the editing when it does.
  bool KeyPress(char& key);
  // The user pressed Up, Down or Enter in the field: whether its handler acted on it (the view then leaves
  // the key alone). A disabled field acts on nothing.
  bool UserKeyDown(TKey key);

 private:
  std::string text_;
};

class TComboBox : public Control {
 public:
  using Control::Control;
  TNotifyEvent OnChange;

  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  // Replaces one item's text in place; the selection stays.
  void SetItemText(int index, std::string text);

  // -1 means nothing selected.
  int ItemIndex() const { return itemIndex_; }
  // From code: no change event. An index outside the list selects nothing.
  void SetItemIndex(int index);
  // The selected item's text, or empty when nothing is selected.
  std::string Text() const;

  // A choice by the user: selects and raises OnChange.
  void UserSelect(int index);
  // Raised by the view just before the list drops down, so that its owner can bring the items up to date.
  TNotifyEvent OnDropDown;
  void DropDown();

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class TCheckBox : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  bool Checked() const { return checked_; }
  // From code: no click event.
  void SetChecked(bool checked);
  // The user clicks the box: the state flips first, then OnClick runs.
  void UserToggle();

 private:
  bool checked_ = false;
};

// The information log: a list of lines that the program appends to and clears, and the user may type into.
class TMemo : public Control {
 public:
  using Control::Control;
  // When set, what it returns goes before each line added (the log's time stamps).
  std::function<std::string()> LinePrefix;
  const std::vector<std::string>& Lines() const { return lines_; }
  // Appends text as new lines: CR LF, LF and a lone CR each start a new line, as in a multi-line edit.
  void Add(const std::string& text);
  void Clear();
  // The whole content as the user edited it in the view.
  void UserSetLines(std::vector<std::string> lines);
  // Goes up by one at every Clear, so a view can tell a clear from an append.
  uint64_t ClearCount() const { return clears_; }

 private:
  std::vector<std::string> lines_;
  uint64_t clears_ = 0;
};

class TMenuItem : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  std::vector<TMenuItem*> Items;
  bool IsSeparator() const { return Caption() == "-"; }
  // Drawn with a check mark; the click handler flips it, as clicking changes nothing by itself.
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

 private:
  bool checked_ = false;
};

}  // namespace ui
