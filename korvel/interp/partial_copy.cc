#include "korvel/interp/partial_copy.h"

#include <pthread.h>
#include <unistd.h>

namespace korvel {

namespace {
pid_t own_pid = 0;  // asked once, and again in a forked child
}  // namespace

const std::string& partial_copy_name() {
  static std::string name;
  if (own_pid == 0) {
    own_pid = getpid();
    static bool reset_on_fork = pthread_atfork(nullptr, nullptr, [] { own_pid = 0; }) == 0;
    (void)reset_on_fork;
    name = std::string(kPartialCopyPrefix) + std::to_string(own_pid) + std::string(kPartialCopySuffix);
  }
  return name;
}

bool is_partial_copy_name(std::string_view name) {
  return name.starts_with(kPartialCopyPrefix) && name.ends_with(kPartialCopySuffix);
}

}  // namespace korvel
