#include "serial/win32/DcbSettings.h"

namespace serial {
namespace {

BYTE DtrFlag(TDtrControl control) {
  switch (control) {
    case TDtrControl::DtrEnable:
      break;
    case TDtrControl::DtrDisable:
      return DTR_CONTROL_DISABLE;
    case TDtrControl::DtrHandshake:
      return DTR_CONTROL_HANDSHAKE;
  }
  return DTR_CONTROL_ENABLE;
}

BYTE RtsFlag(TRtsControl control) {
  switch (control) {
    case TRtsControl::RtsEnable:
      break;
    case TRtsControl::RtsDisable:
      return RTS_CONTROL_DISABLE;
    case TRtsControl::RtsHandshake:
      return RTS_CONTROL_HANDSHAKE;
    case TRtsControl::RtsTransmissionAvailable:
      return RTS_CONTROL_TOGGLE;
  }
  return RTS_CONTROL_ENABLE;
}

}  // namespace

DCB BuildDcb(const LineRequest& line, const DCB& current) {
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = line.BaudRate;
  dcb.fBinary = TRUE;
  dcb.fParity = line.ParityCheck;
  dcb.fOutxCtsFlow = line.Outx_CtsFlow;
  dcb.fOutxDsrFlow = line.Outx_DsrFlow;
  dcb.fDtrControl = DtrFlag(line.DtrControl);
  dcb.fDsrSensitivity = line.DsrSensitivity;
  dcb.fTXContinueOnXoff = line.TxContinueOnXoff;
  dcb.fOutX = line.Outx_XonXoffFlow;
  dcb.fInX = line.Inx_XonXoffFlow;
  dcb.fErrorChar = line.ReplaceWhenParityError;
  dcb.fNull = line.IgnoreNullChar;
  dcb.fRtsControl = RtsFlag(line.RtsControl);
  dcb.fAbortOnError = FALSE;
  dcb.XonLim = line.XonLimit;
  dcb.XoffLim = line.XoffLimit;
  dcb.ByteSize = static_cast<BYTE>(static_cast<int>(line.ByteSize) + 5);
  dcb.Parity = static_cast<BYTE>(line.Parity);
  dcb.StopBits = static_cast<BYTE>(line.StopBits);
  dcb.XonChar = line.XonChar;
  dcb.XoffChar = line.XoffChar;
  dcb.ErrorChar = line.ReplacedChar;
  dcb.EofChar = current.EofChar;
  dcb.EvtChar = current.EvtChar;
  dcb.wReserved = current.wReserved;
  dcb.wReserved1 = current.wReserved1;
  return dcb;
}

COMMTIMEOUTS BuildCommTimeouts(const CommTimeouts& timeouts) {
  COMMTIMEOUTS port{timeouts.ReadIntervalTimeout, timeouts.ReadTotalTimeoutMultiplier,
                    timeouts.ReadTotalTimeoutConstant, timeouts.WriteTotalTimeoutMultiplier,
                    timeouts.WriteTotalTimeoutConstant};
  // All read time-outs 0 would hold every read until 1024 bytes are in. The component promises a chunk of
  // whatever has arrived once a first byte is there, which is what Windows does for an interval and a
  // multiplier of MAXDWORD with a total constant between 0 and MAXDWORD; the constant only lets a read with
  // no byte at all end, empty, after about 49 days, and the reader then simply reads again.
  if (port.ReadIntervalTimeout == 0 && port.ReadTotalTimeoutMultiplier == 0 &&
      port.ReadTotalTimeoutConstant == 0) {
    port.ReadIntervalTimeout = MAXDWORD;
    port.ReadTotalTimeoutMultiplier = MAXDWORD;
    port.ReadTotalTimeoutConstant = MAXDWORD - 1;
  }
  return port;
}

}  // namespace serial
