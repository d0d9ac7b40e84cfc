#include "values/ListMeanings.h"

#include <iterator>

namespace values {
namespace {

struct ParityItem {
  const char* text;
  ParityMeaning meaning;
};

struct BitsItem {
  const char* text;
  int bits;
};

constexpr ParityItem kParity[] = {
    {"NONE", {Parity::None, 'N', 3}}, {"ODD", {Parity::Odd, 'O', 0}}, {"EVEN", {Parity::Even, 'E', 1}}};
constexpr BitsItem kDataBits[] = {{"7", 7}, {"8", 8}};
constexpr BitsItem kStopBits[] = {{"1", 1}, {"2", 2}};

// The formats AT+ICF knows, by data and stop bits; the DTU has no code for any other pair.
struct DtuFormat {
  int dataBits;
  int stopBits;
  int code;
};
constexpr DtuFormat kDtuFormats[] = {{8, 2, 1}, {8, 1, 3}, {7, 2, 4}, {7, 1, 5}};
constexpr int kFallbackDataBits = 8;
constexpr int kFallbackStopBits = 1;

template <typename Item, size_t N>
const Item* At(const Item (&items)[N], int index) {
  return index >= 0 && static_cast<size_t>(index) < N ? &items[index] : nullptr;
}

template <typename Item, size_t N>
std::vector<std::string> Texts(const Item (&items)[N]) {
  std::vector<std::string> texts;
  for (const Item& item : items) texts.emplace_back(item.text);
  return texts;
}

template <typename Item, size_t N, typename Match>
std::optional<int> IndexWhere(const Item (&items)[N], Match match) {
  for (size_t i = 0; i < N; ++i) {
    if (match(items[i])) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> BitsAt(const BitsItem* item) {
  if (item == nullptr) return std::nullopt;
  return item->bits;
}

}  // namespace

const std::vector<std::string>& BaudRateItems() {
  static const std::vector<std::string> items = {"300",   "600",   "1200",  "2400",  "4800",  "9600",
                                                 "14400", "19200", "38400", "57600", "115200"};
  return items;
}

std::vector<std::string> ProtocolItems() { return {"TCP", "UDP"}; }

std::vector<std::string> ParityItems() { return Texts(kParity); }
std::vector<std::string> DataBitsItems() { return Texts(kDataBits); }
std::vector<std::string> StopBitsItems() { return Texts(kStopBits); }

std::optional<ParityMeaning> ParityAt(int index) {
  const ParityItem* item = At(kParity, index);
  if (item == nullptr) return std::nullopt;
  return item->meaning;
}

std::optional<int> DataBitsAt(int index) { return BitsAt(At(kDataBits, index)); }
std::optional<int> StopBitsAt(int index) { return BitsAt(At(kStopBits, index)); }

int DtuFormatCode(int byteIndex, int stopIndex) {
  const auto dataBits = DataBitsAt(byteIndex);
  const auto stopBits = StopBitsAt(stopIndex);
  // One list naming nothing gives the whole fallback, not a mix with the other list's choice.
  const bool named = dataBits && stopBits;
  const int wantData = named ? *dataBits : kFallbackDataBits;
  const int wantStop = named ? *stopBits : kFallbackStopBits;
  for (const DtuFormat& format : kDtuFormats) {
    if (format.dataBits == wantData && format.stopBits == wantStop) return format.code;
  }
  // Not reached: every pair the two lists can name has a format.
  return kDtuFormats[1].code;
}

int DtuParityCode(int parityIndex) { return ParityAt(parityIndex).value_or(kParity[0].meaning).dtuCode; }

std::optional<ByteAndStop> ByteAndStopFromDtuCode(int formatCode) {
  for (const DtuFormat& format : kDtuFormats) {
    if (format.code != formatCode) continue;
    const auto byteIndex =
        IndexWhere(kDataBits, [&](const BitsItem& item) { return item.bits == format.dataBits; });
    const auto stopIndex =
        IndexWhere(kStopBits, [&](const BitsItem& item) { return item.bits == format.stopBits; });
    if (byteIndex && stopIndex) return ByteAndStop{*byteIndex, *stopIndex};
  }
  return std::nullopt;
}

std::optional<int> ParityIndexFromDtuCode(int parityCode) {
  return IndexWhere(kParity, [&](const ParityItem& item) { return item.meaning.dtuCode == parityCode; });
}

}  // namespace values
