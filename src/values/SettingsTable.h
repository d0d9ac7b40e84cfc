#pragma once
// The DTU's settings, one row each: how program.ini and the command line name a setting, its default, what
// kind of value it is and which values it accepts, which setting command carries it and where, which query
// reports it and where in the reply, and the language rows of its label and help. The window, the settings
// file, the command line, the encoding of the commands and the reading of the replies all walk this table, so
// a setting added here reaches every one of them.
//
// Values are held as program.ini holds them (GBK text): a list setting as the decimal position of its item,
// a number as its digits, a packet as the text its edit shows (plain text, or hex digits while its HEX flag
// is "1"), a flag as "1" or "0".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace values {

enum class Kind {
  Text,         // free text, sent as it is (inside quotes where the command quotes it)
  Number,       // decimal digits within [min, max]
  List,         // the position of an item of `items`
  Packet,       // a packet the DTU sends: plain text, or hex digits while its flag row says "1"
  Flag,         // "1" or "0": the HEX box of a packet
  CommandText,  // a whole command text kept only in program.ini (CIPMUX, CIPMODE)
};

// How a value becomes text in a command, and how the text a reply holds becomes the value again.
enum class Wire {
  AsIs,       // the value's text
  ItemText,   // the text of the list item at the value's position (matched without regard to case on read)
  IcfFormat,  // AT+ICF's format code, made of the data-bit and stop-bit rows together
  IcfParity,  // AT+ICF's parity code
  Hex,        // hex digits of the packet (the value itself while its flag is "1")
  Apn,        // the APN text: name, then account and password, each after a quoted comma
  Switch,     // a command text "AT+CIPMUX=0" is listed as its value after "="
  None,       // never sent or reported itself (the APN choice, the HEX flags)
};

struct Row {
  const char* key;           // the [DTU] key of program.ini, as the file spells it
  const char* defaultValue;  // as program.ini holds it; restore-defaults and a missing key use it
  Kind kind;
  Wire wire = Wire::None;
  // Number: the range the DTU takes. List: the items in position order (what each position means).
  int64_t min = 0;
  int64_t max = 0;
  std::span<const char* const> items = {};
  // Packet: the key of its HEX flag row.
  const char* flagKey = nullptr;
  // Written by setting command `step` (1 to 10) at placeholder `{position}` of its template; 0: not sent.
  int step = 0;
  int position = 0;
  // Reported by query `query` (1 to 3) in the entry named `entry` ("CIPR" for "+CIPR:" ...), as its
  // `entryPosition`th value (1-based), in the entry whose first value is `selector` when set (the two
  // CIPPACK entries). 0: not reported.
  int query = 0;
  const char* entry = nullptr;
  int entryPosition = 0;
  const char* selector = nullptr;
  // A complete read must report the row (derived: every reported row but these).
  bool optionalInListing = false;
  // The language rows of the field's label and of its help text ("(?)"), by key; nullptr for none.
  const char* labelKey = nullptr;
  const char* hintKey = nullptr;
  // The window's control that shows the value (its name in the window's design); nullptr for a row the
  // window shows in a row of its own made from this one.
  const char* control = nullptr;
};

// Every row, in program.ini's [DTU] order (changing it changes every saved file): the 15 device fields,
// CIPMUX, CIPMODE, then the two HEX flags.
std::span<const Row> Table();

// The row's position in Table() for a key in any letter case (the settings file matches keys that way);
// nothing for a key the table does not have.
std::optional<size_t> FindRow(std::string_view key);
// The same for a key the code names itself; a key that is not in the table is a programming error.
size_t RowOf(std::string_view key);

// The two rows AT+ICF's format code is made of (Wire::IcfFormat): the data bits and the stop bits.
struct IcfFormatRows {
  size_t dataBits;
  size_t stopBits;
};
IcfFormatRows FormatRows();

// The setting command's template: literal text with placeholders {1}, {2}, ... filled by the rows that name
// this step and position; CR LF not included. Steps 1 to 10.
std::string_view CommandTemplate(int step);

// Keys the code names itself.
inline constexpr const char* kApnIndex = "APN Index";
inline constexpr const char* kApnStr = "APN Str";
inline constexpr const char* kCipmux = "CIPMUX";
inline constexpr const char* kCipmode = "CIPMODE";

// The APN choice's positions: two fixed APNs, then the entry that takes an APN of the user's own.
inline constexpr const char* kApnCmnet = "CMNET";
inline constexpr const char* kApnUninet = "UNINET";
inline constexpr int kOtherApnIndex = 2;
// The APN a fixed position stands for; nullptr for the other-APN position and for one that names nothing.
const char* FixedApnAt(int apnIndex);

}  // namespace values
