#include "platform/WebBrowser.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace platform {

bool OpenWebAddress(const std::string& address) {
  const std::string url = NormaliseWebAddress(address);
  if (url.empty()) return false;
  std::string program = "xdg-open";
  if (const char* override = std::getenv("DTU_BROWSER"); override != nullptr && *override != '\0')
    program = override;
  char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  // Reap the launcher in the background so it leaves no zombie; the window does not wait for the browser.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace platform
