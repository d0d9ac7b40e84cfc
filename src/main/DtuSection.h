#pragma once
// The device fields of a main window as the [DTU] section of program.ini: the same keys, order and value
// forms the window saves, so that the text can be given back to a write as its settings file.

#include <string>

#include "ui/MainFormDesign.h"

namespace cli {

// Which of the two command texts kept only in the settings file the section carries.
struct CommandTexts {
  bool cipmux = true;
  bool cipmode = true;
};

// "[DTU]" and its keys, then "=1" for the key of each ticked HEX box, each line ending in lineEnd. Values are
// GBK bytes as the window holds them, cut at a line break as the settings file stores them, and quoted where
// the loader would otherwise drop blanks or quotation marks at their ends.
std::string DtuSection(const ui::TMainFormDesign& form, const std::string& lineEnd = "\n",
                       CommandTexts texts = {});

}  // namespace cli
