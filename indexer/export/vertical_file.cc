#include "indexer/export/vertical_file.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "common/utf8_files.h"
#include "indexer/export/vertical.h"

namespace fs = std::filesystem;

namespace velmor {

namespace {

// Enough of each end to see document 1's whole tag, whatever its title.
constexpr long kHeadBytes = 64 << 10;
constexpr long kTailBytes = 16;

std::string read_at(std::FILE* f, long offset, int whence, long most) {
  std::string bytes(static_cast<size_t>(most), '\0');
  if (std::fseek(f, offset, whence) != 0) return "";
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  return bytes;
}

}  // namespace

ExistingExport existing_export(const std::string& file) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(common::utf8_path(file), ec);
  if (status.type() == fs::file_type::not_found) return ExistingExport::absent;
  if (status.type() != fs::file_type::regular) return ExistingExport::not_file;
  std::FILE* f = common::open_file(file, "rb");
  if (!f) return ExistingExport::theirs;  // unreadable: nothing says it is ours
  const uintmax_t size = fs::file_size(common::utf8_path(file), ec);
  std::string head = read_at(f, 0, SEEK_SET, kHeadBytes);
  std::string tail = size < kTailBytes ? head : read_at(f, -kTailBytes, SEEK_END, kTailBytes);
  std::fclose(f);
  if (ec) return ExistingExport::theirs;
  return looks_like_export(head, tail) ? ExistingExport::ours : ExistingExport::theirs;
}

std::string part_name(const std::string& file) { return file + ".velmor-part"; }

VerticalFile::VerticalFile(const std::string& file)
    : file_(file), part_(part_name(file)), out_(std::make_unique<OutFile>(common::utf8_path(part_))) {}

VerticalFile::~VerticalFile() {
  if (committed_) return;
  out_.reset();
  std::error_code ec;
  fs::remove(common::utf8_path(part_), ec);
}

void VerticalFile::commit() {
  out_->close();
  std::error_code ec;
  fs::rename(common::utf8_path(part_), common::utf8_path(file_), ec);
  if (ec) throw std::runtime_error("cannot rename " + part_ + " to " + file_ + ": " + ec.message());
  committed_ = true;
}

}  // namespace velmor
