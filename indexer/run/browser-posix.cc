#include "indexer/run/browser.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace velmor {

bool has_graphical_session() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

std::string open_in_browser(const std::string& file) {
  std::string opener = "xdg-open";
  char* argv[] = {opener.data(), const_cast<char*>(file.c_str()), nullptr};
  pid_t pid;
  int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ);
  if (error != 0) return "cannot start xdg-open: " + std::string(strerror(error));
  // xdg-open usually hands over and ends at once; some browsers keep it
  // until they close, and then it is left to run.
  for (int i = 0; i < 30; ++i) {
    int status;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return "";
      return "xdg-open could not open it";
    }
    if (done < 0) return "";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "";
}

}  // namespace velmor
