#include "config/Encoding.h"

#include <array>

#include "values/ListMeanings.h"

namespace config {
namespace {

constexpr char kQuote = '"';
constexpr const char* kCrLf = "\r\n";

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Quoted(const std::string& text) { return kQuote + text + kQuote; }

// A packet edit holds hex digits when its box is ticked and plain text otherwise; the DTU always gets hex.
// Ticked digits go out untouched (no case change, no check) because the user typed exactly what the DTU
// should store.
std::string PacketHex(const ui::TEdit& edit, const ui::TCheckBox& box) {
  return box.Checked() ? edit.Text() : AsciiToHex(edit.Text());
}

}  // namespace

std::string AsciiToHex(const std::string& text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  return hex;
}

std::string HexToAscii(const std::string& hex) {
  std::string text;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    const int high = HexDigitValue(hex[i]);
    const int low = HexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) {
      throw EConvertError("'$" + hex.substr(i, 2) + "' is not a valid integer value");
    }
    text.push_back(static_cast<char>(high * 16 + low));
  }
  return text;
}

int DigitValue(char digit) {
  if (digit < '0' || digit > '9')
    throw EConvertError("'" + std::string(1, digit) + "' is not a valid integer value");
  return digit - '0';
}

std::string SetCommandText(const ui::TMainFormDesign& form, int step) {
  std::string text;
  switch (step) {
    case 1:
      text = "AT+CSTT=" + Quoted(form.edt_APN_other.Text());
      break;
    case 2:
      // The DTU takes the packing time before the packing length, although the window shows the length first.
      text = "AT+CIPCFG=1," + form.edtl_HeartbeatTime.Text() + ",0," + form.edt_WaitTime.Text() + "," +
             form.edt_WaitLen.Text() + "," + form.edt_RestartTime.Text();
      break;
    case 3:
      text = "AT+CIPPACK=0," + Quoted(PacketHex(form.edt_HeartbeatFormat, form.chk_HeartbeatFormat));
      break;
    case 4:
      text = "AT+CIPPACK=1," + Quoted(PacketHex(form.edt_DevID, form.chk_DevID));
      break;
    case 5:
      text = form.CipmuxText;
      break;
    case 6:
      text = form.CipmodeText;
      break;
    case 7:
      text = "AT+CIPSCONT=0," + Quoted(form.cbb_NetProtocol.Text()) + "," + Quoted(form.edt_IP.Text()) +
             ", " + form.edt_Port.Text() + ",2";
      break;
    case 8:
      text = "AT+ICF=" +
             std::to_string(values::DtuFormatCode(form.cbb_Com_Byte.ItemIndex(), form.cbb_Com_Stop.ItemIndex())) +
             "," + std::to_string(values::DtuParityCode(form.cbb_Com_Parity.ItemIndex()));
      break;
    case 9:
      text = "AT+CIPR=" + form.cbb_Com_BaudRate.Text();
      break;
    case 10:
      text = "ATW";
      break;
    default:
      return {};
  }
  return text + kCrLf;
}

std::string QueryText(int step) {
  static const std::array<const char*, 3> queries = {"AT+CIPR?", "AT+ICF?", "AT+CIPSCONT?"};
  if (step < 1 || step > 3) return {};
  return std::string(queries[static_cast<size_t>(step - 1)]) + kCrLf;
}

std::string ComposeApnText(const ApnParts& apn) {
  static const std::string separator = "\",\"";
  std::string text = apn.name;
  if (!apn.account.empty()) {
    text += separator + apn.account;
    if (!apn.password.empty()) text += separator + apn.password;
  }
  return text;
}

}  // namespace config
