#include "settings/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
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

// One line of the file as offsets into its text, so that a write can rebuild the file around the one value
// it changes and leave every other byte alone.
struct Line {
  size_t end = 0;   // end of the content, before the line end
  size_t next = 0;  // start of the next line
  LineKind kind = LineKind::Other;
  std::string_view name;  // section or key, trimmed
  bool hasValue = false;  // a key line without "=" has no value: reads give the default
  size_t keyEnd = 0;
  size_t valueBegin = 0;  // first byte after "=" and its blanks
  std::string_view value;
};

Line ParseLine(std::string_view text, size_t contentBegin, size_t end, size_t next) {
  Line line;
  line.end = end;
  line.next = next;
  size_t p = contentBegin;
  while (p < end && IsBlank(text[p])) ++p;
  if (p == end || text[p] == ';') return line;
  if (text[p] == '[') {
    // Windows still opens the section when the "]" is missing, naming it by the rest of the line; read as a
    // key instead, every value under it would fall back to its default and a save would add a second one.
    const size_t close = text.substr(0, end).find(']', p + 1);
    line.kind = LineKind::Section;
    line.name = Trim(text.substr(p + 1, (close == std::string_view::npos ? end : close) - p - 1));
    return line;
  }
  const size_t equals = text.substr(0, end).find('=', p);
  const size_t keyStop = equals == std::string_view::npos ? end : equals;
  line.name = Trim(text.substr(p, keyStop - p));
  if (line.name.empty()) return line;
  line.kind = LineKind::Key;
  line.keyEnd = p + line.name.size();
  if (equals != std::string_view::npos) {
    line.hasValue = true;
    line.valueBegin = equals + 1;
    while (line.valueBegin < end && IsBlank(text[line.valueBegin])) ++line.valueBegin;
    line.value = Trim(text.substr(line.valueBegin, end - line.valueBegin));
  }
  return line;
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  // An editor may have put a byte order mark before the first section; it stays in the file untouched.
  size_t contentBegin = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    size_t next = 0;
    if (end == std::string_view::npos) {
      end = text.size();
      next = end;
    } else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      next = end + 2;
    } else {
      next = end + 1;
    }
    lines.push_back(ParseLine(text, std::max(pos, contentBegin), end, next));
    contentBegin = 0;
    pos = next;
  }
  return lines;
}

// The line end the file already uses, so that added lines match it; CR LF for a new file.
std::string_view LineEndOf(std::string_view text) {
  const size_t pos = text.find_first_of("\r\n");
  if (pos == std::string_view::npos) return "\r\n";
  if (text[pos] == '\n') return "\n";
  return pos + 1 < text.size() && text[pos + 1] == '\n' ? "\r\n" : "\r";
}

// Indexes [header, end) of the first section of that name: later sections of the same name are never read.
struct SectionRange {
  size_t header = 0;
  size_t end = 0;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !SameName(lines[i].name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != LineKind::Section) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

const Line* FindKey(const std::vector<Line>& lines, const SectionRange& range, std::string_view key) {
  for (size_t i = range.header + 1; i < range.end; ++i) {
    if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key)) return &lines[i];
  }
  return nullptr;
}

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

  // A fresh name beside the target, hidden, so that an interrupted save leaves no second program.ini.
  bool Create(const std::string& folder, const std::string& baseName) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = folder + "." + baseName + "." + std::to_string(getpid()) + "." +
                              std::to_string(counter.fetch_add(1));
      fd_.Reset(open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (fd_.Valid()) {
        path_ = std::move(candidate);
        return true;
      }
      if (errno != EEXIST) return false;
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
  std::string path_;
};

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

}  // namespace

IniFile::IniFile(const std::string& path) : path_(std::filesystem::absolute(path).string()) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const LoadResult file = LoadFile(path_);
  const std::vector<Line> lines = SplitLines(file.text);
  const auto range = FindSection(lines, Trim(section));
  const Line* line = range ? FindKey(lines, *range, Trim(key)) : nullptr;
  if (line && line->hasValue) return ValueOf(*line);
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
  const std::vector<Line> lines = SplitLines(file.text);
  const auto range = FindSection(lines, Trim(section));
  return range && FindKey(lines, *range, Trim(key)) != nullptr;
}

IniPairs IniFile::ReadSection(const std::string& section) const {
  const LoadResult file = LoadFile(path_);
  const std::vector<Line> lines = SplitLines(file.text);
  const auto range = FindSection(lines, Trim(section));
  IniPairs pairs;
  if (!range) return pairs;
  // A [Ports] section may hold many thousands of keys: each is checked against those seen, not looked up
  // again.
  NameSet seen;
  for (size_t i = range->header + 1; i < range->end; ++i) {
    const Line& line = lines[i];
    // A key without "=" still hides a later one of the same name, as it does for ReadString.
    if (line.kind != LineKind::Key || !seen.insert(line.name).second || !line.hasValue) continue;
    pairs.emplace_back(std::string(line.name), ValueOf(line));
  }
  return pairs;
}

void IniFile::WriteString(const std::string& sectionName, const std::string& keyName,
                          const std::string& value) {
  CheckNames(sectionName, keyName);
  // Blanks around the names are not part of them, as on reading: " IP " is the key IP.
  const std::string_view section = Trim(sectionName);
  const std::string_view key = Trim(keyName);
  const std::string_view stored =
      std::string_view(value).substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
  const LoadResult file = LoadFile(path_);
  // A file that exists but cannot be read would be replaced by one holding only the new value.
  if (file.state == LoadState::Failed) throw EIniWriteError("Unable to write to " + path_);
  const std::string_view text = file.text;
  const std::vector<Line> lines = SplitLines(text);
  const std::string_view lineEnd = LineEndOf(text);
  const std::string keyLine = std::string(key) + "=" + std::string(stored);

  std::string out;
  const auto range = FindSection(lines, section);
  if (!range) {
    out = text;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += lineEnd;
    out.append("[").append(section).append("]").append(lineEnd).append(keyLine).append(lineEnd);
  } else if (const Line* line = FindKey(lines, *range, key)) {
    if (line->hasValue) {
      out.append(text.substr(0, line->valueBegin)).append(stored);
    } else {
      out.append(text.substr(0, line->keyEnd)).append("=").append(stored);
    }
    out.append(text.substr(line->end));
    // A changed last line of a file without a final line end gets one, as the Windows tool writes every line;
    // an unchanged one still needs no write, which a read-only file relies on.
    if (line->next == line->end && out != text) out.append(lineEnd);
  } else {
    size_t after = range->header;
    for (size_t i = range->header + 1; i < range->end; ++i) {
      if (lines[i].kind == LineKind::Key) after = i;
    }
    const Line& last = lines[after];
    out.append(text.substr(0, last.next));
    // After a last line without a line end, the line end goes before the new key and after it too.
    if (last.next == last.end) out.append(lineEnd);
    out.append(keyLine).append(lineEnd).append(text.substr(last.next));
  }
  // An unchanged value needs no disk write, which keeps a save of unchanged settings cheap.
  if (file.state == LoadState::Loaded && out == text) return;
  Store(out);
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::Store(const std::string& content) const {
  const EIniWriteError failure("Unable to write to " + path_);
  std::string target = path_;
  struct stat old {};
  bool exists = lstat(target.c_str(), &old) == 0;
  // A program.ini that is a link keeps being one: the new content replaces the file it points to.
  if (exists && S_ISLNK(old.st_mode)) {
    char* resolved = realpath(target.c_str(), nullptr);
    if (resolved) {
      target = resolved;
      std::free(resolved);  // NOLINT: realpath hands over malloc'ed memory
    }
    exists = stat(target.c_str(), &old) == 0;
  }
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
