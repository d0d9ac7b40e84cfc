#pragma once
// What the component's properties ask of the line and of its time-outs, as plain values: each system's half
// turns them into its own settings (a termios2 structure, a device control block).

#include <cstdint>

#include "serial/CommTypes.h"

namespace serial {

struct LineRequest {
  uint32_t BaudRate = 9600;
  bool ParityCheck = false;
  bool Outx_CtsFlow = false;
  bool Outx_DsrFlow = false;
  TDtrControl DtrControl = TDtrControl::DtrEnable;
  bool DsrSensitivity = false;
  bool TxContinueOnXoff = false;
  TRtsControl RtsControl = TRtsControl::RtsEnable;
  bool Outx_XonXoffFlow = false;
  bool Inx_XonXoffFlow = false;
  bool ReplaceWhenParityError = false;
  bool IgnoreNullChar = false;
  uint16_t XonLimit = 10;
  uint16_t XoffLimit = 10;
  TByteSize ByteSize = TByteSize::_8;
  TParity Parity = TParity::None;
  TStopBits StopBits = TStopBits::_1;
  char XonChar = 17;
  char XoffChar = 19;
  char ReplacedChar = 0;
};

// Milliseconds, with the meaning of the system's serial time-outs: the interval is the longest quiet gap
// inside one received chunk; the totals bound a whole read or write (Multiplier per byte plus Constant), 0
// meaning no bound.
struct CommTimeouts {
  uint32_t ReadIntervalTimeout = 10;
  uint32_t ReadTotalTimeoutMultiplier = 0;
  uint32_t ReadTotalTimeoutConstant = 0;
  uint32_t WriteTotalTimeoutMultiplier = 0;
  uint32_t WriteTotalTimeoutConstant = 0;
};

}  // namespace serial
