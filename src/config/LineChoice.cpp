#include "config/LineChoice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "values/ListMeanings.h"

namespace config {
namespace {

// After the two factory rates, the faster ones first: they are the likelier choice of whoever changed it.
constexpr uint32_t kRates[] = {115200, 9600, 57600, 38400, 19200, 14400, 4800, 2400, 1200, 600, 300};
constexpr int kLikelyRates = 2;

struct Format {
  int dataBits;
  char parity;
  int stopBits;
};
constexpr Format kFormats[] = {{8, 'N', 1}, {8, 'E', 1}, {8, 'O', 1}, {8, 'N', 2}, {7, 'E', 1}, {7, 'O', 1},
                               {7, 'N', 1}, {8, 'E', 2}, {8, 'O', 2}, {7, 'E', 2}, {7, 'O', 2}, {7, 'N', 2}};

template <typename Item>
int IndexOf(const std::vector<std::string>& items, const Item& text) {
  const auto found = std::find(items.begin(), items.end(), text);
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

int ParityIndex(char letter) {
  for (int i = 0; values::ParityAt(i); ++i) {
    if (values::ParityAt(i)->letter == letter) return i;
  }
  return -1;
}

}  // namespace

std::vector<LineChoice> LineCandidates() {
  std::vector<LineChoice> candidates;
  const auto add = [&](size_t formatFrom, size_t formatTo, size_t rateFrom, size_t rateTo) {
    for (size_t f = formatFrom; f < formatTo; ++f) {
      for (size_t r = rateFrom; r < rateTo; ++r) {
        candidates.push_back({kRates[r], kFormats[f].dataBits, kFormats[f].parity, kFormats[f].stopBits});
      }
    }
  };
  const size_t rates = std::size(kRates);
  const size_t formats = std::size(kFormats);
  add(0, 1, 0, kLikelyRates);
  add(0, 1, kLikelyRates, rates);
  add(1, formats, 0, kLikelyRates);
  add(1, formats, kLikelyRates, rates);
  return candidates;
}

std::string Describe(const LineChoice& line) {
  return std::to_string(line.baudRate) + " " + std::to_string(line.dataBits) + line.parity +
         std::to_string(line.stopBits);
}

std::array<int, 4> ListIndexes(const LineChoice& line) {
  return {IndexOf(values::BaudRateItems(), std::to_string(line.baudRate)), ParityIndex(line.parity),
          IndexOf(values::DataBitsItems(), std::to_string(line.dataBits)),
          IndexOf(values::StopBitsItems(), std::to_string(line.stopBits))};
}

void PortLine::Take(const PortLine& chosen) {
  if (chosen.baudRate) baudRate = chosen.baudRate;
  if (chosen.dataBits) dataBits = chosen.dataBits;
  if (chosen.parity) parity = chosen.parity;
  if (chosen.stopBits) stopBits = chosen.stopBits;
}

PortLine WholeLine(const LineChoice& line) {
  return {line.baudRate, line.dataBits, line.parity, line.stopBits};
}

PortLine LineFromListIndexes(const std::array<int, 4>& indexes) {
  PortLine line;
  const auto& rates = values::BaudRateItems();
  if (indexes[0] >= 0 && static_cast<size_t>(indexes[0]) < rates.size()) {
    line.baudRate = static_cast<uint32_t>(std::stoul(rates[static_cast<size_t>(indexes[0])]));
  }
  if (const auto parity = values::ParityAt(indexes[1])) line.parity = parity->letter;
  line.dataBits = values::DataBitsAt(indexes[2]);
  line.stopBits = values::StopBitsAt(indexes[3]);
  return line;
}

std::optional<LineChoice> ParseLine(const std::string& text) {
  const size_t gap = text.find_first_of(", ");
  if (gap == std::string::npos || text.size() != gap + 4) return std::nullopt;
  const std::string rate = text.substr(0, gap);
  const std::string format = text.substr(gap + 1);
  const auto& rates = values::BaudRateItems();
  if (std::find(rates.begin(), rates.end(), rate) == rates.end()) return std::nullopt;
  LineChoice line{static_cast<uint32_t>(std::stoul(rate)), format[0] - '0',
                  static_cast<char>(std::toupper(static_cast<unsigned char>(format[1]))), format[2] - '0'};
  // Only the formats the DTU can be set to: anything else could never be its line.
  for (const LineChoice& candidate : LineCandidates()) {
    if (candidate == line) return line;
  }
  return std::nullopt;
}

}  // namespace config
