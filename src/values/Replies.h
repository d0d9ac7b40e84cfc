#pragma once
// The DTU's answers to the three queries, read into values. The reply is the text the DTU sent for the query
// (its echo already taken off): information lines "+NAME: v1,v2,..." (several may run together on one line)
// and the final result. Values in double quotes are read exactly, commas and blanks included; blanks around
// an unquoted value are dropped.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "values/DtuValues.h"

namespace values {

struct ReplyReading {
  // The rows the reply reported, in table order; their values were set.
  std::vector<size_t> reported;
  // The first row whose listed value could not be taken exactly (a number that is not one, a list item the
  // list does not have, hex digits that are not pairs, an entry whose quotes do not close); its value was
  // left as it was. A reading with a problem is not a reading to write back.
  std::optional<size_t> unreadable;
  // The reply ended with the DTU's OK and held no ERROR.
  bool ok = false;
};

// Reads query 1 to 3's reply into values. A packet whose bytes have no text form (CR, LF, NUL, bytes that
// are not GBK) is kept in hex form and its flag set, so that writing the values back sends the same bytes;
// a packet whose flag is set stays in hex form as listed. An APN that is not a fixed one (CMNET, UNINET,
// in any letter case) sets the APN choice to the other-APN position.
ReplyReading ReadReply(int query, const std::string& reply, DtuValues& values);

// The rows a complete read of query (1 to 3; 0 for all) must report, derived from the table.
std::vector<size_t> RowsOfQuery(int query);

}  // namespace values
