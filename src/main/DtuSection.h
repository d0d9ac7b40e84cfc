#pragma once
// The device fields of a main window as the [DTU] section of program.ini: the same keys, order and value
// forms the window saves, so that the text can be given back to a write as its settings file.

#include <string>
#include <utility>
#include <vector>

#include "ui/MainFormDesign.h"

namespace cli {

// Which of the two command texts kept only in the settings file the section carries.
struct CommandTexts {
  bool cipmux = true;
  bool cipmode = true;
};

// The section's keys and values in its order, as the window holds them (GBK, not yet in their stored form),
// then "1" for the key of each ticked HEX box.
using SectionValues = std::vector<std::pair<std::string, std::string>>;
SectionValues DtuValues(const ui::TMainFormDesign& form, CommandTexts texts = {});

// "[DTU]" and its keys, each line ending in lineEnd. Values are GBK bytes as the window holds them, cut at a
// line break as the settings file stores them, and quoted where the loader would otherwise drop blanks or
// quotation marks at their ends.
std::string DtuSection(const ui::TMainFormDesign& form, const std::string& lineEnd = "\n",
                       CommandTexts texts = {});

// The value as a line of the settings file holds it so that the loader gives it back: cut at a line break,
// and put in quotation marks of its own where the loader would drop blanks or quotation marks at its ends.
std::string StoredForm(const std::string& value);

}  // namespace cli
