#include "ui/DeviceFields.h"

#include <array>
#include <string_view>

namespace ui {
namespace {

using F = TMainFormDesign;

constexpr DeviceField List(const char* section, const char* key, TComboBox F::*list, int defaultIndex,
                           Designed designed = Designed::AsDefault) {
  return {section, key, list, nullptr, nullptr, defaultIndex, nullptr, designed};
}

constexpr DeviceField Edit(const char* key, TEdit F::*edit, const char* defaultText,
                           Designed designed = Designed::AsDefault) {
  return {kDtuSection, key, nullptr, edit, nullptr, 0, defaultText, designed};
}

constexpr DeviceField FormText(const char* key, std::string F::*text, const char* defaultText) {
  return {kDtuSection, key, nullptr, nullptr, text, 0, defaultText, Designed::AsDefault};
}

// The order is the file's: changing it changes every saved program.ini.
constexpr std::array<DeviceField, 22> kFields = {
    List(kComSection, "ComName", &F::cbb_Open_ComName, 0),
    List(kComSection, "BaudRate", &F::cbb_Open_BaudRate, 10),
    List(kComSection, "Parity", &F::cbb_Open_Parity, 0),
    List(kComSection, "Byte", &F::cbb_Open_Byte, 1),
    List(kComSection, "Stop", &F::cbb_Open_Stop, 0),
    List(kDtuSection, "APN Index", &F::cbb_APN, 0),
    Edit("APN Str", &F::edt_APN_other, kApnCmnet, Designed::Empty),
    Edit("IP", &F::edt_IP, "dtu.example.com"),
    Edit("Port", &F::edt_Port, "2317"),
    List(kDtuSection, "Protocol", &F::cbb_NetProtocol, 0),
    List(kDtuSection, "BaudRate", &F::cbb_Com_BaudRate, 10),
    List(kDtuSection, "Parity", &F::cbb_Com_Parity, 0),
    List(kDtuSection, "Byte", &F::cbb_Com_Byte, 1, Designed::FirstItem),
    List(kDtuSection, "Stop", &F::cbb_Com_Stop, 0),
    Edit("DevID", &F::edt_DevID, "LOGIN:1001"),
    Edit("HeartbeatFormat", &F::edt_HeartbeatFormat, "LOG"),
    Edit("HeartbeatTime", &F::edtl_HeartbeatTime, "50"),
    Edit("WaitTime", &F::edt_WaitTime, "10"),
    Edit("WaitLength", &F::edt_WaitLen, "200"),
    Edit("RestartTime", &F::edt_RestartTime, "1800"),
    FormText("CIPMUX", &F::CipmuxText, "AT + CIPMUX = 0"),
    FormText("CIPMODE", &F::CipmodeText, "AT + CIPMODE = 1"),
};

// After the table's keys, in this order, where written at all.
constexpr std::array<HexBoxField, 2> kHexBoxes = {{
    {"DevIDHex", &F::chk_DevID},
    {"HeartbeatFormatHex", &F::chk_HeartbeatFormat},
}};

}  // namespace

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

std::span<const DeviceField> DeviceFields() { return kFields; }
std::span<const HexBoxField> HexBoxFields() { return kHexBoxes; }

std::string FieldValue(const DeviceField& field, const TMainFormDesign& form) {
  if (field.list != nullptr) return std::to_string((form.*field.list).ItemIndex());
  if (field.edit != nullptr) return (form.*field.edit).Text();
  return form.*field.formText;
}

void SetFieldText(const DeviceField& field, TMainFormDesign& form, const std::string& text) {
  if (field.edit != nullptr) (form.*field.edit).SetText(text);
  if (field.formText != nullptr) form.*field.formText = text;
}

void SetFieldDefault(const DeviceField& field, TMainFormDesign& form) {
  if (field.list != nullptr) {
    (form.*field.list).SetItemIndex(field.defaultIndex);
  } else {
    SetFieldText(field, form, field.defaultText);
  }
}

bool IsApnChoice(const DeviceField& field) { return field.list == &F::cbb_APN; }
bool IsApnText(const DeviceField& field) { return field.edit == &F::edt_APN_other; }

bool IsRestoredByDefaults(const DeviceField& field) {
  return std::string_view(field.section) == kDtuSection && field.formText == nullptr;
}

void ShowDesignedFields(TMainFormDesign& form) {
  for (const DeviceField& field : kFields) {
    switch (field.designed) {
      case Designed::AsDefault:
        SetFieldDefault(field, form);
        break;
      case Designed::FirstItem:
        (form.*field.list).SetItemIndex(0);
        break;
      case Designed::Empty:
        break;
    }
  }
}

}  // namespace ui
