#pragma once
// Documents in, Corpus out. Occurrences gather in memory until the budget is
// spent, then go to a sorted run on disk; at the end the runs merge into one
// postings file with a stretch per word.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "indexer/model.h"
#include "indexer/postings/line_store.h"
#include "indexer/postings/string_table.h"
#include "indexer/postings/vocabulary.h"
#include "indexer/postings/word_sequence.h"

namespace velmor {

class Collation;

// One word of a document: where it stands in which line, and in
// PostingsBuilder::add_page the number of its written form in the page.
struct Token {
  uint32_t line, begin, length;
  uint32_t form = 0;
};

class PostingsBuilder {
 public:
  // `dir` is an existing, empty work folder; the corpus reads its files, so
  // it must stay until the corpus is gone.
  PostingsBuilder(std::string dir, size_t memory_budget, KeyFold fold);
  // Documents are numbered in the order they come; tokens by line, then
  // offset. add_document looks up each token's written form by its text.
  void add_document(const Document& doc, const std::vector<Token>& tokens);
  // The same, with the look-ups made by the thread that split the page:
  // a token's `form` numbers its written form in the page, 0, 1, 2... in the
  // order first met, and `forms[n]` is the id of form n in the table of
  // `source` (one table per splitting thread, ids dense from 0 and never
  // reused). This thread then looks at each distinct form of a page once.
  void add_page(const Document& doc, const std::vector<Token>& tokens, const std::vector<uint32_t>& forms,
                unsigned source);
  // Memory that the callers' own form tables take, counted in the budget.
  void set_outside_bytes(size_t bytes) { outside_bytes_ = bytes; }
  // The builder is spent afterwards.
  std::unique_ptr<Corpus> finish(const Collation& collation);

  size_t runs() const { return runs_.size(); }
  uint64_t words() const { return words_; }

 private:
  void add_tokens(const Document& doc, const std::vector<Token>& tokens);
  void spill_if_over_budget();
  void spill();
  // What the page being added takes, and giving it back: one page of a
  // million distinct words leaves some 60 MB behind.
  size_t scratch_bytes() const;
  void release_scratch();
  // Writes postings.dat; returns where each word's postings begin, and one past the last.
  std::vector<uint64_t> write_postings();

  std::string dir_;
  size_t budget_;
  Vocabulary vocabulary_;
  LineStoreWriter line_store_;
  WordSequenceWriter sequence_;
  std::vector<DocumentInfo> documents_;
  std::vector<uint64_t> first_lines_;
  std::vector<std::string> runs_;
  uint64_t words_ = 0;
  uint64_t run_occurrences_ = 0;
  size_t outside_bytes_ = 0;
  std::vector<std::vector<uint32_t>> source_forms_;  // per source: its form id -> ours
  // The page being added, kept between pages for their memory: its forms by
  // their number in the page, and its words in the order first met.
  StringTable page_table_;
  std::vector<std::string_view> new_texts_;
  std::vector<uint32_t> new_forms_, interned_;
  std::vector<Token> page_tokens_;
  std::vector<uint32_t> page_forms_, form_uses_, form_slot_;
  std::vector<uint32_t> page_words_, word_uses_, ordinals_;
  std::vector<uint32_t> word_slot_;  // by word id: its place in page_words_, or kNotInPage
};

}  // namespace velmor
