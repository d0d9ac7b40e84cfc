#pragma once
// The application object: its title, its icon, the loop of the window thread, the host that shows message
// boxes and modal windows, and the general error report for errors that escape an event handler.
//
// Where an error raised in a handler goes. Every event that comes from outside (a user's input through the
// view, a timer tick, the close button, a press by the command line) runs through Dispatch, so a
// std::exception that escapes it reaches the general error report and the program goes on with the next
// event. Three handlers keep their errors to themselves: the menu's (Tfrm_Main::N2Click) drops the error of
// a menu command without a word; the reply handler (TDeviceConfig::HandleReply) ends the conversation and
// reports it as an unreadable reply, so the receive event has no trap of its own; the port control turns any
// failure of an opening into its one log line. The serial component's worker threads never raise: they
// report by notification.

#include <exception>
#include <optional>
#include <string>

#include "platform/EventLoop.h"

namespace ui {

class TForm;

enum class MessageIcon { None, Information, Error };

// Implemented by the Qt view; tests and the command line script it.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Shows a message box with one OK button and returns when it is closed. Texts are GBK.
  virtual void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
  // Shows the form modally and returns when it has been closed (form.Visible() is false again). Timers and
  // posted messages keep being handled meanwhile.
  virtual void ShowModal(TForm& form) = 0;
  // Asks where to save a file, offering the name given; the path chosen, or nothing when the user cancelled.
  // A host that cannot ask (the command line) never chooses one. The caption is GBK, the names are paths.
  virtual std::optional<std::string> AskSaveFile(const std::string& caption, const std::string& name) {
    (void)caption;
    (void)name;
    return std::nullopt;
  }
  // Asks which existing file to open; the path chosen, or nothing when the user cancelled.
  virtual std::optional<std::string> AskOpenFile(const std::string& caption) {
    (void)caption;
    return std::nullopt;
  }
  // Asks a question with two buttons and returns true for yes; Escape and the close button answer no.
  // Texts are GBK.
  virtual bool Ask(const std::string& text, const std::string& caption, const std::string& yes,
                   const std::string& no) = 0;
};

// The text the general error report shows: the error's message with a full stop added when it ends in a
// letter or a digit.
std::string ErrorReportText(const std::string& message);

class Application {
 public:
  Application(platform::EventLoop& loop, DialogHost& host) : loop_(loop), host_(host) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  platform::EventLoop& Loop() { return loop_; }
  DialogHost& Host() { return host_; }

  // The taskbar text and the caption of every message box.
  std::string Title;
  // Path of the icon file in use; empty for the built-in icon.
  std::string IconPath;

  void MessageBox(const std::string& text, MessageIcon icon = MessageIcon::None);
  // A question under the application's title; true when the user answered yes.
  bool Ask(const std::string& text, const std::string& yes, const std::string& no) {
    return host_.Ask(text, Title, yes, no);
  }
  // The general error report: a message box with an error icon; the program then goes on.
  void HandleException(const std::exception& error);

  // Runs one event handler; an error that escapes it goes to the general error report.
  template <typename F>
  void Dispatch(F&& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      HandleException(error);
    }
  }

 private:
  platform::EventLoop& loop_;
  DialogHost& host_;
};

}  // namespace ui
