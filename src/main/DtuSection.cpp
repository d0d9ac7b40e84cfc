#include "main/DtuSection.h"

namespace cli {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// The value as a line of the file can hold it and as the loader gives it back. The loader drops blanks at
// either end and one pair of enclosing quotation marks; a value that would lose either is put in quotation
// marks of its own, which the loader takes off again. Nothing after a line break could be read back at all.
std::string StoredForm(const std::string& value) {
  std::string stored = value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
  if (stored.empty()) return stored;
  const char first = stored.front();
  const bool quoted = stored.size() >= 2 && (first == '"' || first == '\'') && stored.back() == first;
  if (IsBlank(first) || IsBlank(stored.back()) || quoted) stored = '"' + stored + '"';
  return stored;
}

// A read that finds an APN of the DTU's own shows it in the APN field but leaves the list's choice where it
// was, and a write sends what the field holds. The loader, though, takes the field's text only for the third
// entry; so that the section brings back the APN the write would send, a field that does not match its fixed
// choice is given as the third entry.
int ApnIndex(const ui::TMainFormDesign& form) {
  const int index = form.cbb_APN.ItemIndex();
  const std::string& apn = form.edt_APN_other.Text();
  if ((index == 0 && apn == "CMNET") || (index == 1 && apn == "UNINET")) return index;
  return 2;
}

}  // namespace

std::string DtuSection(const ui::TMainFormDesign& form, const std::string& lineEnd) {
  std::string section = "[DTU]" + lineEnd;
  auto text = [&](const char* key, const std::string& value) {
    section += key;
    section += '=';
    section += StoredForm(value);
    section += lineEnd;
  };
  auto index = [&](const char* key, const ui::TComboBox& list) {
    text(key, std::to_string(list.ItemIndex()));
  };
  text("APN Index", std::to_string(ApnIndex(form)));
  text("APN Str", form.edt_APN_other.Text());
  text("IP", form.edt_IP.Text());
  text("Port", form.edt_Port.Text());
  index("Protocol", form.cbb_NetProtocol);
  index("BaudRate", form.cbb_Com_BaudRate);
  index("Parity", form.cbb_Com_Parity);
  index("Byte", form.cbb_Com_Byte);
  index("Stop", form.cbb_Com_Stop);
  text("DevID", form.edt_DevID.Text());
  text("HeartbeatFormat", form.edt_HeartbeatFormat.Text());
  text("HeartbeatTime", form.edtl_HeartbeatTime.Text());
  text("WaitTime", form.edt_WaitTime.Text());
  text("WaitLength", form.edt_WaitLen.Text());
  text("RestartTime", form.edt_RestartTime.Text());
  text("CIPMUX", form.CipmuxText);
  text("CIPMODE", form.CipmodeText);
  return section;
}

}  // namespace cli
