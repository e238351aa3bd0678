#include "indexer/site/out_file.h"

#include <stdexcept>

namespace velmor {

static std::runtime_error write_error(const std::filesystem::path& path) {
  return std::runtime_error("cannot write " + path.string());
}

OutFile::OutFile(const std::filesystem::path& path)
    : path_(path), stream_(path, std::ios::binary | std::ios::trunc) {
  if (!stream_) throw write_error(path_);
}

void OutFile::write_buffer() {
  stream_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  if (!stream_) throw write_error(path_);
  bytes_ += buffer_.size();
  buffer_.clear();
}

void OutFile::spill() {
  if (buffer_.size() >= (1u << 20)) write_buffer();
}

void OutFile::close() {
  write_buffer();
  stream_.close();
  if (!stream_) throw write_error(path_);
}

uint64_t write_file(const std::filesystem::path& path, const std::string& text) {
  OutFile out(path);
  out.text() = text;
  out.close();
  return out.bytes();
}

}  // namespace velmor
