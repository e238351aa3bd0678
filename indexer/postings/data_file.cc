#include "indexer/postings/data_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include "common/utf8_files.h"

namespace velmor {

namespace {
[[noreturn]] void fail(const std::string& path) {
  throw std::runtime_error("cannot write " + path + ": " + strerror(errno));
}
}  // namespace

DataFile::DataFile(std::string path) : path_(std::move(path)) {
  file_ = common::open_file(path_, "wb");
  if (!file_) fail(path_);
  // glibc ignores the size asked for when it is to find the buffer itself,
  // and writes 4 KB at a time: 47,000 system calls for the work files of
  // 100 MB of pages.
  buffer_ = std::make_unique<char[]>(kBufferBytes);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferBytes);
}

DataFile::~DataFile() {
  if (file_) std::fclose(file_);
}

void DataFile::write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (!file_ || std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail(path_);
  position_ += bytes.size();
}

void DataFile::close() {
  if (!file_) return;
  bool flushed = std::fflush(file_) == 0;
  bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) fail(path_);
}

}  // namespace velmor
