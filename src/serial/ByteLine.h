#pragma once
// The byte line under the port control: a device opened with line settings and a read interval, bytes
// written to it, and what comes back as received chunks and a hang-up. TCommLine puts it on a real port
// through TComm; tests put it on a simulated DTU in virtual time, so that the real port control runs there.
//
// Every call and every event belongs to the window thread.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "serial/CommTypes.h"

namespace serial {

// The part of a line's settings the user chooses.
struct PortSettings {
  uint32_t BaudRate = 9600;
  TParity Parity = TParity::None;
  TByteSize ByteSize = TByteSize::_8;
  TStopBits StopBits = TStopBits::_1;
  friend bool operator==(const PortSettings&, const PortSettings&) = default;
};

class ByteLine {
 public:
  virtual ~ByteLine() = default;

  // Closes the line if it is open, then opens device ("COMn" or a path) with the settings; a received chunk
  // ends after readIntervalMs of quiet or at 1024 bytes. Throws (ECommsError, or another std::exception)
  // when the device cannot be opened, and is closed then.
  virtual void Open(const std::string& device, const PortSettings& settings, uint32_t readIntervalMs) = 0;
  // The device path Open turns device into, for the log; device itself where the line does not resolve
  // names.
  virtual std::string PathOf(const std::string& device) const { return device; }
  // Nothing when closed.
  virtual void Close() = 0;
  // Queues the bytes in order and returns at once; false when closed or after the line gave up.
  virtual bool Write(std::string_view bytes) = 0;

  // One received chunk: 1 to 1024 bytes followed by a zero byte, valid only during the call.
  std::function<void(const char* bytes, uint16_t length)> OnReceive;
  // The line gave up: the device went away or hung up. Raised once per open; the line stays open until
  // Close.
  std::function<void()> OnHangup;
};

}  // namespace serial
