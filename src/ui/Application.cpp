#include "ui/Application.h"

#include <cctype>

namespace ui {

std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && std::isalnum(static_cast<unsigned char>(message.back())) != 0) return message + ".";
  return message;
}

void Application::MessageBox(const std::string& text, MessageIcon icon) {
  host_.ShowMessage(text, Title, icon);
}

void Application::HandleException(const std::exception& error) {
  MessageBox(ErrorReportText(error.what()), MessageIcon::Error);
}

}  // namespace ui
