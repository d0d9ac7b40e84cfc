#include "settings/IniFile.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <list>
#include <unordered_map>
#include <unordered_set>

#include "platform/FilePath.h"
#include "platform/WholeFile.h"

namespace settings {
namespace {

// Windows returns at most this many characters of a value into the 2048-byte buffer of the tool.
constexpr size_t kMaxValueLength = 2047;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Names as keys of a hash table, matched as the file matches them: without regard to ASCII letter case.
struct NameHash {
  size_t operator()(std::string_view name) const {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
    return static_cast<size_t>(hash);
  }
};
struct SameNameAs {
  bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};
using NameSet = std::unordered_set<std::string_view, NameHash, SameNameAs>;

enum class LineKind { Other, Section, Key };

// One line of the file, parsed. The offsets count from the line's first byte, so that a write can rebuild the
// one line it changes and leave every other byte alone.
struct Line {
  LineKind kind = LineKind::Other;
  std::string_view name;  // section or key, trimmed
  bool hasValue = false;  // a key line without "=" has no value: reads give the default
  size_t keyEnd = 0;
  size_t valueBegin = 0;  // first byte after "=" and its blanks
  std::string_view value;
};

// text is the line without its line end; contentBegin skips a byte order mark on the first line.
Line ParseLine(std::string_view text, size_t contentBegin) {
  Line line;
  size_t p = contentBegin;
  while (p < text.size() && IsBlank(text[p])) ++p;
  if (p == text.size() || text[p] == ';') return line;
  if (text[p] == '[') {
    // Windows still opens the section when the "]" is missing, naming it by the rest of the line; read as a
    // key instead, every value under it would fall back to its default and a save would add a second one.
    const size_t close = text.find(']', p + 1);
    line.kind = LineKind::Section;
    line.name = Trim(text.substr(p + 1, (close == std::string_view::npos ? text.size() : close) - p - 1));
    return line;
  }
  const size_t equals = text.find('=', p);
  line.name = Trim(text.substr(p, equals == std::string_view::npos ? std::string_view::npos : equals - p));
  if (line.name.empty()) return line;
  line.kind = LineKind::Key;
  line.keyEnd = p + line.name.size();
  if (equals != std::string_view::npos) {
    line.hasValue = true;
    line.valueBegin = equals + 1;
    while (line.valueBegin < text.size() && IsBlank(text[line.valueBegin])) ++line.valueBegin;
    line.value = Trim(text.substr(line.valueBegin));
  }
  return line;
}

// Calls visit(text, lineEnd, contentBegin) for each line in file order until it returns false.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  // An editor may have put a byte order mark before the first section; it stays in the file untouched.
  size_t contentBegin = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    size_t next = end;
    if (next < text.size())
      next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
    if (!visit(text.substr(pos, end - pos), text.substr(end, next - end), contentBegin)) return;
    contentBegin = 0;
    pos = next;
  }
}

// Calls visit for each key line of the first section of that name, in file order, until it returns false.
// False when the file has no such section. One pass over the file, however large the section.
template <class Visit>
bool VisitSection(std::string_view text, std::string_view section, Visit visit) {
  bool found = false;
  bool inside = false;
  ForEachLine(text, [&](std::string_view lineText, std::string_view, size_t contentBegin) {
    const Line line = ParseLine(lineText, contentBegin);
    if (line.kind == LineKind::Section) {
      // Later sections of the same name are never read.
      if (inside) return false;
      inside = found = SameName(line.name, section);
    } else if (inside && line.kind == LineKind::Key) {
      return visit(line);
    }
    return true;
  });
  return found;
}

// The line end the file already uses, so that added lines match it; CR LF for a new file.
std::string_view LineEndOf(std::string_view text) {
  const size_t pos = text.find_first_of("\r\n");
  if (pos == std::string_view::npos) return "\r\n";
  if (text[pos] == '\n') return "\n";
  return pos + 1 < text.size() && text[pos + 1] == '\n' ? "\r\n" : "\r";
}

// The file's lines while a save applies its writes to them, each by the rules of a single write. A line
// points into the old text until a write changes it. The first section of each name and the first key of each
// name in it are indexed, so that a save of many values into a large file passes over the file once, not once
// per value.
class Document {
 public:
  explicit Document(std::string_view text) : lineEnd_(LineEndOf(text)) {
    ForEachLine(text, [this](std::string_view line, std::string_view end, size_t contentBegin) {
      lines_.push_back(DocLine{line, end, contentBegin, ParseLine(line, contentBegin)});
      return true;
    });
  }

  // The names come trimmed, the value without line breaks.
  void Write(std::string_view sectionName, std::string_view key, std::string_view value) {
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    Section* section = FindSection(sectionName);
    if (!section) {
      if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = lineEnd_;
      const Position header = Add(lines_.end(), "[" + std::string(sectionName) + "]");
      const Position added = Add(lines_.end(), keyLine);
      if (added->parsed.kind != LineKind::Key) return DropIndexes();
      Section& created = sections_[header->parsed.name];
      created.header = header;
      created.lastKey = added;
      created.keys.emplace(added->parsed.name, added);
      created.keysIndexed = true;
      return;
    }
    IndexKeys(*section);
    if (const auto found = section->keys.find(key); found != section->keys.end()) {
      DocLine& line = *found->second;
      std::string changed(
          line.text.substr(0, line.parsed.hasValue ? line.parsed.valueBegin : line.parsed.keyEnd));
      changed.append(line.parsed.hasValue ? "" : "=").append(value);
      if (changed == line.text) return;
      // A changed last line of a file without a final line end gets one, as the Windows tool writes every
      // line; an unchanged one still needs no write, which a read-only file relies on.
      if (line.end.empty()) line.end = lineEnd_;
      texts_.push_back(std::move(changed));
      line.text = texts_.back();
      line.parsed = ParseLine(line.text, line.contentBegin);
      return;
    }
    // After a last line without a line end, the line end goes before the new key and after it too.
    if (section->lastKey->end.empty()) section->lastKey->end = lineEnd_;
    const Position added = Add(std::next(section->lastKey), keyLine);
    // A key such as ";x" or "[x" writes a line that reads as a comment or a section: the indexes start over.
    if (added->parsed.kind != LineKind::Key) return DropIndexes();
    section->keys.emplace(added->parsed.name, added);
    section->lastKey = added;
  }

  std::string Text() const {
    size_t size = 0;
    for (const DocLine& line : lines_) size += line.text.size() + line.end.size();
    std::string text;
    text.reserve(size);
    for (const DocLine& line : lines_) text.append(line.text).append(line.end);
    return text;
  }

 private:
  struct DocLine {
    std::string_view text;  // without its line end
    std::string_view end;
    size_t contentBegin = 0;
    Line parsed;
  };
  using Position = std::list<DocLine>::iterator;
  template <class Value>
  using ByName = std::unordered_map<std::string_view, Value, NameHash, SameNameAs>;
  struct Section {
    Position header;
    Position lastKey;  // the header while the section holds no key
    ByName<Position> keys;
    bool keysIndexed = false;
  };

  Position Add(Position before, std::string text) {
    texts_.push_back(std::move(text));
    const Position added =
        lines_.insert(before, DocLine{texts_.back(), lineEnd_, 0, ParseLine(texts_.back(), 0)});
    // In a file of CR line ends, the CR of a new line and the LF of an empty line after it make one CR LF,
    // and the file reads one line fewer: so does the document.
    if (before != lines_.end() && added->end == "\r" && before->text.empty() && before->end == "\n") {
      added->end = "\r\n";
      lines_.erase(before);
    }
    return added;
  }

  Section* FindSection(std::string_view name) {
    if (!sectionsIndexed_) {
      for (Position line = lines_.begin(); line != lines_.end(); ++line) {
        if (line->parsed.kind != LineKind::Section) continue;
        const auto [entry, added] = sections_.try_emplace(line->parsed.name);
        if (added) entry->second.header = entry->second.lastKey = line;
      }
      sectionsIndexed_ = true;
    }
    const auto found = sections_.find(name);
    return found == sections_.end() ? nullptr : &found->second;
  }

  void IndexKeys(Section& section) {
    if (section.keysIndexed) return;
    for (Position line = std::next(section.header);
         line != lines_.end() && line->parsed.kind != LineKind::Section; ++line) {
      if (line->parsed.kind != LineKind::Key) continue;
      section.keys.try_emplace(line->parsed.name, line);
      section.lastKey = line;
    }
    section.keysIndexed = true;
  }

  void DropIndexes() {
    sections_.clear();
    sectionsIndexed_ = false;
  }

  std::list<DocLine> lines_;
  std::deque<std::string> texts_;  // of the lines written; a deque never moves them, so the views stay good
  std::string_view lineEnd_;
  ByName<Section> sections_;
  bool sectionsIndexed_ = false;
};

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Cutting between the two bytes of a Chinese character would leave a stray lead byte that the next save
// writes back; the cut falls before such a character instead.
std::string_view CutToLength(std::string_view text, size_t maxLength) {
  if (text.size() <= maxLength) return text;
  size_t i = 0;
  while (i < maxLength) {
    const bool pair = IsGbkLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                      IsGbkTrail(static_cast<unsigned char>(text[i + 1]));
    const size_t width = pair ? 2 : 1;
    if (i + width > maxLength) break;
    i += width;
  }
  return text.substr(0, i);
}

std::string ValueOf(const Line& line) {
  std::string_view value = line.value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(CutToLength(value, kMaxValueLength));
}

void CheckNames(const std::string& section, const std::string& key) {
  constexpr std::string_view lineBreaks("\r\n\0", 3);
  if (Trim(section).empty() || section.find_first_of(lineBreaks) != std::string::npos ||
      section.find(']') != std::string::npos) {
    throw std::invalid_argument("invalid section name: " + section);
  }
  if (Trim(key).empty() || key.find_first_of(lineBreaks) != std::string::npos ||
      key.find('=') != std::string::npos) {
    throw std::invalid_argument("invalid key name: " + key);
  }
}

}  // namespace

IniFile::IniFile(const std::string& path)
    : path_(platform::PathText(std::filesystem::absolute(platform::NativePath(path)))) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const platform::WholeFile file = platform::LoadWholeFile(path_);
  const std::string_view wanted = Trim(key);
  std::optional<Line> found;
  VisitSection(file.bytes, Trim(section), [&](const Line& line) {
    if (!SameName(line.name, wanted)) return true;
    found = line;
    return false;
  });
  if (found && found->hasValue) return ValueOf(*found);
  // Windows drops the default's trailing blanks too, so a default reads as the same text stored would.
  std::string_view fallback = defaultValue;
  while (!fallback.empty() && IsBlank(fallback.back())) fallback.remove_suffix(1);
  return std::string(fallback);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
  return ParseIniInteger(ReadString(section, key, std::string())).value_or(defaultValue);
}

bool IniFile::HasKey(const std::string& section, const std::string& key) const {
  const platform::WholeFile file = platform::LoadWholeFile(path_);
  const std::string_view wanted = Trim(key);
  bool found = false;
  VisitSection(file.bytes, Trim(section), [&](const Line& line) {
    found = SameName(line.name, wanted);
    return !found;
  });
  return found;
}

IniPairs IniFile::ReadSection(const std::string& section) const {
  const platform::WholeFile file = platform::LoadWholeFile(path_);
  IniPairs pairs;
  // A [Ports] section may hold many thousands of keys: each is checked against those seen, not looked up
  // again.
  NameSet seen;
  VisitSection(file.bytes, Trim(section), [&](const Line& line) {
    // A key without "=" still hides a later one of the same name, as it does for ReadString.
    if (seen.insert(line.name).second && line.hasValue)
      pairs.emplace_back(std::string(line.name), ValueOf(line));
    return true;
  });
  return pairs;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  WriteStrings({IniWrite{section, key, value}});
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteStrings(const std::vector<IniWrite>& writes) {
  for (const IniWrite& write : writes) CheckNames(write.section, write.key);
  if (writes.empty()) return;
  const platform::WholeFile file = platform::LoadWholeFile(path_);
  // A file that exists but cannot be read would be replaced by one holding only the new values.
  if (file.state == platform::WholeFileState::Failed) throw EIniWriteError("Unable to write to " + path_);
  Document document(file.bytes);
  for (const IniWrite& write : writes) {
    const std::string_view value = write.value;
    // Blanks around the names are not part of them, as on reading: " IP " is the key IP.
    document.Write(Trim(write.section), Trim(write.key),
                   value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
  }
  const std::string out = document.Text();
  // Unchanged values need no disk write, which keeps a save of unchanged settings cheap.
  if (file.state == platform::WholeFileState::Loaded && out == file.bytes) return;
  Store(out);
}

void IniFile::RemoveStaleTemporaries() const { platform::RemoveStaleReplacements(path_); }

void IniFile::Store(const std::string& content) const {
  if (!platform::ReplaceWholeFile(path_, content)) throw EIniWriteError("Unable to write to " + path_);
}

std::optional<int> ParseIniInteger(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    i = 1;
  }
  unsigned base = 10;
  if (text.substr(i).starts_with("0x") || text.substr(i).starts_with("0X")) {
    base = 16;
    i += 2;
  } else if (text.substr(i).starts_with("$")) {
    base = 16;
    i += 1;
  }
  if (i >= text.size()) return std::nullopt;
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : 0x80000000ull;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f') {
      digit = static_cast<unsigned>(AsciiLower(c) - 'a' + 10);
    } else {
      return std::nullopt;
    }
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  if (base == 16) {
    const uint32_t bits = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  if (negative) return static_cast<int>(-static_cast<int64_t>(magnitude));
  if (magnitude > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<int>(magnitude);
}

}  // namespace settings
