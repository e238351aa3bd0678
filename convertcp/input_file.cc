#include "convertcp/input_file.h"

#include <algorithm>
#include <cstring>

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
    case FileKind::kFifo:
      return name + " is a FIFO, not a file; to convert a stream, give - and send it to standard input";
    case FileKind::kCharDevice:
    case FileKind::kBlockDevice: return name + " is a device, not a file";
    case FileKind::kSocket: return name + " is a socket, not a file";
    default: return name + " is not a regular file";
  }
}

constexpr char kChanged[] = "it changed while it was read; convert it when nothing writes to it";
}  // namespace

InputFile::~InputFile() { close(); }

void InputFile::close() {
  if (fd_ >= 0 && !stream_) close_file(fd_);
  if (!stream_) fd_ = -1;
}

std::string InputFile::open(const std::string& name) {
  if (name == "-") {
    fd_ = standard_input();
    stream_ = true;
    return "";
  }
  // Looked at before opening, since opening a FIFO or a device can wait or
  // act; and again after, in case the name changed in between.
  path_ = path_of(name);
  if (std::string why = refusal(kind_at(path_), name); !why.empty()) return why;
  int fd = -1;
  if (int error = open_for_reading(path_, fd)) return "cannot read " + name + ": " + std::strerror(error);
  fd_ = fd;
  if (std::string why = refusal(kind_of(fd), name); !why.empty()) return why;
  FileState named;
  if (int error = state_of(fd, opened_)) return "cannot read " + name + ": " + std::strerror(error);
  if (state_at(path_, named) != 0 || !named.is_file(opened_)) return "cannot read " + name + ": " + kChanged;
  return "";
}

std::string InputFile::read(std::string& piece, size_t size) {
  if (!given_back_.empty()) {
    piece.swap(given_back_);
    given_back_.clear();
    return "";
  }
  if (!stream_) {
    if (before_read) before_read(pass_, at_);
    // A file that grows is read to the size it had when opened, and no
    // further, so that a pass that writes gets the bytes of the trial pass.
    size = size_t(std::min<std::uint64_t>(size, opened_.size - std::min(at_, opened_.size)));
    if (size == 0 && at_ == opened_.size) {
      // One byte more tells a file that grew, or one that the system makes
      // as it is read (/proc), from one that ends where its size says; the
      // caller tells the two apart by unchanged().
      char beyond;
      size_t got = 0;
      if (int error = read_full(fd_, &beyond, 1, got)) return std::strerror(error);
      piece.clear();
      if (got == 0) return "";
      return "it holds more than the " + std::to_string(opened_.size) +
             " bytes its size said when it was opened; give it through - instead";
    }
  }
  piece.resize(size);
  size_t got = 0;
  int error = read_full(fd_, piece.data(), size, got);
  piece.resize(got);
  at_ += got;
  return error ? std::strerror(error) : "";
}

std::string InputFile::restart(std::string read) {
  if (stream_) {
    given_back_ = std::move(read);
    return "";
  }
  int error = rewind_file(fd_);
  at_ = 0;
  ++pass_;
  return error ? std::strerror(error) : "";
}

std::string InputFile::unchanged(bool read_whole) const {
  if (stream_) return "";
  FileState now, named;
  if (state_at(path_, named) != 0 || !named.is_file(opened_))
    return "its name was given to another file while it was read; convert it again";
  if ((read_whole && at_ != opened_.size) || state_of(fd_, now) != 0 || now != opened_) return kChanged;
  return "";
}
