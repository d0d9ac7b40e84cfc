#pragma once
// The fields of program.ini: for each, its section and key, the control of the main window it belongs to, its
// default, and how the window's design and restore-defaults use it. The table's order is the order in which
// the fields are loaded and saved. The settings file, restore-defaults, the window's design and the command
// line's [DTU] section all walk this one table, so a field added or changed here reaches every one of them.

#include <span>
#include <string>

#include "ui/MainFormDesign.h"

namespace ui {

inline constexpr const char* kSysSection = "Sys";
inline constexpr const char* kComSection = "Com";
inline constexpr const char* kDtuSection = "DTU";

// The language flag, written before every field: "1" Chinese, "0" English. It belongs to no control.
inline constexpr const char* kLanguageKey = "Lang";
// [Com]: the stable path of the adapter chosen in the port list after COM9, written only once one was
// chosen, so that the adapter is found again wherever it appears in the list at the next start.
inline constexpr const char* kChosenDeviceKey = "Device";

// The APN list: two fixed APNs, then the entry that takes an APN of the user's own from edt_APN_other.
inline constexpr const char* kApnCmnet = "CMNET";
inline constexpr const char* kApnUninet = "UNINET";
inline constexpr int kOtherApnIndex = 2;
// The APN a fixed entry stands for; nullptr for the other-APN entry and for an index that names nothing.
const char* FixedApnAt(int apnIndex);

// How the window's design shows a field before the settings file is read.
enum class Designed {
  AsDefault,
  // The designed data-bit list shows its first item ("7"); the file's default puts "8" there at every start,
  // and a window made without loading the settings keeps the design.
  FirstItem,
  // The other-APN edit is designed empty: its text comes from the APN choice when the settings load.
  Empty,
};

// Exactly one of list, edit and formText is set: the field is that list's item index, that edit's text, or a
// text the form keeps only for the file (CipmuxText, CipmodeText), which restore-defaults leaves alone.
struct DeviceField {
  const char* section;
  const char* key;
  TComboBox TMainFormDesign::*list = nullptr;
  TEdit TMainFormDesign::*edit = nullptr;
  std::string TMainFormDesign::*formText = nullptr;
  int defaultIndex = 0;               // of a list
  const char* defaultText = nullptr;  // of an edit or form text
  Designed designed = Designed::AsDefault;
};

// Every field in load and save order: [Com] (the PC port), then [DTU] (the device).
std::span<const DeviceField> DeviceFields();

// The field's value as the file holds it: a list's item index in decimal (-1 for none), or the text.
std::string FieldValue(const DeviceField& field, const TMainFormDesign& form);
// Sets the text of an edit or form-text field; does nothing for a list.
void SetFieldText(const DeviceField& field, TMainFormDesign& form, const std::string& text);
// Gives the field its default: the list item selected without a change event, or the text.
void SetFieldDefault(const DeviceField& field, TMainFormDesign& form);

// Whether the field is the APN choice (cbb_APN) or the APN text (edt_APN_other), which the settings file and
// the [DTU] section treat beside the table's plain rule.
bool IsApnChoice(const DeviceField& field);
bool IsApnText(const DeviceField& field);
// Restore-defaults puts back every device field shown in the window, the APN text only as text (the field
// keeps its look until the APN choice changes); the PC port and the two command texts stay as they are.
bool IsRestoredByDefaults(const DeviceField& field);

// Gives every field its designed value; the window's constructor calls it once its lists hold their items.
void ShowDesignedFields(TMainFormDesign& form);

// The HEX boxes of the two packets, each with its [DTU] key. A box says how its edit's text is sent, so its
// state is kept with the text: "1" while ticked. An unticked box is written ("0") only over a key the file
// already has, so a file that never had a ticked box keeps the table's keys and nothing more. A box is set
// without a click, so loading it converts nothing and the edit keeps the saved text.
struct HexBoxField {
  const char* key;
  TCheckBox TMainFormDesign::*box;
};
std::span<const HexBoxField> HexBoxFields();

}  // namespace ui
