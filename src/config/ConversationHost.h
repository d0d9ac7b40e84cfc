#pragma once
// What the port control, the conversation and the line search need from whoever drives them: the window (its
// controls) or the command line (values built from its files and options). Nothing in config reads or writes
// a control; it asks its host.

#include <cstddef>
#include <string>
#include <vector>

#include "config/LineChoice.h"
#include "values/Checks.h"
#include "values/DtuValues.h"

namespace config {

class TConversationHost {
 public:
  virtual ~TConversationHost() = default;

  // One line of the information log; the host adds its own indent.
  virtual void AddInfo(const std::string& text) = 0;

  // The device the port opens ("COMn" or a path) and the PC line settings it opens with, as chosen now.
  virtual std::string PortDevice() = 0;
  virtual PortLine ChosenLine() = 0;
  // The PC port follows the DTU (before write steps 9 and 10) or a search: the host makes these settings its
  // choice (the parts that are set), so that ChosenLine gives them from now on. No change event is raised.
  virtual void ChooseLine(const PortLine& line) = 0;
  // The port now shows open or closed (the window's port button).
  virtual void ShowPortState(bool open) { (void)open; }

  // The values the next command is built from; asked for at each step, so a command takes what the host
  // holds when it is built.
  virtual values::DtuValues CurrentValues() = 0;
  // A read took these rows from the DTU's reply (or restore-defaults put them back): values holds them now.
  virtual void ShowValues(const values::DtuValues& values, const std::vector<size_t>& rows) = 0;
  // How the user knows a row: the window's caption, the command line's key.
  virtual std::string FieldName(size_t row) = 0;
  // A value that cannot be sent was found; nothing was sent. The window puts the focus on its field.
  virtual void ShowProblem(const values::Problem& problem) { (void)problem; }
};

}  // namespace config
