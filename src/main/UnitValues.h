#pragma once
// The values a command line gives a DTU beside its settings file (--set and the rows of --units): which keys
// they may name, the placeholders that make one value serve a whole batch, and how they join the file's.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "values/DtuValues.h"

namespace cli {

// [DTU] keys and GBK values, in the order they are to be applied (a later one for the same key wins).
using KeyValues = std::vector<std::pair<std::string, std::string>>;

// The [DTU] key of the settings file for a name in any letter case (the settings file matches keys that way
// too), spelled as the file spells it; nothing for a name the section does not have.
std::optional<std::string> DtuKey(std::string_view name);

// The value with "{n}" replaced by the unit's number and "{serial}" by its adapter's serial number. Other
// braces are left as they are: a DTU may well be given a value with braces of its own.
std::string WithPlaceholders(std::string_view value, int number, const std::string& serial);

// The file's values with the given ones on top, as the window would hold them had the user typed them: a
// list item named by its text takes its position; an APN text given without an APN choice chooses the
// other-APN entry (the one entry that sends the text), and a fixed choice brings its own APN.
values::DtuValues WithGivenValues(values::DtuValues values, const KeyValues& given);

}  // namespace cli
