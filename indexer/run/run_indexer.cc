#include "indexer/run/run_indexer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

#include "common/utf8_files.h"
#include "indexer/numbers.h"
#include "indexer/run/index_pages.h"
#include "indexer/run/browser.h"
#include "indexer/run/lock.h"
#include "indexer/run/memory.h"
#include "indexer/run/out_folder.h"
#include "indexer/run/pages.h"
#include "indexer/run/progress.h"
#include "indexer/run/run_export.h"
#include "indexer/site/layout.h"
#include "indexer/site/site.h"
#include "indexer/words/words.h"

namespace fs = std::filesystem;

namespace velmor {

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// "1 page", "2,048 pages"
std::string counted(uint64_t n, const std::string& what) { return grouped(n) + " " + what + (n == 1 ? "" : "s"); }

void say(const std::string& line) {
  std::fprintf(stdout, "%s\n", line.c_str());
  std::fflush(stdout);
}

// "htm_out/" and "./htm_out" name the folder "htm_out"; the swap and the
// leftovers beside it need its own name.
std::string folder_name(const std::string& path) {
  fs::path p = common::utf8_path(path).lexically_normal();
  if (!p.has_filename()) p = p.parent_path();
  return common::utf8_string(p);
}

// The output folder is replaced whole, so it must not hold the input.
bool output_holds_input(const std::string& in, const std::string& out) {
  std::error_code ec;
  fs::path i = fs::weakly_canonical(common::utf8_path(in), ec);
  fs::path o = fs::weakly_canonical(common::utf8_path(out), ec);
  if (ec) return false;
  auto [o_end, i_at] = std::mismatch(o.begin(), o.end(), i.begin(), i.end());
  return o_end == o.end();
}

std::unique_ptr<Collation> make_collation(const std::string& asked) {
  if (!asked.empty()) return std::make_unique<Collation>(asked);  // throws on an unknown name
  std::string user = locale_from_environment();
  try {
    return std::make_unique<Collation>(user);
  } catch (const std::invalid_argument&) {
    complain("the alphabetical order of the locale " + user + " is unknown; using the root order");
    return std::make_unique<Collation>("");
  }
}

// The checks before anything is touched: the folders, the locale, the
// pages. 0, or the exit code of the refusal.
int check_input(const Arguments& args, const std::string& in, const std::string& out,
                std::unique_ptr<Collation>& collation, std::vector<PageFile>& pages) {
  if (out.empty() || out == "." || out == ".." || out == "/" || output_holds_input(in, out)) {
    complain("the output folder " + args.out_dir + " would hold the input; name another one");
    return kBadUsage;
  }
  try {
    collation = make_collation(args.locale);
  } catch (const std::invalid_argument&) {
    complain("unknown locale " + args.locale);
    return kBadUsage;
  }
  try {
    pages = list_pages(in);
  } catch (const std::runtime_error& e) {
    complain(e.what());
    return kFailed;
  }
  return 0;
}

// The output folder, for this run alone. 0, or the exit code of the refusal.
int take_output(const std::string& out, FolderLock& lock) {
  std::string why;
  switch (lock.take(out + ".lock", why)) {
    case LockOutcome::taken: break;
    case LockOutcome::busy: complain("another velmor is indexing into " + out + "; this one ends"); return kBusy;
    case LockOutcome::failed: complain(why); return kFailed;
  }
  switch (output_state(out)) {
    case OutputState::absent:
    case OutputState::empty:
    case OutputState::our_index: return 0;
    case OutputState::not_folder: complain(out + " is not a folder; no index was made"); return kFailed;
    case OutputState::theirs: break;
  }
  // The swap would delete it whole: only an index velmor wrote under this
  // name, or an empty folder, is ever replaced.
  complain(out +
           " is a folder velmor did not write an index into; no index was made and nothing in it was "
           "touched (name an empty or new folder)");
  return kFailed;
}

// What a run shows as it goes.
struct Console {
  std::chrono::steady_clock::time_point start;
  bool terminal;
};

// Reads every page and indexes its words into `work`, with a progress line;
// the corpus it returns is the index the site is written from.
IndexResult read_and_index_pages(const std::vector<PageFile>& pages, const std::string& in, const std::string& work,
                                 const Collation& collation, const Arguments& args, const Console& console) {
  ProgressLine reading(stdout, console.terminal);
  IndexOptions options;
  options.work_dir = work;
  options.memory_budget = args.memory_mb << 20;
  options.threads = 2;
  // The pages in flight come out of the share of the budget kept for them.
  options.read_ahead_bytes = std::clamp<uint64_t>(options.memory_budget / 32, 512 << 10, 8 << 20);
  options.words = args.words;
  options.progress = [&](const IndexProgress& p) {
    reading.update(format_progress("reading", p.pages_done, p.pages_total, "pages", p.bytes_done, p.bytes_total,
                                   seconds_since(console.start)),
                   p.bytes_total ? double(p.bytes_done) / p.bytes_total : 1.0);
  };
  options.skipped = [&](const std::string& message) {
    if (console.terminal) std::fputs("\r\033[K", stdout);
    complain(message + " (skipped)");
  };
  IndexResult result = index_pages(pages, collation, options);
  return_freed_memory();
  // An empty index in place of the earlier one would lose it for nothing.
  if (!pages.empty() && result.skipped == pages.size())
    throw std::runtime_error(pages.size() == 1
                                 ? "the only page of " + in + " could not be read"
                                 : "none of the " + counted(pages.size(), "page") + " of " + in + " could be read");
  uint64_t bytes = 0;
  for (const PageFile& p : pages) bytes += p.bytes;
  reading.finish(
      format_progress("read", pages.size(), pages.size(), "pages", bytes, bytes, seconds_since(console.start)));
  return result;
}

// Writes the whole site (every page, store and script) into `fresh`, with a
// progress line.
void write_whole_site(const Corpus& corpus, const std::string& fresh, const Collation& collation, uint32_t folder_files,
                      const Console& console) {
  ProgressLine writing(stdout, console.terminal);
  auto site_start = std::chrono::steady_clock::now();
  SiteOptions site;
  site.locale_name = collation.name();
  site.folder_files = folder_files;
  site.progress = [&](uint64_t done, uint64_t total) {
    double fraction = total ? double(done) / total : 1.0;
    writing.update("writing the site: " + std::to_string(int(fraction * 100)) + "%", fraction);
  };
  write_site(corpus, common::utf8_path(fresh), site);
  writing.finish("wrote the site in " + format_duration(seconds_since(site_start)));
}

void report(size_t pages, const IndexResult& result, uint64_t invalid_bytes, const std::string& out,
            const Console& console) {
  std::string summary = "indexed " + counted(pages - result.skipped, "page") + ", " + counted(result.words, "word") +
                        ", " + counted(result.distinct, "distinct word");
  if (result.skipped) summary += ", skipped " + counted(result.skipped, "page");
  say(summary + ", in " + format_duration(seconds_since(console.start)));
  if (invalid_bytes) say(grouped(invalid_bytes) + " bytes that were not UTF-8 are shown as \xEF\xBF\xBD");
  std::error_code ec;
  std::string index = common::utf8_string(fs::absolute(common::utf8_path(out), ec) / "index.htm");
  say("index: " + index);
  if (has_graphical_session()) {
    std::string failed = open_in_browser(index);
    if (!failed.empty()) say("could not open the browser (" + failed + "); open the index yourself");
  }
}

}  // namespace

int run_indexer(const Arguments& args, bool terminal) {
  if (!args.vertical_file.empty()) return run_export(args, terminal);
  const Console console{std::chrono::steady_clock::now(), terminal};
  const std::string in = folder_name(args.in_dir);
  const std::string out = folder_name(args.out_dir);
  std::unique_ptr<Collation> collation;
  std::vector<PageFile> pages;
  if (int refused = check_input(args, in, out, collation, pages)) return refused;
  FolderLock lock;
  if (int refused = take_output(out, lock)) return refused;

  say("velmor: indexing the pages of " + in + " into " + out);
  std::string fresh, work;
  IndexResult result;
  uint64_t invalid_bytes = 0;
  std::error_code ec;
  try {
    // Tests split a small site as a big one is split (site/layout.h).
    const uint32_t folder_files = folder_limit_from(std::getenv("VELMOR_FOLDER_FILES"));
    clear_leftovers(out, in);
    fresh = make_fresh_folder(out, ".new-");
    work = make_fresh_folder(out, ".work-");
    result = read_and_index_pages(pages, in, work, *collation, args, console);
    for (uint32_t d = 0; d < result.corpus->document_count(); ++d)
      invalid_bytes += result.corpus->document(d).invalid_bytes;
    write_whole_site(*result.corpus, fresh, *collation, folder_files, console);
    result.corpus.reset();
    mark_as_index(fresh, out);
    swap_in(fresh, out);
  } catch (const std::exception& e) {
    // bad_alloc, filesystem_error and the stages' runtime_errors alike: no
    // index is better than half of one.
    if (console.terminal) std::fputs("\n", stdout);
    complain(e.what());
    complain("no index was made; " + out + " is as it was");
    result.corpus.reset();
    if (!fresh.empty()) fs::remove_all(common::utf8_path(fresh), ec);
    if (!work.empty()) fs::remove_all(common::utf8_path(work), ec);
    return kFailed;
  }
  fs::remove_all(common::utf8_path(work), ec);
  report(pages.size(), result, invalid_bytes, out, console);
  return result.skipped ? kSomeSkipped : kAllIndexed;
}

}  // namespace velmor
