#pragma once
// The finished corpus: documents and words in memory, lines and postings read
// from the mapped files of the work folder, which must outlive it.
#include <memory>
#include <string>
#include <vector>

#include "indexer/model.h"
#include "indexer/postings/mapped_file.h"

namespace velmor {

struct CorpusParts {
  std::vector<DocumentInfo> documents;
  std::vector<uint64_t> first_lines;     // per document, into lines.dat
  std::vector<WordInfo> words;           // in rank order
  std::vector<uint64_t> postings;        // per rank, begin and end in postings.dat (2 each)
  std::vector<uint64_t> span_starts;     // per document and one past the last, into spans.dat
  std::vector<uint64_t> stretch_starts;  // the same, into stretches.dat
};

class MappedCorpus : public Corpus {
 public:
  MappedCorpus(const std::string& dir, CorpusParts parts);
  uint32_t document_count() const override { return static_cast<uint32_t>(parts_.documents.size()); }
  const DocumentInfo& document(uint32_t doc) const override { return parts_.documents.at(doc); }
  std::string_view line(uint32_t doc, uint32_t line) const override;
  size_t word_count() const override { return parts_.words.size(); }
  const WordInfo& word(size_t rank) const override { return parts_.words.at(rank); }
  void occurrences(size_t rank, std::vector<Occurrence>& out) const override;
  std::span<const uint32_t> sequence(uint32_t doc) const override;
  void tokens(uint32_t doc, std::vector<WordToken>& out) const override;
  void stretch_starts(uint32_t doc, std::vector<uint32_t>& out) const override;
  // All but the sequences, which the measures read at random throughout.
  void forget_read_pages() const override;

 private:
  CorpusParts parts_;
  std::vector<uint64_t> first_tokens_;  // per document and one past the last
  MappedFile text_, offsets_, postings_, sequence_, spans_, stretches_;
};

}  // namespace velmor
