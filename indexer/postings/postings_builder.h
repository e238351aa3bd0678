#pragma once
// Documents in, Corpus out. Occurrences gather in memory until the budget is
// spent, then go to a sorted run on disk; at the end the runs merge into one
// postings file with a stretch per word.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "indexer/model.h"
#include "indexer/postings/doc_store.h"
#include "indexer/postings/vocabulary.h"
#include "indexer/postings/word_sequence.h"

namespace velmor {

class Collation;

constexpr uint32_t kNoForm = UINT32_MAX;

// One word of a document: where it stands in which line, and optionally the
// id its written form has in the caller's own table (see add_document).
struct Token {
  uint32_t line, begin, length;
  uint32_t form = kNoForm;
};

class PostingsBuilder {
 public:
  // `dir` is an existing, empty work folder; the corpus reads its files, so
  // it must stay until the corpus is gone.
  PostingsBuilder(std::string dir, size_t memory_budget, KeyFold fold);
  // Documents are numbered in the order they come; tokens by line, then
  // offset. Form ids in tokens are those of the table of `source` (one per
  // thread that splits pages; ids dense from 0 and never reused), which
  // spares this thread a hash look-up per word.
  void add_document(const Document& doc, const std::vector<Token>& tokens, unsigned source = 0);
  // Memory that the callers' own form tables take, counted in the budget.
  void set_outside_bytes(size_t bytes) { outside_bytes_ = bytes; }
  // The builder is spent afterwards.
  std::unique_ptr<Corpus> finish(const Collation& collation);

  size_t runs() const { return runs_.size(); }
  uint64_t words() const { return words_; }

 private:
  void spill_if_over_budget();
  void spill();

  std::string dir_;
  size_t budget_;
  Vocabulary vocabulary_;
  DocStoreWriter store_;
  WordSequenceWriter sequence_;
  std::vector<DocumentInfo> documents_;
  std::vector<uint64_t> first_lines_;
  std::vector<std::string> runs_;
  uint64_t words_ = 0;
  uint64_t run_occurrences_ = 0;
  size_t outside_bytes_ = 0;
  std::vector<std::vector<uint32_t>> source_forms_;  // per source: its form id -> ours
};

}  // namespace velmor
