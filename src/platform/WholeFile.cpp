#include "platform/WholeFile.h"

#include <atomic>
#include <chrono>

namespace platform::whole_file {
namespace {

// Nothing else in the folder has such a name, so a clean-up can find what a killed replacement left without
// touching anything else.
constexpr std::string_view kTempMark = ".tmp-";
constexpr std::string_view kTempSuffixChars =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr size_t kTempSuffixLength = 6;

bool AllOf(std::string_view text, std::string_view chars) {
  return !text.empty() && text.find_first_not_of(chars) == std::string_view::npos;
}

}  // namespace

std::string TemporaryName(const std::string& baseName, uint64_t processId) {
  static std::atomic<uint64_t> counter{0};
  // splitmix64 over the process, the clock and a count: distinct in every process, and the exclusive
  // creation settles the rest.
  uint64_t x = (processId << 40) ^
               static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  std::string name = "." + baseName + std::string(kTempMark);
  for (size_t i = 0; i < kTempSuffixLength; ++i, x /= kTempSuffixChars.size()) {
    name += kTempSuffixChars[x % kTempSuffixChars.size()];
  }
  return name;
}

bool IsTemporaryName(std::string_view name, std::string_view baseName) {
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

}  // namespace platform::whole_file
