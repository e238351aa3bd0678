#pragma once
// A Corpus held in memory and made with ICU the way the indexer makes one,
// small and slow: for the tests of the stages that read a corpus (words,
// measures, site).
#include <map>
#include <string>
#include <vector>

#include "indexer/model.h"

namespace velmor {

class MemoryCorpus : public Corpus {
 public:
  MemoryCorpus(const std::vector<Document>& documents, const std::string& locale);

  uint32_t document_count() const override { return static_cast<uint32_t>(infos_.size()); }
  const DocumentInfo& document(uint32_t doc) const override { return infos_.at(doc); }
  std::string_view line(uint32_t doc, uint32_t line) const override { return lines_.at(doc).at(line); }
  size_t word_count() const override { return words_.size(); }
  const WordInfo& word(size_t rank) const override { return words_.at(rank); }
  void occurrences(size_t rank, std::vector<Occurrence>& out) const override {
    out.insert(out.end(), occurrences_.at(rank).begin(), occurrences_.at(rank).end());
  }
  std::span<const uint32_t> sequence(uint32_t doc) const override { return sequences_.at(doc); }
  void tokens(uint32_t doc, std::vector<WordToken>& out) const override {
    out.insert(out.end(), tokens_.at(doc).begin(), tokens_.at(doc).end());
  }
  void stretch_starts(uint32_t doc, std::vector<uint32_t>& out) const override {
    out.insert(out.end(), stretch_starts_.at(doc).begin(), stretch_starts_.at(doc).end());
  }

 private:
  std::vector<DocumentInfo> infos_;
  std::vector<std::vector<std::string>> lines_;
  std::vector<WordInfo> words_;
  std::vector<std::vector<Occurrence>> occurrences_;
  std::vector<std::vector<uint32_t>> sequences_;
  std::vector<std::vector<WordToken>> tokens_;
  std::vector<std::vector<uint32_t>> stretch_starts_;
};

// NFC, then full case folding.
std::string fold(const std::string& word);

}  // namespace velmor
