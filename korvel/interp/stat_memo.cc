#include "korvel/interp/stat_memo.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <ctime>

#include "korvel/shell/text.h"

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
// The file the last command made, and when.
struct Made {
  bool known = false;
  std::string path;
  struct stat st;
  timespec at;
} made;
bool offered = false;  // answers were offered to the next scope, at `offered_at`
timespec offered_at{};

timespec monotonic_now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now;
}

long long nanoseconds_since(const timespec& then) {
  timespec now = monotonic_now();
  return (now.tv_sec - then.tv_sec) * 1000000000LL + (now.tv_nsec - then.tv_nsec);
}

void forget_answers() {
  for (; used != 0; used &= used - 1) slots[static_cast<size_t>(__builtin_ctzll(used))].key = 0;
}

// Drops offered answers once the first of them is more than a millisecond
// old; the next ones then start afresh.
void drop_stale_offers() {
  if (!offered) return;
  if (nanoseconds_since(offered_at) <= 1000000) return;
  forget_answers();
  offered = false;
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
  if (made.known && made.path == path) made.known = false;
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

void memo_offer(const std::string& path, int result, int error, const struct stat& st) {
  if (depth != 0) return;
  drop_stale_offers();
  Answer answer{};
  answer.result = result;
  answer.error = error;
  answer.st = st;
  uint64_t hash = hash_of(path);
  remember(path, hash, false, answer);
  if (same_for_both(answer)) remember(path, hash, true, answer);
  if (!offered) offered_at = monotonic_now();  // offers age from the first of them
  offered = true;
}

void forget_stats() {
  forget_answers();
  made.known = false;
}

void memo_made(const std::string& path, const struct stat& st) {
  made.known = true;
  made.path.assign(path);
  made.st = st;
  made.at = monotonic_now();
}

int lstat_after_command(const std::string& path, struct stat* st) {
  if (depth == 0 && made.known && made.path == path && nanoseconds_since(made.at) <= 1000000) {
    *st = made.st;
    return 0;
  }
  return lstat(path.c_str(), st);
}

StatMemoScope::StatMemoScope() {
  if (depth == 0) {
    made.known = false;  // what the command before made, this one may change
    drop_stale_offers();
    offered = false;  // what is left is this scope's to use, and goes with it
  }
  ++depth;
}

StatMemoScope::~StatMemoScope() {
  if (--depth == 0) forget_answers();
}
