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

namespace velmor {

class Collation;

// One word of a document: where it stands in which line.
struct Token {
  uint32_t line, begin, length;
};

class PostingsBuilder {
 public:
  // `dir` is an existing, empty work folder; the corpus reads its files, so
  // it must stay until the corpus is gone.
  PostingsBuilder(std::string dir, size_t memory_budget, KeyFold fold);
  // Documents are numbered in the order they come; tokens by line, then offset.
  void add_document(const Document& doc, const std::vector<Token>& tokens);
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
  std::vector<DocumentInfo> documents_;
  std::vector<uint64_t> first_lines_;
  std::vector<std::string> runs_;
  uint64_t words_ = 0;
  uint64_t run_occurrences_ = 0;
};

}  // namespace velmor
