#include "korvel/prepare/local_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "korvel/shell/native_path.h"

namespace korvel {

namespace fs = std::filesystem;

std::string txt_in_file(std::string_view name) { return file_in(native_path("txt_in"), name); }

std::string file_in(const std::string& folder, std::string_view name) {
  // As fs::path's "/" joins them, without parsing both paths: a name from a
  // listing holds no separator.
  constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
  std::string path = folder;
  if (!path.empty() && path.back() != '/' && path.back() != kSeparator) path += kSeparator;
  path.append(name);
  return path;
}

FileKind kind_of(const std::string& native) { return stamp_of(native).kind; }

std::optional<std::uintmax_t> regular_file_size(const std::string& native) {
  FileStamp stamp = stamp_of(native);
  if (stamp.kind != FileKind::kRegular) return std::nullopt;
  return stamp.size;
}

bool same_content(const std::string& a, const std::string& b) {
  std::optional<std::uintmax_t> size_a = regular_file_size(a), size_b = regular_file_size(b);
  if (!size_a || !size_b || *size_a != *size_b) return false;
  std::ifstream in_a(a, std::ios::binary), in_b(b, std::ios::binary);
  if (!in_a || !in_b) return false;
  char buffer_a[64 * 1024], buffer_b[64 * 1024];
  for (;;) {
    in_a.read(buffer_a, sizeof buffer_a);
    in_b.read(buffer_b, sizeof buffer_b);
    std::streamsize n = in_a.gcount();
    if (n != in_b.gcount() || !std::equal(buffer_a, buffer_a + n, buffer_b)) return false;
    if (n == 0 || in_a.eof() || in_b.eof()) return in_a.eof() == in_b.eof();
  }
}

bool is_finished_copy(const std::string& copy, const std::string& source, const FileStamp& original) {
  FileStamp made = stamp_for_next_command(copy);
  if (made.kind != FileKind::kRegular || original.kind != FileKind::kRegular || made.size != original.size)
    return false;
  // A file system that keeps times coarser than the source's, or will not
  // set them, leaves a whole copy another time: then the bytes decide.
  return made.modified == original.modified || same_content(copy, source);
}

bool rename_without_replacing(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::create_hard_link(from, to, ec);  // fails when `to` exists: nothing is replaced
  if (ec) return false;
  fs::remove(from, ec);
  return !ec;
}

}  // namespace korvel
