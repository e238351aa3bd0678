#include "indexer/site/site.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "indexer/site/assets.h"
#include "indexer/site/format_script.h"
#include "indexer/site/text_store.h"
#include "indexer/site/entries.h"
#include "indexer/site/layout.h"
#include "indexer/site/lists.h"
#include "indexer/site/lookup.h"
#include "indexer/site/out_file.h"
#include "indexer/site/pages.h"
#include "indexer/site/plan.h"
#include "indexer/site/positions.h"
#include "indexer/site/query_page.h"
#include "indexer/site/stats.h"

namespace velmor {

std::string collation_tag(const std::string& locale_name) {
  std::string tag = locale_name.substr(0, locale_name.find_first_of(".@"));
  for (char& c : tag)
    if (c == '_') c = '-';
  if (tag.empty() || tag == "C" || tag == "POSIX" || tag == "root") return "und";
  return tag;
}

namespace {

constexpr size_t kWordsPerList = 2000;
// A pattern that begins with * or ? reads every shard: few big ones load
// faster than many small ones, and a prefix still reads only one.
constexpr size_t kKeysPerShard = 16000;
constexpr size_t kNgramsListed = 1000;  // of each size

// One piece of the site that one thread writes alone, and the share of the
// progress it stands for.
struct Task {
  std::function<void()> run;
  uint64_t weight;
};

}  // namespace

void write_site(const Corpus& corpus, const std::filesystem::path& out_dir, const SiteOptions& options) {
  const uint32_t limit = options.folder_files;
  const SitePlan plan = plan_site(measure(corpus), limit);
  std::vector<std::string_view> initials(corpus.word_count());
  for (size_t r = 0; r < initials.size(); ++r) initials[r] = corpus.word(r).initial;
  const std::vector<ListPage> lists = plan_lists_within(initials, kWordsPerList, family_share(limit));
  const std::string collation = collation_tag(options.locale_name);
  // lookup/ holds keys.js, entries.js, docs.js and sizes.js beside the shards.
  const size_t keys_per_shard = items_per_file(corpus.word_count(), kKeysPerShard, limit - 4);
  // Not create_directories: a missing output folder is an error, not made here.
  std::filesystem::create_directory(out_dir / "text");
  const uint32_t text_folders = (corpus.document_count() + limit - 1) / limit;
  if (text_folders > limit)
    throw std::runtime_error(std::to_string(corpus.document_count()) + " documents are more than " +
                             std::to_string(uint64_t{limit} * limit) + ", which the site's folders hold");
  for (uint32_t f = 0; f < text_folders; ++f)
    std::filesystem::create_directory((out_dir / text_store_file(f * limit, limit)).parent_path());

  CorpusMeasures measures(corpus, plan.measured_from, kNgramsListed);
  const uint64_t tokens = measures.tokens();
  const std::vector<int16_t>& dispersion = measures.dispersion();
  const EntryContext entries{corpus, plan, collation, measures};

  // First what needs no measure of the whole corpus: the entries, which
  // measure each word's dispersion as they read its postings, and the
  // pages. Big tasks first and the many small ones last, so the two
  // threads end close together.
  std::vector<Task> tasks;
  tasks.push_back({[&] {
                     write_entry_starts(plan.entry_file, out_dir);
                     write_document_titles(corpus, out_dir);
                     write_document_sizes(corpus, out_dir);
                     write_start_page(corpus, lists, out_dir);
                     write_viewer(corpus, limit, out_dir);
                     write_file(out_dir / "formats.js", format_script());
                     for (const SiteAsset& asset : site_assets())
                       write_file(out_dir / asset.name, std::string(asset.text));
                   },
                   0});
  for (size_t begin = 0; begin < corpus.word_count();) {
    const uint32_t file = plan.entry_file[begin];
    size_t end = begin;
    while (end < corpus.word_count() && plan.entry_file[end] == file) ++end;
    tasks.push_back({[&, file, begin, end] { write_entry_file(entries, file, begin, end, out_dir); }, end - begin});
    begin = end;
  }
  for (uint32_t d = 0; d < corpus.document_count(); ++d)
    tasks.push_back({[&, d] { write_text_store(corpus, d, measures.keywords_of(d), limit, out_dir); }, 1});
  // The query page's positions (positions.h), each file read from the
  // postings as the entries read them.
  std::filesystem::create_directory(out_dir / "query");
  std::vector<uint64_t> counts(corpus.word_count());
  for (size_t r = 0; r < counts.size(); ++r) counts[r] = corpus.word(r).count;
  const std::vector<uint32_t> position_firsts = plan_position_files(counts, positions_per_file(tokens, limit - 1));
  const std::vector<uint64_t> starts = document_starts(corpus);
  tasks.push_back({[&] {
                     write_position_starts(position_firsts, out_dir);
                     write_query_page(limit, out_dir);
                   },
                   0});
  for (uint32_t f = 0; f < position_firsts.size(); ++f) {
    const size_t end = f + 1 < position_firsts.size() ? position_firsts[f + 1] : corpus.word_count();
    tasks.push_back({[&, f, end] { write_position_file(corpus, starts, f, position_firsts[f], end, out_dir); }, 0});
  }
  // Then the word lists and the look-up data, which show every word's
  // dispersion, once the entries have measured it. Each takes tenths of a
  // second (the lookup and the statistics of 425,723 words), so the two
  // threads still end close together.
  std::vector<Task> after_entries;
  after_entries.push_back({[&] { write_lookup(corpus, dispersion, out_dir, keys_per_shard); }, 0});
  after_entries.push_back({[&] { write_lists(corpus, plan, lists, dispersion, out_dir); }, 0});
  after_entries.push_back({[&] { write_stats(corpus, plan, dispersion, out_dir); }, 0});

  const uint64_t total = corpus.word_count() + corpus.document_count();
  std::mutex mutex;  // guards done, failure and the progress callback
  uint64_t done = 0;
  std::exception_ptr failure;
  auto run = [&](const std::vector<Task>& list) {
    std::atomic<size_t> next{0};
    auto work = [&] {
      for (size_t i; (i = next++) < list.size();) {
        try {
          list[i].run();
        } catch (...) {
          std::lock_guard<std::mutex> lock(mutex);
          if (!failure) failure = std::current_exception();
          next = list.size();
          return;
        }
        std::lock_guard<std::mutex> lock(mutex);
        // What a task read, it will not read again: without this the whole
        // corpus would end up counted in the process's memory.
        if (i % 16 == 15) corpus.forget_read_pages();
        done += list[i].weight;
        if (options.progress && list[i].weight > 0) options.progress(done, total);
      }
    };
    std::thread helper;
    if (std::thread::hardware_concurrency() > 1 && list.size() > 1) helper = std::thread(work);
    work();
    if (helper.joinable()) helper.join();
    if (failure) std::rethrow_exception(failure);
  };
  run(tasks);
  run(after_entries);
  // The n-grams are complete once every entry is written.
  write_ngrams(corpus, plan, measures.ngrams(), out_dir);
}

}  // namespace velmor
