#include "indexer/postings/postings_builder.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <thread>

#include "indexer/postings/mapped_corpus.h"
#include "indexer/postings/runs.h"
#include "indexer/string_order.h"
#include "indexer/words/words.h"
#include "common/utf8_files.h"

namespace velmor {

PostingsBuilder::PostingsBuilder(std::string dir, size_t memory_budget, KeyFold fold)
    : dir_(std::move(dir)), budget_(memory_budget), vocabulary_(fold), line_store_(dir_), sequence_(dir_) {}

namespace {
constexpr uint32_t kUnmapped = UINT32_MAX;
constexpr uint32_t kNotInPage = UINT32_MAX;
constexpr size_t kLookUpBatch = 4096;

std::string_view text_of(const Document& doc, const Token& t) {
  return std::string_view(doc.lines[t.line]).substr(t.begin, t.length);
}
}  // namespace

void PostingsBuilder::add_document(const Document& doc, const std::vector<Token>& tokens) {
  page_table_.clear();
  new_texts_.clear();
  page_tokens_ = tokens;
  for (Token& t : page_tokens_) {
    bool added;
    t.form = page_table_.intern(text_of(doc, t), added);
    if (added) new_texts_.push_back(text_of(doc, t));
  }
  page_forms_.clear();
  vocabulary_.intern_forms(new_texts_, page_forms_);
  add_tokens(doc, page_tokens_);
  if (scratch_bytes() > budget_ / 8) release_scratch();
}

void PostingsBuilder::add_page(const Document& doc, const std::vector<Token>& tokens,
                               const std::vector<uint32_t>& forms, unsigned source) {
  if (source >= source_forms_.size()) source_forms_.resize(source + 1);
  std::vector<uint32_t>& ours = source_forms_[source];
  page_forms_.clear();
  // The forms this thread has not seen from `source` are looked up in
  // batches, whose reads of the large table overlap; batches of a few
  // thousand, so that a page of millions of new words does not hold 24
  // bytes more for each of them.
  new_texts_.clear();
  new_forms_.clear();
  auto look_up = [&] {
    interned_.clear();
    vocabulary_.intern_forms(new_texts_, interned_);
    for (size_t i = 0; i < new_forms_.size(); ++i) {
      page_forms_[new_forms_[i]] = interned_[i];
      ours[forms[new_forms_[i]]] = interned_[i];
    }
    new_texts_.clear();
    new_forms_.clear();
  };
  for (const Token& t : tokens) {
    // Forms are numbered as first met, so a number not seen yet is the next.
    if (t.form < page_forms_.size()) continue;
    if (t.form != page_forms_.size()) throw std::logic_error("a page's forms are not numbered as first met");
    const uint32_t theirs = forms[t.form];
    if (theirs >= ours.size()) ours.resize(theirs + 1, kUnmapped);
    // Distinct forms of a page have distinct ids in their source's table,
    // so no form waits in a batch for one after it.
    if (ours[theirs] == kUnmapped) {
      new_texts_.push_back(text_of(doc, t));
      new_forms_.push_back(t.form);
    }
    page_forms_.push_back(ours[theirs]);
    if (new_texts_.size() == kLookUpBatch) look_up();
  }
  look_up();
  add_tokens(doc, tokens);
  if (scratch_bytes() > budget_ / 8) release_scratch();
}

// The occurrences of a page are recorded word by word, not token by token:
// a word's state and postings are then touched once per page, and it is
// those random reaches into hundreds of thousands of words that bound this
// thread, which every page passes through.
void PostingsBuilder::add_tokens(const Document& doc, const std::vector<Token>& tokens) {
  const uint32_t number = static_cast<uint32_t>(documents_.size());
  DocumentInfo info;
  info.file_name = doc.file_name;
  info.title = doc.title;
  info.lines = static_cast<uint32_t>(doc.lines.size());
  info.bytes = doc.bytes;
  info.invalid_bytes = doc.invalid_bytes;
  info.tokens = tokens.size();
  first_lines_.push_back(line_store_.add(doc.lines));

  // Each form's word, and that word's place among the page's words.
  if (word_slot_.size() < vocabulary_.size()) word_slot_.resize(vocabulary_.size(), kNotInPage);
  form_uses_.assign(page_forms_.size(), 0);
  form_slot_.resize(page_forms_.size());
  page_words_.clear();
  for (size_t f = 0; f < page_forms_.size(); ++f) {
    const uint32_t word = vocabulary_.word_of(page_forms_[f]);
    if (word_slot_[word] == kNotInPage) {
      word_slot_[word] = static_cast<uint32_t>(page_words_.size());
      page_words_.push_back(word);
    }
    form_slot_[f] = word_slot_[word];
  }
  word_uses_.assign(page_words_.size() + 1, 0);
  for (const Token& t : tokens) {
    ++form_uses_[t.form];
    ++word_uses_[form_slot_[t.form] + 1];
    sequence_.add(page_words_[form_slot_[t.form]], t.line, t.begin, t.length);
  }
  sequence_.end_document(doc.stretch_starts);
  for (size_t f = 0; f < page_forms_.size(); ++f) vocabulary_.count_form(page_forms_[f], form_uses_[f]);

  // The ordinals grouped by word, each group in reading order.
  for (size_t w = 1; w < word_uses_.size(); ++w) word_uses_[w] += word_uses_[w - 1];
  ordinals_.resize(tokens.size());
  for (uint32_t ordinal = 0; ordinal < tokens.size(); ++ordinal)
    ordinals_[word_uses_[form_slot_[tokens[ordinal].form]]++] = ordinal;
  uint32_t begin = 0, unchecked = 0;
  for (size_t w = 0; w < page_words_.size(); ++w) {
    const uint32_t end = word_uses_[w];  // the scatter left each start at the next one's
    vocabulary_.record(page_words_[w], number, std::span<const uint32_t>(ordinals_).subspan(begin, end - begin));
    run_occurrences_ += end - begin;
    unchecked += end - begin;
    begin = end;
    word_slot_[page_words_[w]] = kNotInPage;
    // A document larger than the budget spills in its middle.
    if (unchecked >= 4096) {
      unchecked = 0;
      spill_if_over_budget();
    }
  }
  info.distinct = static_cast<uint32_t>(page_words_.size());
  words_ += tokens.size();
  documents_.push_back(std::move(info));
  spill_if_over_budget();
}

void PostingsBuilder::spill_if_over_budget() {
  // Three eighths of the budget are left for the pages being read and split,
  // the file buffers, ICU's data and the corpus made at the end. When the
  // vocabulary alone fills the rest, runs still get a sixteenth of the
  // budget rather than one document each.
  size_t used = vocabulary_.table_bytes() + vocabulary_.postings_bytes() + outside_bytes_ + scratch_bytes();
  for (const auto& forms : source_forms_) used += forms.capacity() * sizeof(uint32_t);
  used += word_slot_.capacity() * sizeof(uint32_t);
  if (run_occurrences_ == 0 || used <= budget_ / 8 * 5) return;
  if (vocabulary_.postings_bytes() < budget_ / 16) return;
  spill();
}

size_t PostingsBuilder::scratch_bytes() const {
  size_t words = new_forms_.capacity() + interned_.capacity() + page_forms_.capacity() + form_uses_.capacity() +
                 form_slot_.capacity() + page_words_.capacity() + word_uses_.capacity() + ordinals_.capacity();
  return words * sizeof(uint32_t) + new_texts_.capacity() * sizeof(std::string_view) +
         page_tokens_.capacity() * sizeof(Token) + page_table_.memory_bytes();
}

void PostingsBuilder::release_scratch() {
  page_table_.release();
  std::vector<std::string_view>().swap(new_texts_);
  for (auto* v :
       {&new_forms_, &interned_, &page_forms_, &form_uses_, &form_slot_, &page_words_, &word_uses_, &ordinals_})
    std::vector<uint32_t>().swap(*v);
  std::vector<Token>().swap(page_tokens_);
}

void PostingsBuilder::spill() {
  std::string path = dir_ + "/run-" + std::to_string(runs_.size()) + ".dat";
  RunWriter run(path);
  vocabulary_.drain([&](uint32_t word, std::string_view postings) { run.add(word, postings); });
  run.close();
  runs_.push_back(path);
  run_occurrences_ = 0;
}

std::vector<uint64_t> PostingsBuilder::write_postings() {
  std::vector<uint64_t> starts;
  const uint32_t words = vocabulary_.size();
  DataFile out(dir_ + "/postings.dat");
  if (runs_.empty()) {
    // Every word occurred in the one run held in memory.
    vocabulary_.drain([&](uint32_t, std::string_view postings) {
      starts.push_back(out.position());
      out.write(postings);
    });
    starts.push_back(out.position());
  } else {
    if (run_occurrences_ > 0) spill();
    vocabulary_.release_states();  // all in the runs now; the merge may take long
    // The reading buffers share an eighth of the budget, between 64 KB and 1 MB each.
    size_t buffer = std::clamp<size_t>(budget_ / 8 / runs_.size(), 64 << 10, 1 << 20);
    starts = merge_runs(runs_, words, out, buffer);
    for (const std::string& run : runs_) common::remove_file(run);
  }
  out.close();
  return starts;
}

namespace {
// `work` on a thread of its own beside the caller's; wait() joins it and
// rethrows what it threw.
class Beside {
 public:
  explicit Beside(std::function<void()> work)
      : thread_([this, work = std::move(work)] {
          try {
            work();
          } catch (...) {
            failed_ = std::current_exception();
          }
        }) {}
  Beside(const Beside&) = delete;  // the thread holds `this`
  Beside& operator=(const Beside&) = delete;
  void wait() {
    thread_.join();
    if (failed_) std::rethrow_exception(failed_);
  }

 private:
  std::exception_ptr failed_;  // before the thread, which may set it at once
  std::jthread thread_;
};
}  // namespace

std::unique_ptr<Corpus> PostingsBuilder::finish(const Collation& collation) {
  line_store_.close();
  // What only the adding needed goes first, then each part of the
  // vocabulary as soon as it is done with, and the words of the corpus are
  // made only once the forms and their sort keys are: with 1,000,000
  // distinct words the heap peaked here at 395 MB when all was kept to the
  // last (5,000,000: 1.9 GB resident).
  release_scratch();
  std::vector<std::vector<uint32_t>>().swap(source_forms_);
  std::vector<uint32_t>().swap(word_slot_);
  const uint32_t count = vocabulary_.size();
  struct Counts {
    uint64_t count;
    uint32_t documents;
  };
  std::vector<Counts> counts(count);
  for (uint32_t id = 0; id < count; ++id) counts[id] = {vocabulary_.state(id).count, vocabulary_.state(id).documents};
  // The postings are merged and written on a thread of their own while this
  // one orders the words; neither needs the other's result until the end.
  // From here on only that thread reads the words' states, and it frees them.
  std::vector<uint64_t> starts;
  Beside postings([&] {
    starts = write_postings();
    vocabulary_.release_states();
  });

  // The sort keys take a second thread too: alone, they kept one core idle
  // once the postings' writer was done. ICU's collator may be read from
  // threads at once; the alphabetic index behind initial() may not, so it
  // stays on this one.
  std::vector<uint32_t> form_of = vocabulary_.choose_forms();
  std::vector<std::string> sort_keys(count);
  {
    auto keys = [&](uint32_t from, uint32_t to) {
      for (uint32_t id = from; id < to; ++id) sort_keys[id] = collation.sort_key(vocabulary_.form(form_of[id]));
    };
    Beside second_half([&] { keys(count / 2, count); });
    keys(0, count / 2);
    second_half.wait();
  }
  // The words' order: by the collation, ties by key.
  const std::vector<uint32_t> order =
      order_by_bytes(sort_keys, [&](uint32_t a, uint32_t b) { return vocabulary_.key(a) < vocabulary_.key(b); });
  std::vector<std::string>().swap(sort_keys);

  // The word sequences are rewritten in ranks beside the rest, which does
  // not read them.
  std::vector<uint32_t> rank_of(count);
  for (uint32_t r = 0; r < count; ++r) rank_of[order[r]] = r;
  CorpusParts parts;
  Beside sequences([&] {
    WordSequenceWriter::Starts starts = sequence_.finish(rank_of, std::clamp<size_t>(budget_ / 16, 64 << 10, 4 << 20));
    parts.span_starts = std::move(starts.spans);
    parts.stretch_starts = std::move(starts.stretches);
  });
  std::vector<WordInfo> words(count);
  for (uint32_t r = 0; r < count; ++r) words[r].form = vocabulary_.form(form_of[order[r]]);
  vocabulary_.release_forms();
  std::vector<uint32_t>().swap(form_of);
  for (uint32_t r = 0; r < count; ++r) {
    WordInfo& w = words[r];
    w.key = vocabulary_.key(order[r]);
    w.count = counts[order[r]].count;
    w.documents = counts[order[r]].documents;
    w.initial = collation.initial(w.form);
  }
  vocabulary_.release_keys();
  std::vector<Counts>().swap(counts);
  postings.wait();
  parts.documents = std::move(documents_);
  parts.first_lines = std::move(first_lines_);
  parts.words = std::move(words);
  parts.postings.reserve(count * 2);
  for (uint32_t id : order) {
    parts.postings.push_back(starts[id]);
    parts.postings.push_back(starts[id + 1]);
  }
  sequences.wait();
  return std::make_unique<MappedCorpus>(dir_, std::move(parts));
}

}  // namespace velmor
