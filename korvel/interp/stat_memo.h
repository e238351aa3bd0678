#pragma once
// While one command line runs, the interpreter asks about the same paths
// again and again: resolving a name, then whether it is a folder, then a
// file, then the folder's times for the name index. Inside a command the
// answers are kept, and every change the command makes to the file system
// drops the answers it touches; outside a command (korvel's file layer
// resolving a path) every question goes to the file system.
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace korvel {

// stat() (follow) or lstat() through the memo; 0 on success, as they return.
int memo_stat(const std::string& path, bool follow, struct stat* st);
// Records that `path` is missing, as the caller knows without asking.
void memo_missing(const std::string& path);
// For a change to `path` inside `folder`: drops what was known of both.
void forget_stat(const std::string& path, const std::string& folder);
// Drops what was known of `path` alone.
void forget_stat(std::string_view path);
// For a change that may reach below `path` (a folder made, removed or
// renamed): drops every answer.
void forget_stats();

// Keeps answers while it lives; nests (cmd /c runs a command in a command).
struct StatMemoScope {
  StatMemoScope();
  ~StatMemoScope();
  StatMemoScope(const StatMemoScope&) = delete;
  StatMemoScope& operator=(const StatMemoScope&) = delete;
};

}  // namespace korvel
