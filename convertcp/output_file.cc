#include "convertcp/output_file.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "convertcp/files.h"

namespace fs = std::filesystem;

namespace {
fs::path path_of(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string refusal(FileKind kind) {
  switch (kind) {
    case FileKind::kFolder: return "it is a folder";
    case FileKind::kBlockDevice: return "it is a block device (a disk), which convertcp does not write";
    case FileKind::kSocket: return "it is a socket";
    default: return "it is not a regular file, a FIFO or a character device";
  }
}

bool streams(FileKind kind) { return kind == FileKind::kFifo || kind == FileKind::kCharDevice; }
}  // namespace

OutputFile::~OutputFile() {
  if (fd_ >= 0 && owned_) close_file(fd_);
  std::error_code ec;
  if (!temporary_.empty()) fs::remove(temporary_, ec);
}

std::string OutputFile::open(const std::string& name) {
  int named = name == "-" ? standard_output() : descriptor_named(name);
  if (named >= 0) {
    if (kind_of(named) == FileKind::kMissing) return "it is not open";
    fd_ = named;
    stream_ = true;
    return "";
  }
  target_ = path_of(name);
  std::error_code ec;
  if (fs::is_symlink(target_, ec)) {
    fs::path pointed = fs::canonical(target_, ec);
    if (!ec) target_ = pointed;
  }
  FileKind kind = kind_at(target_);
  if (streams(kind)) {
    int fd = -1;
    if (int error = open_existing(target_, fd)) return std::strerror(error);
    fd_ = fd;
    owned_ = true;
    stream_ = true;
    // Should the name have changed in between, nothing is written to it.
    return streams(kind_of(fd)) ? "" : "it changed while being opened";
  }
  if (kind != FileKind::kMissing && kind != FileKind::kRegular) return refusal(kind);
  // A hidden name beside the target, so the rename stays on one file system.
  int error = EEXIST;
  for (int attempt = 0; error == EEXIST && attempt < 100; ++attempt) {
    fs::path hidden = ".";
    hidden += target_.filename();
    hidden += ".convertcp-" + std::to_string(attempt);
    fs::path temporary = target_.parent_path() / hidden;
    int fd = -1;
    error = create_new_file(temporary, fd);
    if (error == 0) {
      fd_ = fd;
      owned_ = true;
      temporary_ = temporary;
    }
  }
  return error ? std::strerror(error) : "";
}

std::string OutputFile::write(std::string_view data) {
  int error = write_all(fd_, data);
  return error ? std::strerror(error) : "";
}

std::string OutputFile::commit() {
  if (stream_) return "";
  int error = sync_and_close(fd_);
  fd_ = -1;
  if (error) return std::strerror(error);
  // Looked at again just before the rename: whatever took the name since
  // open must be a regular file for the text to replace it.
  FileKind kind = kind_at(target_);
  if (kind != FileKind::kMissing && kind != FileKind::kRegular) return refusal(kind);
  std::error_code ec;
  if (kind == FileKind::kRegular) fs::permissions(temporary_, fs::status(target_, ec).permissions(), ec);
  std::string failure = replace_file(temporary_, target_);
  if (failure.empty()) temporary_.clear();
  return failure;
}

bool names_one_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}
