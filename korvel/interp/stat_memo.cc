#include "korvel/interp/stat_memo.h"

#include <array>
#include <cerrno>
#include <cstdint>

#include "korvel/base/text.h"

namespace korvel {

namespace {

struct Answer {
  int result;
  int error;
  struct stat st;
};

// The last answers, in a small table where each question has one place,
// found from a hash of its path: a command asks about a handful of paths,
// mostly again right after the first time, and a command over a whole
// folder asks about every file once or twice. An answer pushed out by
// another question for the same place only costs that question again. The
// strings keep their buffers from one answer to the next.
struct Slot {
  uint64_t key = 0;  // 0: free
  std::string path;
  Answer answer{};
};

constexpr size_t kPlaces = 64;
std::array<Slot, kPlaces> slots;
uint64_t used = 0;  // a bit per place that may hold an answer: a command uses a few
int depth = 0;

void forget_answers() {
  for (; used != 0; used &= used - 1) slots[static_cast<size_t>(__builtin_ctzll(used))].key = 0;
}

uint64_t hash_of(std::string_view path) { return name_hash(path, false); }

// Never 0; differs for the two questions about one path.
uint64_t key_of(uint64_t hash, bool follow) { return (follow ? hash * 0xC2B2AE3D27D4EB4Full : hash) | 1; }

size_t place_index(uint64_t key) { return (key >> 1) % kPlaces; }
Slot& place_of(uint64_t key) { return slots[place_index(key)]; }

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

Answer* known(const std::string& path, uint64_t hash, bool follow) {
  uint64_t key = key_of(hash, follow);
  Slot& slot = place_of(key);
  return slot.key == key && slot.path == path ? &slot.answer : nullptr;
}

const Answer& remember(const std::string& path, uint64_t hash, bool follow, const Answer& answer) {
  uint64_t key = key_of(hash, follow);
  Slot& slot = place_of(key);
  used |= uint64_t{1} << place_index(key);
  if (slot.key != key || slot.path != path) {
    slot.key = key;
    slot.path.assign(path);
  }
  return slot.answer = answer;
}

// Frees the places of `path`, for both questions.
void forget(std::string_view path) {
  uint64_t hash = hash_of(path);
  for (bool follow : {false, true}) {
    uint64_t key = key_of(hash, follow);
    Slot& slot = place_of(key);
    if (slot.key == key && slot.path == path) slot.key = 0;
  }
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
  uint64_t hash = hash_of(path);
  if (follow) {
    if (const Answer* answer = known(path, hash, true)) return give(*answer, st);
  }
  const Answer* seen = known(path, hash, false);
  const Answer& link = seen ? *seen : remember(path, hash, false, ask(path, false));
  if (!follow) return give(link, st);
  if (same_for_both(link)) {
    Answer both = link;  // the place it is copied into may be its own
    return give(remember(path, hash, true, both), st);
  }
  return give(remember(path, hash, true, ask(path, true)), st);
}

void memo_missing(const std::string& path) {
  if (depth == 0) return;
  Answer missing{};
  missing.result = -1;
  missing.error = ENOENT;
  uint64_t hash = hash_of(path);
  remember(path, hash, false, missing);
  remember(path, hash, true, missing);
}

void forget_stat(const std::string& path, const std::string& folder) {
  forget(path);
  forget(folder);
}

void forget_stat(std::string_view path) { forget(path); }

void forget_stats() { forget_answers(); }

StatMemoScope::StatMemoScope() { ++depth; }

StatMemoScope::~StatMemoScope() {
  if (--depth == 0) forget_answers();
}

}  // namespace korvel
