#pragma once
// A dialog host for tests: records every message box, and lets a test act inside each modal showing (fill a
// dialog and press its button, or just close it).

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Form.h"

namespace testing_support {

struct ShownMessage {
  std::string text;
  std::string caption;
  ui::MessageIcon icon;
};

class ScriptedDialogHost : public ui::DialogHost {
 public:
  std::vector<ShownMessage> messages;
  std::vector<std::string> modalForms;
  // Called inside each modal showing; when it leaves the form visible, the host closes it (the user pressed
  // the close button).
  std::function<void(ui::TForm&)> onModal;
  // Every question asked, and the answer each gets: yes unless a test says otherwise.
  std::vector<std::string> questions;
  bool answer = true;

  // The file the user chooses in a save dialog: nothing (cancelled) unless a test says otherwise.
  std::optional<std::string> saveFile;

  std::optional<std::string> AskSaveFile(const std::string&, const std::string&) override { return saveFile; }
  // The file the user chooses to open.
  std::optional<std::string> openFile;
  std::optional<std::string> AskOpenFile(const std::string&) override { return openFile; }
  void ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  void ShowModal(ui::TForm& form) override {
    modalForms.push_back(form.Name);
    if (onModal) onModal(form);
    if (form.Visible()) form.Close();
  }
  bool Ask(const std::string& text, const std::string&, const std::string&, const std::string&) override {
    questions.push_back(text);
    return answer;
  }
};

}  // namespace testing_support
