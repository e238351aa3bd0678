#include "interp/stat_memo.h"

#include <array>
#include <cerrno>
#include <cstdint>

namespace {

struct Answer {
  int result;
  int error;
  struct stat st;
};

// The last answers, in a ring: a command asks about a handful of paths,
// mostly again right after the first time, and a command over a whole
// folder asks about every file once or twice. A small ring searched in
// order costs less than hashing every path, and an answer pushed out only
// costs its question asked again. The strings keep their buffers from one
// answer to the next.
struct Slot {
  std::string path;
  Answer answer{};
};

constexpr size_t kKept = 32;
std::array<Slot, kKept> slots;
// Per slot: the path's length, whether stat() (1) or lstat() (0) was asked,
// and whether the slot holds an answer (2); 0 when free. One cache line to
// scan before any path is compared.
std::array<uint32_t, kKept> keys{};
size_t next_slot = 0;
int depth = 0;

uint32_t key_of(std::string_view path, bool follow) {
  return static_cast<uint32_t>(path.size()) << 2 | 2u | (follow ? 1u : 0u);
}

Answer ask(const std::string& path, bool follow) {
  Answer answer{};
  answer.result = follow ? stat(path.c_str(), &answer.st) : lstat(path.c_str(), &answer.st);
  answer.error = answer.result == 0 ? 0 : errno;
  return answer;
}

// What lstat() said of a path that is no symbolic link holds for stat() too,
// and a path missing for lstat() is missing for stat().
bool same_for_both(const Answer& answer) {
  return answer.result == 0 ? !S_ISLNK(answer.st.st_mode) : answer.error == ENOENT;
}

Answer* known(const std::string& path, bool follow) {
  uint32_t key = key_of(path, follow);
  for (size_t i = 0; i < kKept; ++i)
    if (keys[i] == key && slots[i].path == path) return &slots[i].answer;
  return nullptr;
}

const Answer& remember(const std::string& path, bool follow, const Answer& answer) {
  if (Answer* kept = known(path, follow)) return *kept = answer;
  size_t i = next_slot;
  next_slot = (next_slot + 1) % kKept;
  slots[i].path.assign(path);
  keys[i] = key_of(path, follow);
  return slots[i].answer = answer;
}

// Frees the slots of `path`, for both questions.
void forget(std::string_view path) {
  uint32_t key = key_of(path, false);
  for (size_t i = 0; i < kKept; ++i)
    if ((keys[i] | 1u) == (key | 1u) && slots[i].path == path) keys[i] = 0;
}

int give(const Answer& answer, struct stat* st) {
  *st = answer.st;
  errno = answer.error;
  return answer.result;
}
}  // namespace

// lstat() first, even for a stat() question: one call then answers both,
// unless the path is a symbolic link.
int memo_stat(const std::string& path, bool follow, struct stat* st) {
  if (depth == 0) return follow ? stat(path.c_str(), st) : lstat(path.c_str(), st);
  if (follow) {
    if (const Answer* answer = known(path, true)) return give(*answer, st);
  }
  const Answer* seen = known(path, false);
  Answer link = seen ? *seen : remember(path, false, ask(path, false));
  if (!follow) return give(link, st);
  if (same_for_both(link)) return give(remember(path, true, link), st);
  return give(remember(path, true, ask(path, true)), st);
}

void memo_missing(const std::string& path) {
  if (depth == 0) return;
  Answer missing{};
  missing.result = -1;
  missing.error = ENOENT;
  remember(path, false, missing);
  remember(path, true, missing);
}

void forget_stat(const std::string& path, const std::string& folder) {
  forget(path);
  forget(folder);
}

void forget_stat(std::string_view path) { forget(path); }

void forget_stats() { keys.fill(0); }

StatMemoScope::StatMemoScope() { ++depth; }

StatMemoScope::~StatMemoScope() {
  if (--depth == 0) forget_stats();
}
