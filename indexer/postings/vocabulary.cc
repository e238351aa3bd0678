#include "indexer/postings/vocabulary.h"

namespace velmor {

namespace {
// What a string's buffer costs beyond the string itself, malloc's header included.
size_t heap_of(const std::string& s) { return s.capacity() > 15 ? s.capacity() + 16 : 0; }
}  // namespace

void Vocabulary::intern_forms(std::span<const std::string_view> forms, std::vector<uint32_t>& ids) {
  const size_t from = ids.size();
  forms_.intern_all(forms, ids);
  for (size_t i = 0; i < forms.size(); ++i) {
    if (ids[from + i] != form_word_.size()) continue;  // not new
    bool new_key;
    uint32_t word = keys_.intern(fold_(forms[i]), new_key);
    if (new_key) words_.emplace_back();
    form_word_.push_back(word);
    form_count_.push_back(0);
  }
}

void Vocabulary::record(uint32_t word, uint32_t doc, std::span<const uint32_t> ordinals) {
  WordState& w = words_[word];
  w.count += ordinals.size();
  ++w.documents;
  size_t before = heap_of(w.postings);
  for (uint32_t ordinal : ordinals) encode_posting(w.postings, w.cursor, Occurrence{doc, ordinal});
  postings_heap_ += heap_of(w.postings) - before;
}

size_t Vocabulary::table_bytes() const {
  return forms_.memory_bytes() + keys_.memory_bytes() + form_word_.capacity() * sizeof(uint32_t) +
         form_count_.capacity() * sizeof(uint64_t) + words_.capacity() * sizeof(WordState);
}

std::vector<uint32_t> Vocabulary::choose_forms() {
  // keys_, not words_, says how many: the postings' writer may be freeing the states.
  std::vector<uint32_t> best(keys_.size(), UINT32_MAX);
  for (uint32_t id = 0; id < form_word_.size(); ++id) {
    uint32_t& b = best[form_word_[id]];
    if (b == UINT32_MAX || form_count_[id] > form_count_[b]) b = id;
  }
  std::vector<uint32_t>().swap(form_word_);
  std::vector<uint64_t>().swap(form_count_);
  return best;
}

void Vocabulary::release_states() {
  std::vector<WordState>().swap(words_);
  postings_heap_ = 0;
}

void Vocabulary::release() {
  release_forms();
  std::vector<uint32_t>().swap(form_word_);
  std::vector<uint64_t>().swap(form_count_);
  release_keys();
  release_states();
}

}  // namespace velmor
