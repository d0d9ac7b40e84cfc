#include "values/SettingsTable.h"

#include <array>
#include <stdexcept>

#include "values/Commands.h"
#include "values/ListMeanings.h"

namespace values {
namespace {

// A list's item texts as the table's rows hold them; the texts stay where ListMeanings put them.
class ItemTexts {
 public:
  explicit ItemTexts(std::vector<std::string> texts) : texts_(std::move(texts)) {
    for (const std::string& text : texts_) pointers_.push_back(text.c_str());
  }
  std::span<const char* const> Span() const { return pointers_; }

 private:
  std::vector<std::string> texts_;
  std::vector<const char*> pointers_;
};

constexpr std::array<const char*, 3> kApnItems = {kApnCmnet, kApnUninet, "Other"};

std::vector<Row> BuildTable() {
  static const ItemTexts baudRates(BaudRateItems());
  static const ItemTexts protocols(ProtocolItems());
  static const ItemTexts parities(ParityItems());
  static const ItemTexts dataBits(DataBitsItems());
  static const ItemTexts stopBits(StopBitsItems());
  // The Byte and Stop rows fill AT+ICF's format code together, in this order (see FormatRows).
  return {
      {.key = kApnIndex,
       .defaultValue = "0",
       .kind = Kind::List,
       .items = kApnItems,
       .labelKey = "lang_Lbl_APN",
       .hintKey = "lang_Hint_APN",
       .control = "cbb_APN"},
      {.key = kApnStr,
       .defaultValue = kApnCmnet,
       .kind = Kind::Text,
       .wire = Wire::Apn,
       .step = 1,
       .position = 1,
       .query = 3,
       .entry = "CSTT",
       .entryPosition = 1,
       .labelKey = "lang_Lbl_APN",
       .hintKey = "lang_Hint_APN",
       .control = "edt_APN_other"},
      {.key = "IP",
       .defaultValue = "dtu.example.com",
       .kind = Kind::Text,
       .wire = Wire::AsIs,
       .step = 7,
       .position = 2,
       .query = 3,
       .entry = "CIPSTART",
       .entryPosition = 2,
       .labelKey = "lang_Lbl_IP",
       .hintKey = "lang_Hint_IP",
       .control = "edt_IP"},
      // A TCP or UDP port; 0 names none.
      {.key = "Port",
       .defaultValue = "2317",
       .kind = Kind::Number,
       .wire = Wire::AsIs,
       .min = 1,
       .max = 65535,
       .step = 7,
       .position = 3,
       .query = 3,
       .entry = "CIPSTART",
       .entryPosition = 3,
       .labelKey = "lang_Lbl_Port",
       .hintKey = "lang_Hint_PtlPort",
       .control = "edt_Port"},
      {.key = "Protocol",
       .defaultValue = "0",
       .kind = Kind::List,
       .wire = Wire::ItemText,
       .items = protocols.Span(),
       .step = 7,
       .position = 1,
       .query = 3,
       .entry = "CIPSTART",
       .entryPosition = 1,
       .labelKey = "lang_Lbl_NetProtocol",
       .hintKey = "lang_Hint_Ptl",
       .control = "cbb_NetProtocol"},
      {.key = "BaudRate",
       .defaultValue = "10",
       .kind = Kind::List,
       .wire = Wire::ItemText,
       .items = baudRates.Span(),
       .step = 9,
       .position = 1,
       .query = 1,
       .entry = "CIPR",
       .entryPosition = 1,
       .labelKey = "lang_Lbl_DTUBaudRate",
       .hintKey = "lang_Hint_ComBaudRate",
       .control = "cbb_Com_BaudRate"},
      {.key = "Parity",
       .defaultValue = "0",
       .kind = Kind::List,
       .wire = Wire::IcfParity,
       .items = parities.Span(),
       .step = 8,
       .position = 2,
       .query = 2,
       .entry = "ICF",
       .entryPosition = 2,
       .labelKey = "lang_Lbl_ComParam",
       .hintKey = "lang_Hint_ComParam",
       .control = "cbb_Com_Parity"},
      {.key = "Byte",
       .defaultValue = "1",
       .kind = Kind::List,
       .wire = Wire::IcfFormat,
       .items = dataBits.Span(),
       .step = 8,
       .position = 1,
       .query = 2,
       .entry = "ICF",
       .entryPosition = 1,
       .labelKey = "lang_Lbl_ComParam",
       .hintKey = "lang_Hint_ComParam",
       .control = "cbb_Com_Byte"},
      {.key = "Stop",
       .defaultValue = "0",
       .kind = Kind::List,
       .wire = Wire::IcfFormat,
       .items = stopBits.Span(),
       .step = 8,
       .position = 1,
       .query = 2,
       .entry = "ICF",
       .entryPosition = 1,
       .labelKey = "lang_Lbl_ComParam",
       .hintKey = "lang_Hint_ComParam",
       .control = "cbb_Com_Stop"},
      {.key = "DevID",
       .defaultValue = "LOGIN:1001",
       .kind = Kind::Packet,
       .wire = Wire::Hex,
       .flagKey = "DevIDHex",
       .step = 4,
       .position = 1,
       .query = 3,
       .entry = "CIPPACK",
       .entryPosition = 2,
       .selector = "1",
       .labelKey = "lang_Lbl_DevID",
       .hintKey = "lang_Hint_DevID",
       .control = "edt_DevID"},
      {.key = "HeartbeatFormat",
       .defaultValue = "LOG",
       .kind = Kind::Packet,
       .wire = Wire::Hex,
       .flagKey = "HeartbeatFormatHex",
       .step = 3,
       .position = 1,
       .query = 3,
       .entry = "CIPPACK",
       .entryPosition = 2,
       .selector = "0",
       .labelKey = "lang_Lbl_HeartbeatFormat",
       .hintKey = "lang_Hint_HeartbeatFormat",
       .control = "edt_HeartbeatFormat"},
      // Seconds, a 16-bit count; 0 sends no heartbeat.
      {.key = "HeartbeatTime",
       .defaultValue = "50",
       .kind = Kind::Number,
       .wire = Wire::AsIs,
       .min = 0,
       .max = 65535,
       .step = 2,
       .position = 1,
       .query = 3,
       .entry = "CIPCFG",
       .entryPosition = 2,
       .labelKey = "lang_Lbl_HeartbeatTime",
       .hintKey = "lang_Hint_HeartbeatTime",
       .control = "edtl_HeartbeatTime"},
      // Milliseconds, a 16-bit count.
      {.key = "WaitTime",
       .defaultValue = "10",
       .kind = Kind::Number,
       .wire = Wire::AsIs,
       .min = 0,
       .max = 65535,
       .step = 2,
       .position = 2,
       .query = 3,
       .entry = "CIPCFG",
       .entryPosition = 4,
       .labelKey = "lang_Lbl_WaitTime",
       .hintKey = "lang_Hint_WaitTime",
       .control = "edt_WaitTime"},
      // Bytes: at most one TCP segment on an Ethernet path (1500 less the IP and TCP headers).
      {.key = "WaitLength",
       .defaultValue = "200",
       .kind = Kind::Number,
       .wire = Wire::AsIs,
       .min = 1,
       .max = 1460,
       .step = 2,
       .position = 3,
       .query = 3,
       .entry = "CIPCFG",
       .entryPosition = 5,
       .labelKey = "lang_Lbl_WaitLen",
       .hintKey = "lang_Hint_WaitLen",
       .control = "edt_WaitLen"},
      // Seconds: the help text's "Range: 1800- infinite", up to the largest signed 32-bit integer.
      {.key = "RestartTime",
       .defaultValue = "1800",
       .kind = Kind::Number,
       .wire = Wire::AsIs,
       .min = 1800,
       .max = 2147483647,
       .step = 2,
       .position = 4,
       .query = 3,
       .entry = "CIPCFG",
       .entryPosition = 6,
       .labelKey = "lang_Lbl_RestartTime",
       .hintKey = "lang_Hint_ResetTime",
       .control = "edt_RestartTime"},
      {.key = kCipmux,
       .defaultValue = "AT + CIPMUX = 0",
       .kind = Kind::CommandText,
       .wire = Wire::Switch,
       .step = 5,
       .position = 1,
       .query = 3,
       .entry = "CIPMUX",
       .entryPosition = 1,
       .optionalInListing = true},
      {.key = kCipmode,
       .defaultValue = "AT + CIPMODE = 1",
       .kind = Kind::CommandText,
       .wire = Wire::Switch,
       .step = 6,
       .position = 1,
       .query = 3,
       .entry = "CIPMODE",
       .entryPosition = 1,
       .optionalInListing = true},
      {.key = "DevIDHex", .defaultValue = "0", .kind = Kind::Flag, .control = "chk_DevID"},
      {.key = "HeartbeatFormatHex",
       .defaultValue = "0",
       .kind = Kind::Flag,
       .control = "chk_HeartbeatFormat"},
  };
}

// CR LF not included: the command's builder adds them.
constexpr std::array<std::string_view, 10> kTemplates = {
    "AT+CSTT=\"{1}\"",
    // The DTU takes the packing time before the packing length, although the window shows the length first.
    "AT+CIPCFG=1,{1},0,{2},{3},{4}",
    "AT+CIPPACK=0,\"{1}\"",
    "AT+CIPPACK=1,\"{1}\"",
    "{1}",
    "{1}",
    "AT+CIPSCONT=0,\"{1}\",\"{2}\", {3},2",
    "AT+ICF={1},{2}",
    "AT+CIPR={1}",
    "ATW",
};

}  // namespace

std::span<const Row> Table() {
  static const std::vector<Row> table = BuildTable();
  return table;
}

std::optional<size_t> FindRow(std::string_view key) {
  const std::string wanted = UpperAscii(key);
  const auto table = Table();
  for (size_t row = 0; row < table.size(); ++row) {
    if (UpperAscii(table[row].key) == wanted) return row;
  }
  return std::nullopt;
}

size_t RowOf(std::string_view key) {
  const auto row = FindRow(key);
  if (!row) throw std::logic_error("no setting " + std::string(key) + " in the table");
  return *row;
}

IcfFormatRows FormatRows() {
  static const IcfFormatRows rows = [] {
    std::vector<size_t> found;
    const auto table = Table();
    for (size_t row = 0; row < table.size(); ++row) {
      if (table[row].wire == Wire::IcfFormat) found.push_back(row);
    }
    if (found.size() != 2) throw std::logic_error("AT+ICF's format code needs two rows");
    return IcfFormatRows{found[0], found[1]};
  }();
  return rows;
}

std::string_view CommandTemplate(int step) {
  if (step < 1 || step > static_cast<int>(kTemplates.size())) return {};
  return kTemplates[static_cast<size_t>(step - 1)];
}

const char* FixedApnAt(int apnIndex) {
  switch (apnIndex) {
    case 0:
      return kApnCmnet;
    case 1:
      return kApnUninet;
    default:
      return nullptr;
  }
}

}  // namespace values
