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

}  // namespace

int memo_stat(const std::string& path, bool follow, struct stat* st) {
  if (depth == 0) return follow ? stat(path.c_str(), st) : lstat(path.c_str(), st);
  auto& answers = follow ? followed : not_followed;
  auto known = answers.find(path);
  if (known == answers.end()) {
    // A command over a whole folder asks about every file once or twice;
    // kept answers must not grow with the number of files.
    if (followed.size() + not_followed.size() >= kMostKept) forget_stats();
    Answer answer = ask(path, follow);
    known = answers.emplace(path, answer).first;
    // What is no symbolic link looks the same either way, and a path that is
    // missing for lstat() is missing for stat() too.
    bool same_for_both = !follow && (answer.result == 0 ? !S_ISLNK(answer.st.st_mode) : answer.error == ENOENT);
    if (same_for_both) followed.emplace(path, answer);
  }
  *st = known->second.st;
  errno = known->second.error;
  return known->second.result;
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
