#pragma once
// Pseudo-terminal pairs for the serial tests, and the bounded loop run of RunUntil.h.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "RunUntil.h"
#include "platform/RealTimeEventLoop.h"
#include "platform/UniqueFd.h"
#include "serial/posix/LineSettings.h"

namespace serial_test {

// The master stands for the DTU; the component opens the slave by its path. Termios requests on the master
// act on the slave, so the master shows the settings the component gave its line.
class PtyPair {
 public:
  PtyPair() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (!master_.Valid() || ::grantpt(master_.Get()) != 0 || ::unlockpt(master_.Get()) != 0) {
      throw std::runtime_error("no pseudo-terminal");
    }
    char name[128];
    if (::ptsname_r(master_.Get(), name, sizeof name) != 0) throw std::runtime_error("no slave name");
    slavePath_ = name;
  }

  const std::string& SlavePath() const { return slavePath_; }
  int Master() const { return master_.Get(); }
  void CloseMaster() { master_.Reset(); }

  void Send(const std::string& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_.Get(), bytes.data() + done, bytes.size() - done);
      if (n <= 0) throw std::runtime_error("master write failed");
      done += static_cast<size_t>(n);
    }
  }

  // Reads until count bytes have come or nothing arrives for 5 s.
  std::string Receive(size_t count) const {
    std::string got;
    char buf[4096];
    while (got.size() < count) {
      pollfd fd{master_.Get(), POLLIN, 0};
      if (::poll(&fd, 1, 5000) <= 0) break;
      const ssize_t n = ::read(master_.Get(), buf, std::min(sizeof buf, count - got.size()));
      if (n <= 0) break;
      got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }

  // The settings as other programs see them, through glibc's tcgetattr.
  termios Termios() const {
    termios t{};
    if (::tcgetattr(master_.Get(), &t) != 0) throw std::runtime_error("tcgetattr on the master failed");
    return t;
  }

  serial::LineView Line() const {
    const auto settings = serial::ReadLineSettings(master_.Get());
    if (!settings) throw std::runtime_error("TCGETS2 on the master failed");
    return serial::DescribeLine(*settings);
  }

 private:
  platform::UniqueFd master_;
  std::string slavePath_;
};

}  // namespace serial_test
