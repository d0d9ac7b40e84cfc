#include "main/LogLines.h"

#include "ui/Form.h"

namespace cli {

void EachLine(std::string_view text, const LineSink& sink) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    sink(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size() || text.empty() || (text.back() != '\n' && text.back() != '\r')) {
    sink(text.substr(start));
  }
}

void TLineDialogHost::ShowMessage(const std::string& text, const std::string&, ui::MessageIcon) {
  EachLine(text, sink_);
}

void TLineDialogHost::ShowModal(ui::TForm& form) { form.Close(); }

}  // namespace cli
