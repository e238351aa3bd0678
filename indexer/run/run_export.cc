#include "indexer/run/run_export.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>

#include "indexer/export/vertical.h"
#include "indexer/export/vertical_file.h"
#include "indexer/numbers.h"
#include "indexer/read/read_page.h"
#include "indexer/run/pages.h"
#include "indexer/run/progress.h"

namespace velmor {

namespace {

// 0, or the exit code of the refusal.
int check_file(const std::string& file) {
  switch (existing_export(file)) {
    case ExistingExport::absent:
    case ExistingExport::ours: return 0;
    case ExistingExport::not_file: complain(file + " is not a file; nothing was written"); return kBadUsage;
    case ExistingExport::theirs: break;
  }
  complain(file +
           " exists and is not an export of velmor; nothing was written and it was not touched "
           "(name a new file)");
  return kBadUsage;
}

}  // namespace

int run_export(const Arguments& args, bool terminal) {
  const auto start = std::chrono::steady_clock::now();
  const std::string& file = args.vertical_file;
  if (int refused = check_file(file)) return refused;
  std::vector<PageFile> pages;
  try {
    pages = list_pages(args.in_dir);
  } catch (const std::runtime_error& e) {
    complain(e.what());
    return kFailed;
  }
  uint64_t bytes_total = 0;
  for (const PageFile& p : pages) bytes_total += p.bytes;

  uint32_t documents = 0;
  uint64_t words = 0, skipped = 0, bytes_done = 0;
  try {
    VerticalFile out(file);
    VerticalWriter writer(args.words);
    ProgressLine progress(stdout, terminal);
    for (size_t i = 0; i < pages.size(); ++i) {
      // One page at a time: the export holds no more than the page it writes.
      PageRead page = read_page_file(pages[i].path, pages[i].name);
      if (page.problem == PageProblem::none) {
        words += writer.append(page.document, ++documents, out.text());
        out.spill();
      } else {
        if (terminal) std::fputs("\r\033[K", stdout);
        complain(page.message + " (skipped)");
        ++skipped;
      }
      bytes_done += pages[i].bytes;
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      progress.update(format_progress("exporting", i + 1, pages.size(), "pages", bytes_done, bytes_total, seconds),
                      bytes_total ? double(bytes_done) / bytes_total : 1.0);
    }
    // As an indexing keeps the earlier index, an earlier export stays
    // rather than give way to an empty file.
    if (!pages.empty() && skipped == pages.size())
      throw std::runtime_error("none of the pages of " + args.in_dir + " could be read");
    out.commit();
  } catch (const std::exception& e) {
    if (terminal) std::fputs("\n", stdout);
    complain(e.what());
    complain("nothing was written; " + file + " is as it was");
    return kFailed;
  }
  std::printf("wrote %s document%s, %s word%s to %s\n", grouped(documents).c_str(), documents == 1 ? "" : "s",
              grouped(words).c_str(), words == 1 ? "" : "s", file.c_str());
  std::fflush(stdout);
  return skipped ? kSomeSkipped : kAllIndexed;
}

}  // namespace velmor
