#pragma once
// While one command line runs, the interpreter asks about the same paths
// again and again: resolving a name, then whether it is a folder, then a
// file, then the folder's times for the name index. Inside a command the
// answers are kept, and every change the command makes to the file system
// drops the answers it touches; outside a command (korvel's file layer
// resolving a path) every question goes to the file system, but for the
// one about the file the command just before made (memo_made()).
#include <string>
#include <string_view>
#include <sys/stat.h>

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

// What lstat() just told korvel's own file checks about `path` (`result`
// and `error` as it returned them), offered to the command that runs next,
// which would ask the same at once: a document's copy is checked and then
// copied on, its source checked and then deleted. Kept only by a command
// that starts within a millisecond; the first memo scope to open after it
// takes it or drops it.
void memo_offer(const std::string& path, int result, int error, const struct stat& st);

// What a command knows of a file it has just made whole under `path`: what
// fstat() said of the open file before it took that name, which a rename
// leaves as it was but for the change time. korvel checks each copy it
// makes right after the command ends; a copy made by the interpreter in
// this process need not be looked up again for that. Only the last file
// made is kept: a later change to its path or the start of another command
// drops it, and it is not given out once a millisecond old.
void memo_made(const std::string& path, const struct stat& st);
// lstat() for korvel's own checks between commands, answered by memo_made()
// where that applies.
int lstat_after_command(const std::string& path, struct stat* st);

// Keeps answers while it lives; nests (cmd /c runs a command in a command).
struct StatMemoScope {
  StatMemoScope();
  ~StatMemoScope();
  StatMemoScope(const StatMemoScope&) = delete;
  StatMemoScope& operator=(const StatMemoScope&) = delete;
};
