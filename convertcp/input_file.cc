#include "convertcp/input_file.h"

#include <cstring>

#include "convertcp/files.h"

namespace {
std::filesystem::path path_of(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Why a file of this kind is no INFILE; "" for a regular file.
std::string refusal(FileKind kind, const std::string& name) {
  switch (kind) {
    case FileKind::kRegular: return "";
    case FileKind::kMissing: return "cannot find " + name;
    case FileKind::kFolder: return name + " is a folder, not a file";
    case FileKind::kFifo: return name + " is a FIFO, not a file; to convert a stream, give - and send it to standard input";
    case FileKind::kCharDevice:
    case FileKind::kBlockDevice: return name + " is a device, not a file";
    case FileKind::kSocket: return name + " is a socket, not a file";
    default: return name + " is not a regular file";
  }
}
}  // namespace

InputFile::~InputFile() {
  if (fd_ >= 0 && !stream_) close_file(fd_);
}

std::string InputFile::open(const std::string& name) {
  if (name == "-") {
    fd_ = standard_input();
    stream_ = true;
    return "";
  }
  // Looked at before opening, since opening a FIFO or a device can wait or
  // act; and again after, in case the name changed in between.
  std::filesystem::path path = path_of(name);
  if (std::string why = refusal(kind_at(path), name); !why.empty()) return why;
  int fd = -1;
  if (int error = open_for_reading(path, fd)) return "cannot read " + name + ": " + std::strerror(error);
  fd_ = fd;
  return refusal(kind_of(fd), name);
}

std::string InputFile::read(std::string& piece, size_t size) {
  if (!given_back_.empty()) {
    piece.swap(given_back_);
    given_back_.clear();
    return "";
  }
  piece.resize(size);
  size_t got = 0;
  int error = read_full(fd_, piece.data(), size, got);
  piece.resize(got);
  return error ? std::strerror(error) : "";
}

std::string InputFile::restart(std::string read) {
  if (stream_) {
    given_back_ = std::move(read);
    return "";
  }
  int error = rewind_file(fd_);
  return error ? std::strerror(error) : "";
}
