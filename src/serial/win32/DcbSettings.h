#pragma once
// The port's device control block for the line the component's properties ask for.

#include <windows.h>

#include "serial/LineRequest.h"

namespace serial {

// Pure: the block to write, built on the one the port has now. The whole flag word is rebuilt, so nothing of
// a previous user's handshakes or error handling survives; only EofChar, EvtChar and the reserved fields keep
// what the port had.
DCB BuildDcb(const LineRequest& line, const DCB& current);

// The time-outs as the port takes them.
COMMTIMEOUTS BuildCommTimeouts(const CommTimeouts& timeouts);

}  // namespace serial
