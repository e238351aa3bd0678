#include "korvel/interp/partial_copy.h"

#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#include <vector>

#include "korvel/interp/folder_changes.h"
#include "korvel/interp/folder_index.h"
#include "korvel/interp/listing_cache.h"
#include "korvel/interp/stat_memo.h"

namespace {
constexpr std::string_view kPrefix = "~korvel_partial_";
constexpr std::string_view kSuffix = ".part";
}  // namespace

namespace {
pid_t own_pid = 0;  // asked once, and again in a forked child
}  // namespace

const std::string& partial_copy_name() {
  static std::string name;
  if (own_pid == 0) {
    own_pid = getpid();
    static bool reset_on_fork = pthread_atfork(nullptr, nullptr, [] { own_pid = 0; }) == 0;
    (void)reset_on_fork;
    name = std::string(kPrefix) + std::to_string(own_pid) + std::string(kSuffix);
  }
  return name;
}

bool is_partial_copy_name(std::string_view name) { return name.starts_with(kPrefix) && name.ends_with(kSuffix); }

namespace {
bool owner_is_gone(std::string_view name) {
  std::string_view digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  pid_t pid = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return true;
  return pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
}
}  // namespace

void remove_dead_partial_copies(const std::string& folder) {
  if (!first_meeting(folder)) return;
  // A listing kept of the folder as it is now knows whether it holds any.
  if (kept_complete_listing(folder)) return;
  std::vector<std::string> dead;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (is_partial_copy_name(name) && owner_is_gone(name)) dead.emplace_back(name);
  }
  closedir(dir);
  for (const std::string& name : dead) remove_file(folder + "/" + name);
}
