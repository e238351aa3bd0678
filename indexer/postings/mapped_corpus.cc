#include "indexer/postings/mapped_corpus.h"

#include <cstring>
#include <stdexcept>

#include "indexer/postings/posting_codec.h"

namespace velmor {

MappedCorpus::MappedCorpus(const std::string& dir, CorpusParts parts)
    : parts_(std::move(parts)),
      text_(dir + "/text.dat"),
      offsets_(dir + "/lines.dat"),
      postings_(dir + "/postings.dat") {
  uint64_t lines = 0;
  for (const DocumentInfo& d : parts_.documents) lines += d.lines;
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

void MappedCorpus::occurrences(size_t rank, std::vector<Occurrence>& out) const {
  out.clear();
  if (rank >= parts_.words.size()) return;
  uint64_t begin = parts_.postings[rank * 2];
  decode_postings(postings_.bytes().substr(begin, parts_.postings[rank * 2 + 1] - begin), out);
}

}  // namespace velmor
