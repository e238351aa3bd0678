#include "korvel/prepare/moved_files.h"

#include <algorithm>
#include <filesystem>

#include "korvel/base/text.h"
#include "korvel/prepare/local_files.h"
#include "korvel/prepare/names.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/native_path.h"

namespace korvel {

namespace fs = std::filesystem;

MovedFiles read_moved_files() {
  MovedFiles moved;
  int handle = free_handle();
  open_input(kMovedFilesList, handle);
  while (!at_end(handle)) {
    std::string name = read_line(handle);
    if (!moved.contains(name)) moved.insert(name);
  }
  close_file(handle);
  return moved;
}

// A record cut short by a crash only forgets names: their documents then
// stay in txt_in with a line, and nothing is replaced.
MovedFilesWriter::MovedFilesWriter(const MovedFiles& earlier) : earlier_(earlier), handle_(free_handle()) {
  open_output(kMovedFilesList, handle_);
  for (size_t i = 0; i < earlier.size(); ++i) write_line(handle_, to_lower_ascii(earlier[i]));
}

MovedFilesWriter::~MovedFilesWriter() { close_file(handle_); }

void MovedFilesWriter::add(std::string_view name) {
  if (earlier_.contains(name)) return;
  to_lower_ascii_into(lower_, name);
  write_line(handle_, lower_);
}

WorkingFolderNames::WorkingFolderNames() {
  constexpr size_t kMostNames = 20000;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(native_path("."), ec)) {
    if (hashes_.size() == kMostNames) {
      every_name_asked_ = true;
      hashes_ = {};
      return;
    }
    hashes_.push_back(static_cast<uint32_t>(name_hash(entry.path().filename().string(), true)));
  }
  std::sort(hashes_.begin(), hashes_.end());
}

bool WorkingFolderNames::may_hold(std::string_view name) const {
  return every_name_asked_ ||
         std::binary_search(hashes_.begin(), hashes_.end(), static_cast<uint32_t>(name_hash(name, true)));
}

bool may_take_working_name(std::string_view name, const std::string& source, const MovedFiles& moved,
                           const WorkingFolderNames& present) {
  if (!present.may_hold(name)) return true;
  std::string there = native_path(name);  // finds the name in any letter case
  switch (kind_of(there)) {
    case FileKind::kMissing: return true;
    case FileKind::kRegular: break;
    default: return false;
  }
  return is_scratch_file(name) || moved.contains(name) || same_content(there, source);
}

}  // namespace korvel
