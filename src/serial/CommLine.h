#pragma once
// The byte line over a TComm: opening applies the chosen settings to the component's properties, and the
// component's receive and hang-up events become the line's. The component's other properties (flow
// control, DTR and RTS, the characters) stay as its owner set them.

#include "serial/ByteLine.h"
#include "serial/Comm.h"

namespace serial {

class TCommLine : public ByteLine {
 public:
  // Takes over comm's OnReceiveData and OnRequestHangup; comm must outlive the line.
  explicit TCommLine(TComm& comm);

  void Open(const std::string& device, const PortSettings& settings, uint32_t readIntervalMs) override;
  std::string PathOf(const std::string& device) const override;
  void Close() override;
  bool Write(std::string_view bytes) override;

 private:
  TComm& comm_;
};

}  // namespace serial
