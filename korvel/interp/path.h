#pragma once
// Finding cmd-style paths on a case-sensitive file system.
#include <string>
#include <sys/stat.h>
#include <string_view>
#include <vector>

namespace korvel {

// Views into the path it was split from, which must outlive them.
struct FolderAndName {
  std::string_view folder;  // as written, without its trailing separator; "" = current folder
  std::string_view name;    // the last component, possibly a pattern; "" when the path ends in a separator
  bool rooted;              // the folder part starts at the root
};

bool is_separator(char c);
// A cmd-style path on the file system: each component that does not exist
// under its exact name is matched without regard to letter case; those that
// match nothing are kept as written.
std::string resolve_path(std::string_view path);
// The path as written, "\\" as "/" and empty components dropped: what
// resolve_path() gives when every component exists under its exact name.
std::string as_written(std::string_view path);
FolderAndName split_last(std::string_view path);
// resolve_path() for a path that is most likely about to be made: the
// target of a copy, a page. The same answer, found with fewer questions.
std::string resolve_for_new(std::string_view path);
// The folder part as written again, ready for a name to be appended ("txt_in\").
std::string folder_prefix(const FolderAndName& parts);
// Resolved folder part: "." for the current folder.
std::string resolve_folder(const FolderAndName& parts);
std::string join_path(std::string_view folder, std::string_view name);
// The same into `out`, whose room is kept from one path to the next.
void join_path_into(std::string& out, std::string_view folder, std::string_view name);

bool path_exists(const std::string& native);
bool is_folder(const std::string& native);
bool is_file(const std::string& native);
// Absolute form for messages and listing headers.
std::string absolute_path(const std::string& native);

// Opens a regular file, or a symbolic link to one, for reading. Anything
// else (FIFO, socket, device) is never opened: -1 with `not_regular` set.
// -1 with `not_regular` clear when the file cannot be opened, errno telling why.
// `opened`, when given, receives what fstat() said of the open file.
// `was_regular`: a listing just said so, and no stat() is asked before the
// open (what was opened is still looked at).
int open_regular_file(const std::string& native, bool& not_regular, struct stat* opened = nullptr,
                      bool was_regular = false);

}  // namespace korvel
