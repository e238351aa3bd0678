#pragma once
// What a finished copy keeps of its source whatever made it: the kind of
// file, its size and its time of last change (every `copy` carries the time
// over). One question to the file system, following symbolic links and
// never opening the file, so a FIFO cannot block.
#include <cstdint>
#include <string>

namespace korvel {

enum class FileKind { kMissing, kRegular, kFolder, kOther };

struct FileStamp {
  FileKind kind = FileKind::kMissing;
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // in the file system's own units
};

FileStamp stamp_of(const std::string& native);
// The same, and what was learnt is offered to the shell command korvel runs
// next, which would otherwise ask again at once; where the shell is a
// program of its own, nothing more than stamp_of().
FileStamp stamp_for_next_command(const std::string& native);

}  // namespace korvel
