#include "indexer/postings/mapped_corpus.h"

#include <cstring>
#include <stdexcept>

#include "indexer/postings/posting_codec.h"
#include "indexer/postings/varint.h"

namespace velmor {

MappedCorpus::MappedCorpus(const std::string& dir, CorpusParts parts)
    : parts_(std::move(parts)),
      text_(dir + "/text.dat"),
      offsets_(dir + "/lines.dat"),
      postings_(dir + "/postings.dat"),
      sequence_(dir + "/sequence.dat"),
      spans_(dir + "/spans.dat"),
      stretches_(dir + "/stretches.dat") {
  uint64_t lines = 0;
  first_tokens_.push_back(0);
  for (const DocumentInfo& d : parts_.documents) {
    lines += d.lines;
    first_tokens_.push_back(first_tokens_.back() + d.tokens);
  }
  if (sequence_.bytes().size() != first_tokens_.back() * sizeof(uint32_t))
    throw std::runtime_error(dir + "/sequence.dat does not match the documents");
  if (parts_.span_starts.size() != parts_.documents.size() + 1 || parts_.span_starts.back() != spans_.bytes().size())
    throw std::runtime_error(dir + "/spans.dat does not match the documents");
  if (parts_.stretch_starts.size() != parts_.documents.size() + 1 ||
      parts_.stretch_starts.back() != stretches_.bytes().size())
    throw std::runtime_error(dir + "/stretches.dat does not match the documents");
  if (offsets_.bytes().size() != (lines + 1) * sizeof(uint64_t))
    throw std::runtime_error("the line offsets in " + dir + "/lines.dat do not match the documents");
  if (parts_.postings.size() != parts_.words.size() * 2)
    throw std::runtime_error("the postings table does not match the words");
  for (size_t i = 0; i < parts_.postings.size(); i += 2) {
    if (parts_.postings[i] > parts_.postings[i + 1] || parts_.postings[i + 1] > postings_.bytes().size())
      throw std::runtime_error(dir + "/postings.dat is shorter than its table");
  }
}

std::string_view MappedCorpus::line(uint32_t doc, uint32_t line) const {
  if (doc >= parts_.documents.size() || line >= parts_.documents[doc].lines) return {};
  uint64_t at[2];
  std::memcpy(at, offsets_.bytes().data() + (parts_.first_lines[doc] + line) * sizeof(uint64_t), sizeof at);
  return text_.bytes().substr(at[0], at[1] - at[0]);
}

void MappedCorpus::forget_read_pages() const {
  text_.forget_pages();
  offsets_.forget_pages();
  postings_.forget_pages();
  spans_.forget_pages();
  stretches_.forget_pages();
}

void MappedCorpus::occurrences(size_t rank, std::vector<Occurrence>& out) const {
  out.clear();
  if (rank >= parts_.words.size()) return;
  uint64_t begin = parts_.postings[rank * 2];
  decode_postings(postings_.bytes().substr(begin, parts_.postings[rank * 2 + 1] - begin), out);
}

}  // namespace velmor

namespace velmor {

std::span<const uint32_t> MappedCorpus::sequence(uint32_t doc) const {
  if (doc >= parts_.documents.size()) return {};
  // The file is mapped at a page boundary and holds whole 32-bit numbers.
  const auto* all = reinterpret_cast<const uint32_t*>(sequence_.bytes().data());
  return {all + first_tokens_[doc], first_tokens_[doc + 1] - first_tokens_[doc]};
}

void MappedCorpus::tokens(uint32_t doc, std::vector<WordToken>& out) const {
  std::span<const uint32_t> ranks = sequence(doc);
  if (ranks.empty()) return;
  std::string_view spans = spans_.bytes();
  const char* p = spans.data() + parts_.span_starts[doc];
  const char* end = spans.data() + parts_.span_starts[doc + 1];
  uint32_t line = 0;
  out.reserve(out.size() + ranks.size());
  for (uint32_t rank : ranks) {
    line += static_cast<uint32_t>(get_varint(p, end));
    uint32_t begin = static_cast<uint32_t>(get_varint(p, end));
    uint32_t length = static_cast<uint32_t>(get_varint(p, end));
    out.push_back({rank, line, begin, length});
  }
}

}  // namespace velmor

namespace velmor {

void MappedCorpus::stretch_starts(uint32_t doc, std::vector<uint32_t>& out) const {
  if (doc >= parts_.documents.size()) return;
  std::string_view bytes = stretches_.bytes();
  const char* p = bytes.data() + parts_.stretch_starts[doc];
  const char* end = bytes.data() + parts_.stretch_starts[doc + 1];
  uint32_t start = 0;
  while (p < end) out.push_back(start += static_cast<uint32_t>(get_varint(p, end)));
}

}  // namespace velmor
