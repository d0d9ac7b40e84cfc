#include "serial/CommLine.h"

#include <algorithm>

namespace serial {

TCommLine::TCommLine(TComm& comm) : comm_(comm) {
  comm_.OnReceiveData = [this](TComm*, const char* buffer, uint16_t length) {
    if (OnReceive) OnReceive(buffer, length);
  };
  comm_.OnRequestHangup = [this](TComm*) {
    if (OnHangup) OnHangup();
  };
}

void TCommLine::Open(const std::string& device, const PortSettings& settings, uint32_t readIntervalMs) {
  comm_.ClosePort();
  comm_.CommName = device;
  comm_.SetBaudRate(settings.BaudRate);
  comm_.SetParityCheck(settings.Parity != TParity::None);
  comm_.Parity = settings.Parity;
  comm_.SetByteSize(settings.ByteSize);
  comm_.SetStopBits(settings.StopBits);
  comm_.SetReadIntervalTimeout(readIntervalMs);
  comm_.OpenPort();
}

std::string TCommLine::PathOf(const std::string& device) const {
  return comm_.ResolvePath ? comm_.ResolvePath(device) : device;
}

void TCommLine::Close() { comm_.ClosePort(); }

bool TCommLine::Write(std::string_view bytes) {
  // One write request carries at most 65535 bytes; a longer text goes out in pieces, in order.
  bool queued = !bytes.empty() || comm_.ComHandle() != 0;
  for (size_t offset = 0; offset < bytes.size(); offset += 65535) {
    const size_t length = std::min<size_t>(65535, bytes.size() - offset);
    queued = comm_.WriteData(bytes.data() + offset, static_cast<uint16_t>(length)) && queued;
  }
  return queued;
}

}  // namespace serial
