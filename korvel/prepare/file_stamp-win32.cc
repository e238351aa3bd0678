#include "korvel/prepare/file_stamp.h"

#include <windows.h>

namespace korvel {

// Paths are in the ANSI code page, as everywhere else in korvel.exe. A
// reparse point (a link, a file kept in the cloud) counts as the file it
// stands for; a link then shows its own size, which no copy will match.
FileStamp stamp_of(const std::string& native) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(native.c_str(), GetFileExInfoStandard, &data)) return {};
  FileKind kind = FileKind::kRegular;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) kind = FileKind::kFolder;
  else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) kind = FileKind::kOther;
  std::uintmax_t size = (std::uintmax_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  std::int64_t modified = static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                                    data.ftLastWriteTime.dwLowDateTime);
  return {kind, size, modified};
}

FileStamp stamp_for_next_command(const std::string& native) { return stamp_of(native); }

}  // namespace korvel
