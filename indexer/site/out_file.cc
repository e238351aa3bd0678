#include "indexer/site/out_file.h"

#include <stdexcept>

namespace velmor {

static std::runtime_error write_error(const std::filesystem::path& path) {
  return std::runtime_error("cannot write " + path.string());
}

OutFile::OutFile(const std::filesystem::path& path) : path_(path) {
  if (!file_.open(path_.string() + ".part", 0666)) throw write_error(path_);
}

void OutFile::write_buffer() {
  if (!file_.write(buffer_)) throw write_error(path_);
  bytes_ += buffer_.size();
  buffer_.clear();
}

void OutFile::spill() {
  if (buffer_.size() >= (1u << 20)) write_buffer();
}

void OutFile::close() {
  write_buffer();
  if (!file_.commit(path_.string())) throw write_error(path_);
}

uint64_t write_file(const std::filesystem::path& path, const std::string& text) {
  OutFile out(path);
  out.text() = text;
  out.close();
  return out.bytes();
}

}  // namespace velmor
