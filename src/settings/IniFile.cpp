#include "settings/IniFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <list>
#include <unordered_map>
#include <unordered_set>

#include "platform/UniqueFd.h"

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

enum class LoadState { Missing, Loaded, Failed };

struct LoadResult {
  LoadState state = LoadState::Missing;
  std::string text;
};

LoadResult LoadFile(const std::string& path) {
  LoadResult result;
  // Owned at once: growing the text can throw, and the descriptor must not stay open behind it.
  const platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) {
    result.state = errno == ENOENT || errno == ENOTDIR ? LoadState::Missing : LoadState::Failed;
    return result;
  }
  char buffer[8192];
  for (;;) {
    const ssize_t got = read(fd.Get(), buffer, sizeof buffer);
    if (got > 0) {
      result.text.append(buffer, static_cast<size_t>(got));
    } else if (got == 0) {
      result.state = LoadState::Loaded;
      break;
    } else if (errno != EINTR) {
      result.state = LoadState::Failed;
      break;
    }
  }
  return result;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t done = write(fd, data.data(), data.size());
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(done));
  }
  return true;
}

// Root may write any file, so access() says yes to root even for a file that nobody is meant to change; for
// root a file without any write bit counts as read-only, as an editor would warn about it.
bool MayWriteOver(const std::string& path, const struct stat& info) {
  if (geteuid() == 0) return (info.st_mode & 0222) != 0;
  return access(path.c_str(), W_OK) == 0;
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

// A save's temporary file is named after the file it replaces, hidden, with a random suffix:
// ".program.ini.tmp-XXXXXX". Nothing else in the folder has such a name, so a clean-up can find what a killed
// save left without touching anything else.
constexpr std::string_view kTempMark = ".tmp-";
constexpr std::string_view kTempSuffixChars =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr size_t kTempSuffixLength = 6;

std::string TempSuffix() {
  static std::atomic<uint64_t> counter{0};
  // splitmix64 over the process, the clock and a count: distinct in every process, and O_EXCL settles the
  // rest.
  uint64_t x = (static_cast<uint64_t>(getpid()) << 40) ^
               static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  std::string suffix;
  for (size_t i = 0; i < kTempSuffixLength; ++i, x /= kTempSuffixChars.size()) {
    suffix += kTempSuffixChars[x % kTempSuffixChars.size()];
  }
  return suffix;
}

bool AllOf(std::string_view text, std::string_view chars) {
  return !text.empty() && text.find_first_not_of(chars) == std::string_view::npos;
}

bool IsTempName(std::string_view name, std::string_view baseName) {
  if (!name.starts_with('.') || name.substr(1, baseName.size()) != baseName) return false;
  const std::string_view rest = name.substr(1 + baseName.size());
  if (rest.starts_with(kTempMark)) {
    const std::string_view suffix = rest.substr(kTempMark.size());
    return suffix.size() == kTempSuffixLength && AllOf(suffix, kTempSuffixChars);
  }
  // Earlier versions saved through ".program.ini.<process>.<count>", one per key, and a kill left them too.
  constexpr std::string_view digits = "0123456789";
  const size_t dot = rest.find('.', 1);
  return rest.starts_with('.') && dot != std::string_view::npos && AllOf(rest.substr(1, dot - 1), digits) &&
         AllOf(rest.substr(dot + 1), digits);
}

class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  // Closes before removing the name of a save that did not finish.
  ~TempFile() {
    fd_.Reset();
    if (!path_.empty()) unlink(path_.c_str());
  }

  bool Create(const std::string& folder, const std::string& baseName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = folder + "." + baseName + std::string(kTempMark) + TempSuffix();
      platform::UniqueFd fd(open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (!fd.Valid()) {
        if (errno == EEXIST) continue;
        return false;
      }
      // Locked from before the first byte until after the rename (the lock goes with a second descriptor,
      // which the check of the close leaves open), so that a program starting meanwhile and cleaning up
      // leaves a running save alone. The kernel drops the lock of a save that was killed.
      struct stat info {};
      platform::UniqueFd lock(fcntl(fd.Get(), F_DUPFD_CLOEXEC, 0));
      if (!lock.Valid() || flock(lock.Get(), LOCK_EX) != 0 || fstat(fd.Get(), &info) != 0) {
        unlink(candidate.c_str());
        return false;
      }
      // A clean-up took the file between its creation and the lock.
      if (info.st_nlink == 0) continue;
      fd_ = std::move(fd);
      lock_ = std::move(lock);
      path_ = std::move(candidate);
      return true;
    }
    return false;
  }

  int Fd() const { return fd_.Get(); }
  const std::string& Path() const { return path_; }

  // The close reports a write the disk did not take in the end.
  bool CloseFd() { return fd_.Close(); }
  // After the rename the name belongs to the real file.
  void Release() { path_.clear(); }

 private:
  platform::UniqueFd fd_;
  platform::UniqueFd lock_;
  std::string path_;
};

// A temporary file whose save is over: killed, since a save that fails removes its own.
void RemoveIfStale(const std::string& path) {
  const platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat held {};
  if (!fd.Valid() || fstat(fd.Get(), &held) != 0 || !S_ISREG(held.st_mode)) return;
  if (flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) return;  // a save still running
  // Another clean-up may have removed it meanwhile, and a save made a new file of the name.
  struct stat named {};
  if (lstat(path.c_str(), &named) != 0 || named.st_dev != held.st_dev || named.st_ino != held.st_ino) return;
  unlink(path.c_str());
}

// The file a save replaces: a program.ini that is a link keeps being one, so the file it points to is
// replaced.
std::string SaveTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string target = resolved;
  std::free(resolved);  // NOLINT: realpath hands over malloc'ed memory
  return target;
}

}  // namespace

IniFile::IniFile(const std::string& path) : path_(std::filesystem::absolute(path).string()) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const LoadResult file = LoadFile(path_);
  const std::string_view wanted = Trim(key);
  std::optional<Line> found;
  VisitSection(file.text, Trim(section), [&](const Line& line) {
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
  const LoadResult file = LoadFile(path_);
  const std::string_view wanted = Trim(key);
  bool found = false;
  VisitSection(file.text, Trim(section), [&](const Line& line) {
    found = SameName(line.name, wanted);
    return !found;
  });
  return found;
}

IniPairs IniFile::ReadSection(const std::string& section) const {
  const LoadResult file = LoadFile(path_);
  IniPairs pairs;
  // A [Ports] section may hold many thousands of keys: each is checked against those seen, not looked up
  // again.
  NameSet seen;
  VisitSection(file.text, Trim(section), [&](const Line& line) {
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
  const LoadResult file = LoadFile(path_);
  // A file that exists but cannot be read would be replaced by one holding only the new values.
  if (file.state == LoadState::Failed) throw EIniWriteError("Unable to write to " + path_);
  Document document(file.text);
  for (const IniWrite& write : writes) {
    const std::string_view value = write.value;
    // Blanks around the names are not part of them, as on reading: " IP " is the key IP.
    document.Write(Trim(write.section), Trim(write.key),
                   value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
  }
  const std::string out = document.Text();
  // Unchanged values need no disk write, which keeps a save of unchanged settings cheap.
  if (file.state == LoadState::Loaded && out == file.text) return;
  Store(out);
}

void IniFile::RemoveStaleTemporaries() const {
  const std::string target = SaveTarget(path_);
  const size_t slash = target.rfind('/');
  const std::string folder = target.substr(0, slash + 1);
  const std::string baseName = target.substr(slash + 1);
  // The names first: removing entries while the folder is being read may skip others.
  std::vector<std::string> stale;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (IsTempName(name, baseName)) stale.push_back(folder + name);
  }
  for (const std::string& path : stale) RemoveIfStale(path);
}

void IniFile::Store(const std::string& content) const {
  const EIniWriteError failure("Unable to write to " + path_);
  const std::string target = SaveTarget(path_);
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  // Windows refuses to write over a read-only file; so do we, rather than replace it behind its back. The
  // rename below would succeed for anyone who may write the folder, so the file's own rights are asked first.
  if (exists && !MayWriteOver(target, old)) throw failure;

  const size_t slash = target.rfind('/');
  const std::string folder = target.substr(0, slash + 1);
  const std::string baseName = target.substr(slash + 1);
  TempFile temp;
  if (!temp.Create(folder, baseName)) throw failure;
  if (exists) {
    fchmod(temp.Fd(), old.st_mode & 07777);
    if (fchown(temp.Fd(), old.st_uid, old.st_gid) != 0) {
      // Only root can hand the file back to its owner; anyone else writes it as their own, like an editor.
    }
  }
  if (!WriteAll(temp.Fd(), content) || fsync(temp.Fd()) != 0 || !temp.CloseFd()) throw failure;
  if (rename(temp.Path().c_str(), target.c_str()) != 0) throw failure;
  temp.Release();
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
