#pragma once
// write --verify: what a write-all sent, field by field, and which of those fields the DTU reported back
// otherwise when it was read afterwards. A module may answer OK to a setting and still keep its old value;
// only a read-back shows that.

#include <string>
#include <utility>
#include <vector>

#include "app/Tfrm_Main.h"

namespace cli {

// [DTU] keys and values in the table's order, in a form in which a value and its read-back compare equal
// when the DTU kept it: numbers without leading zeros (the DTU keeps integers), the APN name in capitals (the
// window reads APNs so), CIPMUX and CIPMODE as the number they set. The APN choice is left out: it is never
// sent, only the APN text it leads to.
using FieldValues = std::vector<std::pair<std::string, std::string>>;

// The fields as the window holds them once a write-all has sent them.
FieldValues WrittenFields(const app::Tfrm_Main& form);

// The fields as the read that followed the write left them. CIPMUX and CIPMODE are what the DTU listed
// (empty when it listed nothing).
FieldValues ReadBackFields(const app::Tfrm_Main& form);

// The keys whose read-back differs from what was written, in the table's order.
std::vector<std::string> NotKept(const FieldValues& written, const FieldValues& readBack);

}  // namespace cli
