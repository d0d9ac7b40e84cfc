#pragma once
// A settings file of its own for each unit that is given values beside the settings file: a copy of the
// file with the unit's [DTU] values written in, which the unit's job then loads as the window would load
// program.ini. The loader's rules (the APN choice and text, list indexes, quoting) thus apply to these values
// exactly as to the file's own.

#include <map>
#include <optional>
#include <string>

#include "config/LineChoice.h"
#include "main/Units.h"

namespace cli {

class TUnitSettings {
 public:
  // baseFile: the --ini file, or nothing. No folder is made until a unit needs one.
  explicit TUnitSettings(std::optional<std::string> baseFile);
  // Removes the copies and their folder.
  ~TUnitSettings();
  TUnitSettings(const TUnitSettings&) = delete;
  TUnitSettings& operator=(const TUnitSettings&) = delete;

  // The file the unit's job loads: the base file itself (or an empty file) when the unit has no values of
  // its own, else its copy. A unit given an APN text but no APN choice gets the other-APN entry, the one
  // entry that uses the text. Throws std::runtime_error when a copy cannot be made.
  std::string FileFor(const Unit& unit);
  // A copy of the file at iniPath (made by FileFor, or the user's own, which stays untouched) whose [Com]
  // section opens the PC port with line, for the action after a search found the DTU's settings.
  std::string FileWithLine(const std::string& iniPath, const Unit& unit, const config::LineChoice& line);
  // A file with nothing but a [Com] section for line: one try of a search.
  std::string TryFile(const config::LineChoice& line);

 private:
  const std::string& Folder();

  std::optional<std::string> base_;
  std::string folder_;
  std::map<std::string, std::string> tryFiles_;
};

}  // namespace cli
