#pragma once
// A settings file that follows the rules of Windows profile files, so that a program.ini written by the
// Windows tool reads the same here and ours reads the same there.
//
// Reading: section and key names match without regard to ASCII letter case; keys may contain blanks (as
// the APN keys do); blanks around names, in the file and in the names the caller gives, and around values
// are dropped; one pair of matching single or double quotation marks around a value is removed; at most 2047
// bytes of a value are returned (never half a GBK character); the first of two equal sections or keys wins;
// a line whose first non-blank character is ';' is a comment; a line starting with '[' opens a section even
// without its "]", named by the rest of the line; lines end in CR LF, LF or CR.
//
// Writing: an existing value is replaced where it stands, keeping the key's spelling and every other byte of
// the file; a new key goes after the last key of its section; a new section is appended at the end. Names
// are written without their outer blanks. A new file is written with CR LF and no blanks around "=". A write
// whose line ends up last leaves the file ending in a line end (the file's own; CR LF in a file that has
// none). Several writes are applied to the file's text in memory, each by these rules in turn, and the file
// is stored once: a save of the whole window changes all its values or none. Storing replaces the whole file
// through a temporary one (platform/WholeFile.h), so a save killed at any moment leaves the old file or the
// new one; the temporary file it may leave behind is removed by RemoveStaleTemporaries, which leaves a save
// that is still running alone.
//
// Reading costs time in proportion to the file's size, whatever the size of a section.
//
// Nothing is cached: each call reads or writes the file at once, so changes made by others between calls are
// seen. Not safe for concurrent use from several threads on the same file.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace settings {

// Raised when a value cannot be stored; the text is "Unable to write to <full path>".
class EIniWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using IniPairs = std::vector<std::pair<std::string, std::string>>;

struct IniWrite {
  std::string section;
  std::string key;
  std::string value;
};

class IniFile {
 public:
  // A relative path is taken from the working folder; the file need not exist.
  explicit IniFile(const std::string& path);

  // The full path, as the write error names it.
  const std::string& FileName() const { return path_; }

  // The value, or defaultValue without its trailing blanks when the section or key is missing or the key has
  // no "=".
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // The value read as by ParseIniInteger; defaultValue when missing or not a number.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  // Whether the section holds the key, with or without "=".
  bool HasKey(const std::string& section, const std::string& key) const;
  // The keys and values of a section in file order, each key once (its first occurrence).
  IniPairs ReadSection(const std::string& section) const;

  // Stores the value. A value can hold no line break (it would split into lines that read as other keys or
  // sections), so it is cut at the first CR, LF or zero byte: what is stored is what the next read returns.
  // Throws EIniWriteError when the file cannot be written; the old file is then left as it was. A file the
  // user may not write is not replaced even where the folder would allow it; for root that is a file with no
  // write bit at all. A write that leaves the file as it was touches nothing, which a read-only file relies
  // on. Throws std::invalid_argument for a section or key that no line could hold (empty, a line break, "]"
  // in a section, "=" in a key).
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  // Applies every write in order as WriteString would, then stores the file once. Throws as WriteString does;
  // on a throw the old file is left as it was.
  void WriteStrings(const std::vector<IniWrite>& writes);
  // Replaces the whole file by content, stored as WriteStrings stores (old or new file, never a mix).
  void Replace(const std::string& content) { Store(content); }

  // Removes temporary files that an interrupted save of this file left in its folder. Never fails: what
  // cannot be removed (a folder the user may not write) stays.
  void RemoveStaleTemporaries() const;

 private:
  void Store(const std::string& content) const;

  std::string path_;
};

// An integer as the settings file holds it: optional sign, then decimal digits, or "0x"/"0X" or "$" followed
// by hexadecimal digits. Hexadecimal gives the 32-bit pattern ("$FFFFFFFF" is -1). Anything else (empty,
// blanks inside, trailing letters, out of range) gives nothing.
std::optional<int> ParseIniInteger(std::string_view text);

}  // namespace settings
