#include "indexer/postings/word_sequence.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include "common/utf8_files.h"
#include "indexer/postings/varint.h"

namespace velmor {

WordSequenceWriter::WordSequenceWriter(const std::string& dir)
    : dir_(dir),
      ids_file_(dir + "/ids.dat"),
      spans_file_(dir + "/spans.dat"),
      stretches_file_(dir + "/stretches.dat") {}

void WordSequenceWriter::end_document(const std::vector<uint32_t>& stretch_starts) {
  uint32_t previous = 0;
  for (uint32_t start : stretch_starts) {
    put_varint(stretches_, start - previous);
    previous = start;
  }
  stretches_file_.write(stretches_);
  stretches_.clear();
  starts_.stretches.push_back(stretches_file_.position());
  ids_file_.write(std::string_view(reinterpret_cast<const char*>(ids_.data()), ids_.size() * sizeof(uint32_t)));
  spans_file_.write(spans_);
  ids_.clear();
  spans_.clear();
  line_ = 0;
  starts_.spans.push_back(spans_file_.position());
}

WordSequenceWriter::Starts WordSequenceWriter::finish(const std::vector<uint32_t>& rank_of, size_t buffer_bytes) {
  ids_file_.close();
  spans_file_.close();
  stretches_file_.close();
  const std::string ids_path = dir_ + "/ids.dat";
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(common::open_file(ids_path, "rb"), std::fclose);
  if (!in) throw std::runtime_error("cannot read " + ids_path + ": " + strerror(errno));
  DataFile out(dir_ + "/sequence.dat");
  std::vector<uint32_t> chunk(std::max<size_t>(buffer_bytes / sizeof(uint32_t), 1024));
  for (size_t n; (n = std::fread(chunk.data(), sizeof(uint32_t), chunk.size(), in.get())) > 0;) {
    for (size_t i = 0; i < n; ++i) {
      if (chunk[i] >= rank_of.size()) throw std::runtime_error(ids_path + " holds a word the vocabulary does not know");
      chunk[i] = rank_of[chunk[i]];
    }
    out.write(std::string_view(reinterpret_cast<const char*>(chunk.data()), n * sizeof(uint32_t)));
  }
  if (std::ferror(in.get())) throw std::runtime_error("cannot read " + ids_path);
  in.reset();
  out.close();
  common::remove_file(ids_path);
  return std::move(starts_);
}

}  // namespace velmor
