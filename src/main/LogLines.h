#pragma once
// The command line's log: each line the window's information log would show, passed on as it comes.

#include <functional>
#include <string>
#include <string_view>

#include "ui/Application.h"

namespace cli {

// Receives each GBK line meant for the user, without a line end.
using LineSink = std::function<void(std::string_view gbkLine)>;

// The lines of text as the window's log would split it: at CR LF, CR or LF, with no empty line after a
// text that ends in a line break.
void EachLine(std::string_view text, const LineSink& sink);

// Message boxes cannot be shown here: their texts go to the log, and a modal form closes at once, as if the
// user had closed it without pressing its button. A question is answered yes: the command line was told what
// to do by its arguments.
class TLineDialogHost : public ui::DialogHost {
 public:
  explicit TLineDialogHost(LineSink sink) : sink_(std::move(sink)) {}
  void ShowMessage(const std::string& text, const std::string& caption, ui::MessageIcon icon) override;
  void ShowModal(ui::TForm& form) override;
  bool Ask(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return true;
  }

 private:
  LineSink sink_;
};

}  // namespace cli
