#include "interp/stat_memo.h"

#include <cerrno>
#include <unordered_map>

namespace {

struct Answer {
  int result;
  int error;
  struct stat st;
};

constexpr size_t kMostKept = 512;
int depth = 0;
std::unordered_map<std::string, Answer> followed, not_followed;

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

const Answer& remember(std::unordered_map<std::string, Answer>& answers, const std::string& path, const Answer& answer) {
  // A command over a whole folder asks about every file once or twice;
  // kept answers must not grow with the number of files.
  if (followed.size() + not_followed.size() >= kMostKept) forget_stats();
  return answers.insert_or_assign(path, answer).first->second;
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
    if (auto known = followed.find(path); known != followed.end()) return give(known->second, st);
  }
  auto known = not_followed.find(path);
  Answer link = known != not_followed.end() ? known->second : remember(not_followed, path, ask(path, false));
  if (!follow) return give(link, st);
  if (same_for_both(link)) return give(remember(followed, path, link), st);
  return give(remember(followed, path, ask(path, true)), st);
}

void memo_missing(const std::string& path) {
  if (depth == 0) return;
  Answer missing{};
  missing.result = -1;
  missing.error = ENOENT;
  remember(not_followed, path, missing);
  remember(followed, path, missing);
}

void forget_stat(const std::string& path, const std::string& folder) {
  for (auto* answers : {&followed, &not_followed}) {
    answers->erase(path);
    answers->erase(folder);
  }
}

void forget_stats() {
  followed.clear();
  not_followed.clear();
}

StatMemoScope::StatMemoScope() { ++depth; }

StatMemoScope::~StatMemoScope() {
  if (--depth == 0) forget_stats();
}
