#pragma once
// What a finished copy keeps of its source whatever made it: the kind of
// file, its size and its time of last change (every `copy` carries the time
// over). One question to the file system, following symbolic links and
// never opening the file, so a FIFO cannot block.
#include <cstdint>
#include <string>

enum class FileKind { kMissing, kRegular, kFolder, kOther };

struct FileStamp {
  FileKind kind = FileKind::kMissing;
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // in the file system's own units
};

FileStamp stamp_of(const std::string& native);
