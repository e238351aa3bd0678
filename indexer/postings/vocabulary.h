#pragma once
// Every distinct written form and every distinct key (the folded form, where
// "Straße" and "STRASSE" meet), with the counts the corpus reports, and each
// word's occurrences of the current run in memory, encoded.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/postings/posting_codec.h"
#include "indexer/postings/string_table.h"

namespace velmor {

using KeyFold = std::string (*)(std::string_view word);

struct WordState {
  uint64_t count = 0;
  uint32_t documents = 0;
  PostingCursor cursor;  // of `postings`
  std::string postings;  // this run's occurrences; short ones need no heap
};

class Vocabulary {
 public:
  explicit Vocabulary(KeyFold fold) : fold_(fold) {}
  // The ids of written forms, each made when new, appended to `ids` in
  // order; nothing is counted.
  void intern_forms(std::span<const std::string_view> forms, std::vector<uint32_t>& ids);
  // The word a written form belongs to, and a count of its occurrences.
  uint32_t word_of(uint32_t form) const { return form_word_[form]; }
  void count_form(uint32_t form, uint64_t occurrences) { form_count_[form] += occurrences; }
  // Appends all of a word's occurrences in one document, in order, to its
  // run in memory. A document comes once per word and after the earlier ones.
  void record(uint32_t word, uint32_t doc, std::span<const uint32_t> ordinals);
  // Hands each word's run to `write` (word id order, nonempty runs only) and
  // empties it.
  template <class Write>
  void drain(Write&& write) {
    for (uint32_t id = 0; id < words_.size(); ++id) {
      WordState& w = words_[id];
      if (w.postings.empty()) continue;
      write(id, std::string_view(w.postings));
      std::string().swap(w.postings);
      w.cursor = PostingCursor{};
    }
    postings_heap_ = 0;
  }
  // Memory of the tables, and of the runs in memory.
  size_t table_bytes() const;
  size_t postings_bytes() const { return postings_heap_; }

  uint32_t size() const { return static_cast<uint32_t>(words_.size()); }
  std::string_view key(uint32_t word) const { return keys_.text(word); }
  const WordState& state(uint32_t word) const { return words_[word]; }
  // The id of every word's most frequent written form; the first seen wins
  // a tie. The forms' counts go with it, and word_of and count_form end.
  std::vector<uint32_t> choose_forms();
  std::string_view form(uint32_t id) const { return forms_.text(id); }
  // What the end needs no more, each given back as soon as it is done with:
  // with millions of distinct words the tables weigh hundreds of megabytes
  // and would otherwise stand beside the corpus being made from them.
  void release_forms() { forms_.release(); }
  void release_keys() { keys_.release(); }
  void release_states();
  void release();

 private:
  KeyFold fold_;
  StringTable forms_, keys_;
  std::vector<uint32_t> form_word_;
  std::vector<uint64_t> form_count_;
  std::vector<WordState> words_;
  size_t postings_heap_ = 0;
};

}  // namespace velmor
