#include "values/Replies.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "platform/TextCodec.h"
#include "values/Commands.h"
#include "values/ListMeanings.h"

namespace values {
namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kError = "ERROR";
constexpr std::string_view kBlanks = " \t";

struct Field {
  std::string text;
  bool quoted = false;
  bool broken = false;  // a quote that does not close on its line, or one inside an unquoted value
  std::string after;    // what stands between a quoted value's closing quote and its separator
};

struct Entry {
  std::string name;  // in capitals
  std::vector<Field> fields;
};

struct Tokens {
  std::vector<Entry> entries;
  std::vector<std::string> otherLines;  // text outside the entries: the final result, an echo, noise
};

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsWholeNumber(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsHexPairs(const std::string& text) {
  return text.size() % 2 == 0 && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
         });
}

std::optional<int> SmallNumber(const std::string& text) {
  int number = 0;
  const char* end = text.data() + text.size();
  if (!IsWholeNumber(text)) return std::nullopt;
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

// Bytes a packet edit can show as text: the edit cannot hold line breaks or NUL, and bytes that are not GBK
// would not survive the screen.
bool IsShowableText(const std::string& bytes) {
  if (bytes.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  return platform::GbkToUtf8(bytes).find("\xEF\xBF\xBD") == std::string::npos;
}

// Splits a reply into its information entries and the lines around them. Nothing here knows a setting.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view reply) : r_(reply) {}

  Tokens Run() {
    std::string line;
    while (i_ < r_.size()) {
      if (const auto afterColon = EntryAt(i_)) {
        EndLine(line);
        ReadEntry(*afterColon);
        continue;
      }
      if (IsLineEnd(r_[i_])) {
        EndLine(line);
      } else {
        line.push_back(r_[i_]);
      }
      ++i_;
    }
    EndLine(line);
    return std::move(tokens_);
  }

  // Where the last value ended, when the reply holds one.
  std::optional<size_t> LastValueEnd() const { return lastValueEnd_; }

 private:
  // An entry starts at a '+' followed by its name and ':'; the position after the ':', or nothing.
  std::optional<size_t> EntryAt(size_t at) const {
    if (r_[at] != '+') return std::nullopt;
    const size_t colon = r_.find_first_of(":,\"+\r\n", at + 1);
    if (colon == std::string_view::npos || r_[colon] != ':') return std::nullopt;
    if (Trimmed(r_.substr(at + 1, colon - at - 1)).empty()) return std::nullopt;
    return colon + 1;
  }

  void EndLine(std::string& line) {
    if (!Trimmed(line).empty()) tokens_.otherLines.emplace_back(Trimmed(line));
    line.clear();
  }

  void ReadEntry(size_t afterColon) {
    Entry entry;
    entry.name = UpperAscii(Trimmed(r_.substr(i_ + 1, afterColon - i_ - 2)));
    i_ = afterColon;
    for (;;) {
      entry.fields.push_back(ReadField());
      lastValueEnd_ = i_;
      if (i_ >= r_.size() || r_[i_] != ',') break;
      ++i_;
    }
    tokens_.entries.push_back(std::move(entry));
  }

  Field ReadField() {
    Field field;
    while (i_ < r_.size() && kBlanks.find(r_[i_]) != std::string_view::npos) ++i_;
    if (i_ < r_.size() && r_[i_] == '"') {
      field.quoted = true;
      ++i_;
      while (i_ < r_.size() && r_[i_] != '"' && !IsLineEnd(r_[i_])) field.text.push_back(r_[i_++]);
      if (i_ < r_.size() && r_[i_] == '"') {
        ++i_;
      } else {
        field.broken = true;
      }
    }
    std::string rest;
    while (i_ < r_.size() && r_[i_] != ',' && !IsLineEnd(r_[i_]) && !EntryAt(i_)) {
      if (r_[i_] == '"') {
        // The rest of the value is no longer known: skip the quoted part so its commas divide nothing.
        field.broken = true;
        const size_t close = r_.find_first_of("\"\r\n", i_ + 1);
        i_ = close == std::string_view::npos ? r_.size() : r_[close] == '"' ? close + 1 : close;
        continue;
      }
      rest.push_back(r_[i_++]);
    }
    if (field.quoted) {
      field.after = Trimmed(rest);
    } else {
      field.text = Trimmed(rest);
    }
    return field;
  }

  std::string_view r_;
  size_t i_ = 0;
  Tokens tokens_;
  std::optional<size_t> lastValueEnd_;
};

bool HasError(std::string_view text) { return text.find(kError) != std::string_view::npos; }

// Run together, the final OK follows the last value without a line end ("...,2OK"); it is no part of it.
bool TakeTrailingOk(Tokens& tokens, std::string_view reply, std::optional<size_t> lastValueEnd) {
  if (tokens.entries.empty() || !lastValueEnd) return false;
  if (reply.substr(*lastValueEnd).find_first_not_of(" \t\r\n") != std::string_view::npos) return false;
  Field& last = tokens.entries.back().fields.back();
  std::string& text = last.quoted ? last.after : last.text;
  if (last.broken || !std::string_view(text).ends_with(kOk)) return false;
  text = Trimmed(std::string_view(text).substr(0, text.size() - kOk.size()));
  return true;
}

struct Reading {
  std::vector<std::optional<std::string>> taken;
  std::vector<bool> bad;
};

// The entry that reports the row: the first of its name (and selector).
const Entry* EntryOf(const Tokens& tokens, const Row& row) {
  const std::string name = UpperAscii(row.entry);
  for (const Entry& entry : tokens.entries) {
    if (entry.name != name) continue;
    if (row.selector == nullptr) return &entry;
    const Field& first = entry.fields.front();
    if (!first.broken && first.text == row.selector) return &entry;
  }
  return nullptr;
}

std::optional<std::string> ItemPosition(const Row& row, const std::string& text) {
  const std::string wanted = UpperAscii(text);
  for (size_t item = 0; item < row.items.size(); ++item) {
    if (UpperAscii(row.items[item]) == wanted) return std::to_string(item);
  }
  return std::nullopt;
}

std::optional<std::string> FormatPosition(size_t row, const std::string& text) {
  const auto code = SmallNumber(text);
  const auto format = code ? ByteAndStopFromDtuCode(*code) : std::nullopt;
  if (!format) return std::nullopt;
  return std::to_string(row == FormatRows().dataBits ? format->byteIndex : format->stopIndex);
}

std::optional<std::string> ParityPosition(const std::string& text) {
  const auto code = SmallNumber(text);
  const auto parity = code ? ParityIndexFromDtuCode(*code) : std::nullopt;
  if (!parity) return std::nullopt;
  return std::to_string(*parity);
}

void TakePacket(size_t row, const std::string& digits, const DtuValues& values, Reading& reading) {
  if (!IsHexPairs(digits)) {
    reading.bad[row] = true;
    return;
  }
  if (values.IsHexForm(row)) {
    reading.taken[row] = digits;
    return;
  }
  std::string bytes = HexToAscii(digits);
  if (IsShowableText(bytes)) {
    reading.taken[row] = std::move(bytes);
    return;
  }
  reading.taken[row] = digits;
  reading.taken[RowOf(Table()[row].flagKey)] = "1";
}

void TakeApn(size_t row, const Entry& entry, Reading& reading) {
  const auto part = [&](size_t index) { return index < entry.fields.size() ? entry.fields[index].text : ""; };
  for (size_t index = 0; index < std::min<size_t>(3, entry.fields.size()); ++index) {
    if (entry.fields[index].broken) {
      reading.bad[row] = true;
      return;
    }
  }
  const ApnParts apn{part(0), part(1), part(2)};
  int apnIndex = kOtherApnIndex;
  for (int fixed = 0; FixedApnAt(fixed) != nullptr; ++fixed) {
    if (apn.account.empty() && UpperAscii(apn.name) == FixedApnAt(fixed)) apnIndex = fixed;
  }
  const char* fixedApn = FixedApnAt(apnIndex);
  reading.taken[row] = fixedApn != nullptr ? fixedApn : ComposeApnText(apn);
  reading.taken[RowOf(kApnIndex)] = std::to_string(apnIndex);
}

void Take(size_t row, const Entry& entry, const DtuValues& values, Reading& reading) {
  const Row& r = Table()[row];
  if (r.entryPosition < 1 || static_cast<size_t>(r.entryPosition) > entry.fields.size()) return;
  const Field& field = entry.fields[static_cast<size_t>(r.entryPosition - 1)];
  if (field.broken) {
    reading.bad[row] = true;
    return;
  }
  std::optional<std::string> value;
  switch (r.wire) {
    case Wire::AsIs:
      if (r.kind != Kind::Number || IsWholeNumber(field.text)) value = field.text;
      break;
    case Wire::ItemText:
      value = ItemPosition(r, field.text);
      break;
    case Wire::IcfFormat:
      value = FormatPosition(row, field.text);
      break;
    case Wire::IcfParity:
      value = ParityPosition(field.text);
      break;
    case Wire::Hex:
      return TakePacket(row, field.text, values, reading);
    case Wire::Apn:
      return TakeApn(row, entry, reading);
    case Wire::Switch:
      value = "AT+" + std::string(r.entry) + "=" + field.text;
      break;
    case Wire::None:
      return;
  }
  if (value) {
    reading.taken[row] = std::move(value);
  } else {
    reading.bad[row] = true;
  }
}

}  // namespace

ReplyReading ReadReply(int query, const std::string& reply, DtuValues& values) {
  Tokenizer tokenizer(reply);
  Tokens tokens = tokenizer.Run();
  ReplyReading result;
  bool ok = TakeTrailingOk(tokens, reply, tokenizer.LastValueEnd());
  for (Entry& entry : tokens.entries) {
    for (Field& field : entry.fields) field.broken = field.broken || !field.after.empty();
  }
  bool error = false;
  for (const std::string& line : tokens.otherLines) {
    ok = ok || line == kOk;
    error = error || HasError(line);
  }
  for (const Entry& entry : tokens.entries) {
    error = error || HasError(entry.name);
    for (const Field& field : entry.fields) error = error || (!field.quoted && HasError(field.text));
  }
  result.ok = ok && !error;

  const auto table = Table();
  Reading reading{std::vector<std::optional<std::string>>(table.size()), std::vector<bool>(table.size())};
  for (size_t row = 0; row < table.size(); ++row) {
    if (table[row].query != query || table[row].entry == nullptr) continue;
    if (const Entry* entry = EntryOf(tokens, table[row])) Take(row, *entry, values, reading);
  }
  // An entry with one value that cannot be taken says nothing certain about its others either: an unquoted
  // comma in the server moves the port into the server's place. None of its values is taken.
  const auto sameEntry = [&](size_t a, size_t b) {
    const Row& x = table[a];
    const Row& y = table[b];
    return x.query == y.query && x.entry != nullptr && y.entry != nullptr &&
           std::string_view(x.entry) == y.entry &&
           std::string_view(x.selector ? x.selector : "") == (y.selector ? y.selector : "");
  };
  for (size_t bad = 0; bad < table.size(); ++bad) {
    if (!reading.bad[bad]) continue;
    for (size_t row = 0; row < table.size(); ++row) {
      if (sameEntry(bad, row)) reading.taken[row].reset();
    }
  }
  for (size_t row = 0; row < table.size(); ++row) {
    if (reading.bad[row]) {
      if (!result.unreadable) result.unreadable = row;
    } else if (reading.taken[row]) {
      values.SetAt(row, std::move(*reading.taken[row]));
      result.reported.push_back(row);
    }
  }
  return result;
}

std::vector<size_t> RowsOfQuery(int query) {
  std::vector<size_t> rows;
  const auto table = Table();
  for (size_t row = 0; row < table.size(); ++row) {
    const Row& r = table[row];
    const bool reported = r.query != 0 && (query == 0 || r.query == query) && !r.optionalInListing;
    // The APN choice is never listed: it follows from the APN the listing names.
    const bool derived =
        row == RowOf(kApnIndex) && std::any_of(table.begin(), table.end(), [&](const Row& apn) {
          return apn.wire == Wire::Apn && (query == 0 || apn.query == query);
        });
    if (reported || derived) rows.push_back(row);
  }
  return rows;
}

}  // namespace values
