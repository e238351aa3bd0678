#include "indexer/postings/runs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "indexer/postings/posting_codec.h"
#include "common/utf8_files.h"

namespace velmor {

void RunWriter::add(uint32_t word, std::string_view postings) {
  header_.clear();
  put_varint(header_, word - next_);
  put_varint(header_, postings.size());
  out_.write(header_);
  out_.write(postings);
  next_ = word + 1;
}

namespace {

class RunReader {
 public:
  RunReader(const std::string& path, size_t buffer_bytes) : path_(path), file_(common::open_file(path, "rb")) {
    if (!file_) throw std::runtime_error("cannot read " + path + ": " + strerror(errno));
    std::setvbuf(file_, nullptr, _IOFBF, buffer_bytes);
    advance();
  }
  ~RunReader() { std::fclose(file_); }
  bool live() const { return live_; }
  uint32_t word() const { return word_; }
  const std::string& postings() const { return postings_; }

  void advance() {
    int c = std::getc(file_);
    if (c == EOF) {
      if (std::ferror(file_)) broken();
      live_ = false;
      return;
    }
    std::ungetc(c, file_);
    word_ = next_ + static_cast<uint32_t>(number());
    next_ = word_ + 1;
    postings_.resize(number());
    if (std::fread(postings_.data(), 1, postings_.size(), file_) != postings_.size()) broken();
  }

 private:
  uint64_t number() {
    uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      int c = std::getc(file_);
      if (c == EOF) broken();
      value |= static_cast<uint64_t>(c & 0x7f) << shift;
      if (!(c & 0x80)) return value;
    }
    broken();
  }
  [[noreturn]] void broken() { throw std::runtime_error("the run file " + path_ + " is cut short or damaged"); }

  std::string path_;
  std::FILE* file_;
  bool live_ = true;
  uint32_t word_ = 0, next_ = 0;
  std::string postings_;
};

}  // namespace

std::vector<uint64_t> merge_runs(const std::vector<std::string>& runs, uint32_t words, DataFile& out,
                                 size_t buffer_bytes) {
  std::vector<std::unique_ptr<RunReader>> readers;
  for (const std::string& path : runs) readers.push_back(std::make_unique<RunReader>(path, buffer_bytes));
  std::vector<uint64_t> starts;
  starts.reserve(words + 1);
  std::string merged;
  for (uint32_t word = 0; word < words; ++word) {
    starts.push_back(out.position());
    RunReader* only = nullptr;
    size_t found = 0;
    for (auto& r : readers) {
      if (r->live() && r->word() == word) {
        only = r.get();
        ++found;
      }
    }
    if (found == 1) {
      // A stretch from one run is already what the merged file holds.
      out.write(only->postings());
      only->advance();
      continue;
    }
    // Each run's stretch starts from the zero cursor; one stretch needs one,
    // so the later stretches are encoded again, streaming.
    PostingCursor at;
    merged.clear();
    for (auto& r : readers) {
      if (!r->live() || r->word() != word) continue;
      const char* p = r->postings().data();
      const char* end = p + r->postings().size();
      PostingCursor from;
      while (p < end) {
        encode_posting(merged, at, decode_posting(p, end, from));
        if (merged.size() >= (1 << 20)) {
          out.write(merged);
          merged.clear();
        }
      }
      r->advance();
    }
    out.write(merged);
  }
  starts.push_back(out.position());
  for (auto& r : readers) {
    if (r->live()) throw std::runtime_error("a run file holds a word the vocabulary does not know");
  }
  return starts;
}

}  // namespace velmor
