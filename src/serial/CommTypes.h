#pragma once
// The enumerations and the exception of the serial component, shared with the line-settings builder.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace serial {

enum class TDtrControl : uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize : uint8_t { _5, _6, _7, _8 };
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : uint8_t { _1, _1_5, _2 };

// Why a device could not be opened, as the system said it. Other: the open failed for a reason without an
// advice of its own (or not in the open at all: no event, no thread).
enum class OpenFailure : uint8_t { None, PermissionDenied, InUse, NoSuchDevice, NotATerminal, Other };

// Raised by TComm::OpenPort; the message is one of a fixed set of English texts that the port control only
// logs, never parses. Reason says what the user can do about it.
class ECommsError : public std::runtime_error {
 public:
  explicit ECommsError(const std::string& message, OpenFailure reason = OpenFailure::Other)
      : std::runtime_error(message), reason_(reason) {}
  OpenFailure Reason() const { return reason_; }

 private:
  OpenFailure reason_;
};

// Line error flags carried by OnReceiveError: the values of Windows' CE_RXOVER, CE_OVERRUN, CE_RXPARITY,
// CE_FRAME and CE_BREAK, which the program's handlers were written against (and which Windows hands over as
// they are). Named apart from them, as <windows.h> makes those names macros.
inline constexpr uint32_t LineErrorRxOver = 0x0001;
inline constexpr uint32_t LineErrorOverrun = 0x0002;
inline constexpr uint32_t LineErrorRxParity = 0x0004;
inline constexpr uint32_t LineErrorFrame = 0x0008;
inline constexpr uint32_t LineErrorBreak = 0x0010;

// Bits of OnModemStateChange.
inline constexpr uint32_t ModemRing = 4;
inline constexpr uint32_t ModemCarrierChanged = 8;

}  // namespace serial
