#include "interp/stat_memo.h"

#include <cerrno>
#include <unordered_map>

namespace {

struct Answer {
  int result;
  int error;
  struct stat st;
};

int depth = 0;
std::unordered_map<std::string, Answer> followed, not_followed;

}  // namespace

int memo_stat(const std::string& path, bool follow, struct stat* st) {
  if (depth == 0) return follow ? stat(path.c_str(), st) : lstat(path.c_str(), st);
  auto& answers = follow ? followed : not_followed;
  auto known = answers.find(path);
  if (known == answers.end()) {
    Answer answer{};
    answer.result = follow ? stat(path.c_str(), &answer.st) : lstat(path.c_str(), &answer.st);
    answer.error = errno;
    known = answers.emplace(path, answer).first;
  }
  *st = known->second.st;
  errno = known->second.error;
  return known->second.result;
}

void forget_stats() {
  followed.clear();
  not_followed.clear();
}

StatMemoScope::StatMemoScope() { ++depth; }

StatMemoScope::~StatMemoScope() {
  if (--depth == 0) forget_stats();
}
