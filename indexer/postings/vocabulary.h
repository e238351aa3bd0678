#pragma once
// Every distinct written form and every distinct key (the folded form, where
// "Straße" and "STRASSE" meet), with the counts the corpus reports, and each
// word's occurrences of the current run in memory, encoded.
#include <cstdint>
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
  uint32_t last_doc = UINT32_MAX;
  PostingCursor cursor;  // of `postings`
  std::string postings;  // this run's occurrences; short ones need no heap
};

class Vocabulary {
 public:
  explicit Vocabulary(KeyFold fold) : fold_(fold) {}
  // The id of a written form, made when new; nothing is counted.
  uint32_t intern_form(std::string_view form);
  // Counts one occurrence of a form by its id; returns the form's word id.
  uint32_t count_form(uint32_t form) {
    ++form_count_[form];
    return form_word_[form];
  }
  // The word id of a written form, counting the form.
  uint32_t add(std::string_view form) { return count_form(intern_form(form)); }
  // Appends an occurrence to the word's run in memory; says whether it is
  // the first in its document.
  bool record(uint32_t word, const Occurrence& o);
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
  // The most frequent written form of every word; the first seen wins a tie.
  std::vector<std::string> forms() const;
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
