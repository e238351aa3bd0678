#include "indexer/run/index_pages.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "indexer/postings/postings_builder.h"
#include "indexer/postings/string_table.h"
#include "indexer/read/read_page.h"
#include "indexer/words/stretches.h"
#include "indexer/words/words.h"

namespace velmor {

namespace {

struct SplitPage {
  PageRead read;
  std::vector<Token> tokens;    // forms numbered in the page
  std::vector<uint32_t> forms;  // the page's forms by their ids in the worker's table
  unsigned worker = 0;
};

// Pages read ahead of the builder: up to `kWindow` of them, so that a run
// of long pages does not leave the workers waiting and a core idle (with 8,
// the whole run took a tenth longer), but no more than the options' bytes
// of files, so that memory stays bounded by a few pages however long they
// are. The page the builder waits for is always read.
constexpr size_t kWindow = 32;

class ReadAhead {
 public:
  ReadAhead(const std::vector<PageFile>& pages, WordRules rules, uint64_t ahead_bytes)
      : pages_(pages), rules_(rules), most_ahead_(ahead_bytes), slots_(kWindow) {}

  void work(unsigned worker) {
    WordSplitter splitter(rules_);
    // The look-up of each written form happens here, on this thread: first
    // in the page's own small table, which stays in the cache, and once per
    // distinct form of the page in this thread's table of all forms. The
    // builder maps our ids to its own once per form.
    StringTable forms, page_forms;
    size_t forms_bytes = 0;
    std::vector<WordSpan> spans;
    std::vector<std::string_view> texts;
    for (;;) {
      size_t i = next_.fetch_add(1);
      if (i >= pages_.size()) return;
      {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] {
          return failed_ || i == taken_ || (i < taken_ + kWindow && ahead_bytes_ + pages_[i].bytes <= most_ahead_);
        });
        if (failed_) return;
        ahead_bytes_ += pages_[i].bytes;
      }
      SplitPage page;
      try {
        page.read = read_page_file(pages_[i].path, pages_[i].name);
        const std::vector<std::string>& lines = page.read.document.lines;
        page_forms.clear();
        for (uint32_t n = 0; n < lines.size(); ++n) {
          spans.clear();
          splitter.split(lines[n], spans);
          for (const WordSpan& s : spans) {
            const std::string_view text = std::string_view(lines[n]).substr(s.begin, s.length);
            bool added;
            page.tokens.push_back(Token{n, s.begin, s.length, page_forms.intern(text, added)});
          }
        }
        page.read.document.stretch_starts = stretch_starts(page.read.document, page.tokens);
        texts.clear();
        for (uint32_t f = 0; f < page_forms.size(); ++f) texts.push_back(page_forms.text(f));
        forms.intern_all(texts, page.forms);
        page.worker = worker;
        size_t now = forms.memory_bytes();
        forms_bytes_ += now - forms_bytes;
        forms_bytes = now;
      } catch (...) {
        fail(std::current_exception());
        return;
      }
      std::lock_guard lock(mutex_);
      slots_[i % kWindow] = std::move(page);
      ready_.notify_all();
    }
  }

  // The page `i`, in order; rethrows what a worker met.
  SplitPage take(size_t i) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return slots_[i % kWindow].has_value() || failed_; });
    if (failed_) std::rethrow_exception(error_);
    SplitPage page = std::move(*slots_[i % kWindow]);
    slots_[i % kWindow].reset();
    ahead_bytes_ -= pages_[i].bytes;
    ++taken_;
    room_.notify_all();
    return page;
  }

  void stop() { fail(nullptr); }
  size_t forms_bytes() const { return forms_bytes_; }

 private:
  void fail(std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    if (!failed_) error_ = error;
    failed_ = true;
    ready_.notify_all();
    room_.notify_all();
  }

  const std::vector<PageFile>& pages_;
  const WordRules rules_;
  const uint64_t most_ahead_;
  std::atomic<size_t> next_{0};
  std::atomic<size_t> forms_bytes_{0};
  std::mutex mutex_;
  std::condition_variable ready_, room_;
  std::vector<std::optional<SplitPage>> slots_;
  size_t taken_ = 0;
  uint64_t ahead_bytes_ = 0;  // of the pages started and not yet taken
  bool failed_ = false;
  std::exception_ptr error_;
};

}  // namespace

IndexResult index_pages(const std::vector<PageFile>& pages, const Collation& collation, const IndexOptions& options) {
  ReadAhead ahead(pages, options.words, options.read_ahead_bytes);
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < std::max(1u, options.threads); ++t) workers.emplace_back([&ahead, t] { ahead.work(t); });
  struct Join {
    ReadAhead& ahead;
    std::vector<std::thread>& workers;
    ~Join() {
      ahead.stop();
      for (std::thread& w : workers) w.join();
    }
  } join{ahead, workers};

  PostingsBuilder builder(options.work_dir, options.memory_budget, key_function(options.words));
  IndexResult result;
  IndexProgress progress;
  progress.pages_total = pages.size();
  for (const PageFile& p : pages) progress.bytes_total += p.bytes;
  for (size_t i = 0; i < pages.size(); ++i) {
    SplitPage page = ahead.take(i);
    if (page.read.problem == PageProblem::none) {
      builder.set_outside_bytes(ahead.forms_bytes());
      builder.add_page(page.read.document, page.tokens, page.forms, page.worker);
    } else {
      ++result.skipped;
      if (options.skipped) options.skipped(page.read.message);
    }
    ++progress.pages_done;
    progress.bytes_done += pages[i].bytes;
    if (options.progress) options.progress(progress);
  }
  result.words = builder.words();
  result.corpus = builder.finish(collation);
  result.runs = builder.runs();
  result.distinct = result.corpus->word_count();
  return result;
}

}  // namespace velmor
