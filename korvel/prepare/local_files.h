#pragma once
// The few questions about files that a command's output cannot answer
// exactly: what kind of file a name holds, whether two files hold the same
// bytes, and renaming a file whose name no command can carry. Paths are
// native; names in txt_in are joined to it exactly, letter case kept.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korvel/prepare/file_stamp.h"

namespace korvel {

// The native path of `name` in txt_in, exactly as given: never another file
// of another letter case.
std::string txt_in_file(std::string_view name);
// The same for a folder already found: `folder` is its native path.
std::string file_in(const std::string& folder, std::string_view name);

FileKind kind_of(const std::string& native);
std::optional<std::uintmax_t> regular_file_size(const std::string& native);
// Both regular files with the same bytes.
bool same_content(const std::string& a, const std::string& b);
// Whether `copy` is what a finished copy of `source` leaves: a regular file
// of the source's size and time of change, or, where the times differ, of
// its bytes. A copy that failed leaves no file there, or the older file it
// did not replace, which would have to match the source in size and to the
// tick of the file system's clock. Reading every copy back would only read
// what the kernel just reported written, from its cache. The source's size
// and time are `original`, a stamp of it taken before: a source changed
// since then fails unless the bytes still match. What was learnt of `copy`
// is offered to the next shell command.
bool is_finished_copy(const std::string& copy, const std::string& source, const FileStamp& original);

// Gives a file a second name and then drops the first; the second name must
// not exist yet, and nothing is replaced. Between the two steps both names
// hold the file.
bool rename_without_replacing(const std::string& from, const std::string& to);

}  // namespace korvel
