#include "config/LineChoice.h"

#include <algorithm>
#include <string_view>

#include "ui/DeviceFields.h"
#include "ui/ListMeanings.h"
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
  for (int i = 0; ui::ParityAt(i); ++i) {
    if (ui::ParityAt(i)->letter == letter) return i;
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

void ShowInPortLists(const LineChoice& line, ui::TMainFormDesign& form) {
  form.cbb_Open_BaudRate.SetItemIndex(IndexOf(ui::BaudRateItems(), std::to_string(line.baudRate)));
  form.cbb_Open_Parity.SetItemIndex(ParityIndex(line.parity));
  form.cbb_Open_Byte.SetItemIndex(IndexOf(ui::DataBitsItems(), std::to_string(line.dataBits)));
  form.cbb_Open_Stop.SetItemIndex(IndexOf(ui::StopBitsItems(), std::to_string(line.stopBits)));
}

std::string ComSection(const LineChoice& line) {
  return std::string("[") + ui::kComSection + "]\n" +
         "BaudRate=" + std::to_string(IndexOf(ui::BaudRateItems(), std::to_string(line.baudRate))) + "\n" +
         "Parity=" + std::to_string(ParityIndex(line.parity)) + "\n" +
         "Byte=" + std::to_string(IndexOf(ui::DataBitsItems(), std::to_string(line.dataBits))) + "\n" +
         "Stop=" + std::to_string(IndexOf(ui::StopBitsItems(), std::to_string(line.stopBits))) + "\n";
}

}  // namespace config
