#pragma once
// The values a command line gives a DTU beside its settings file (--set and the rows of --units): which keys
// they may name, what a value may hold, and the placeholders that make one value serve a whole batch.

#include <optional>
#include <string>
#include <string_view>

namespace cli {

// The [DTU] key of the settings file for a name in any letter case (the settings file matches keys that way
// too), spelled as the file spells it; nothing for a name the section does not have.
std::optional<std::string> DtuKey(std::string_view name);

// Why the value cannot be given to the key, or nothing when it can. A line break would end the value early
// in the settings file (and a second line would read as another key); a list field takes the index of an
// item, a whole number.
std::optional<std::string> ValueProblem(const std::string& key, const std::string& value);

// The value with "{n}" replaced by the unit's number and "{serial}" by its adapter's serial number. Other
// braces are left as they are: a DTU may well be given a value with braces of its own.
std::string WithPlaceholders(std::string_view value, int number, const std::string& serial);

}  // namespace cli
