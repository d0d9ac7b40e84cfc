#include "config/LineChoice.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "ui/DeviceFields.h"
#include "values/ListMeanings.h"
#include "ui/MainFormDesign.h"

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

namespace {

// The item indexes of the baud-rate, parity, data-bit and stop-bit lists that show the settings.
std::array<int, 4> ListIndexes(const LineChoice& line) {
  return {IndexOf(values::BaudRateItems(), std::to_string(line.baudRate)), ParityIndex(line.parity),
          IndexOf(values::DataBitsItems(), std::to_string(line.dataBits)),
          IndexOf(values::StopBitsItems(), std::to_string(line.stopBits))};
}

}  // namespace

void ShowInPortLists(const LineChoice& line, ui::TMainFormDesign& form) {
  const std::array<int, 4> indexes = ListIndexes(line);
  const std::array<ui::TComboBox*, 4> lists = PortSettingLists(form);
  for (size_t i = 0; i < lists.size(); ++i) lists[i]->SetItemIndex(indexes[i]);
}

std::array<ui::TComboBox*, 4> PortSettingLists(ui::TMainFormDesign& form) {
  return {&form.cbb_Open_BaudRate, &form.cbb_Open_Parity, &form.cbb_Open_Byte, &form.cbb_Open_Stop};
}

std::string ComSection(const LineChoice& line) {
  const std::array<int, 4> indexes = ListIndexes(line);
  return std::string("[") + ui::kComSection + "]\n" + "BaudRate=" + std::to_string(indexes[0]) + "\n" +
         "Parity=" + std::to_string(indexes[1]) + "\n" + "Byte=" + std::to_string(indexes[2]) + "\n" +
         "Stop=" + std::to_string(indexes[3]) + "\n";
}

}  // namespace config
