#include "indexer/site/plan.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "indexer/site/layout.h"

namespace velmor {

std::vector<ListPage> plan_lists(const std::vector<std::string_view>& initials, size_t max_per_page) {
  std::vector<ListPage> pages;
  if (max_per_page == 0) max_per_page = 1;
  size_t rank = 0;
  const size_t n = initials.size();
  while (rank < n) {
    size_t group_end = rank;
    while (group_end < n && initials[group_end] == initials[rank]) ++group_end;
    size_t size = group_end - rank;
    std::string letter(initials[rank]);
    if (letter.empty()) letter = "?";
    if (size > max_per_page) {
      // One letter over several pages: "S 1", "S 2", ...
      int part = 1;
      for (size_t b = rank; b < group_end; b += max_per_page, ++part)
        pages.push_back({b, std::min(group_end, b + max_per_page), letter + " " + std::to_string(part)});
    } else if (!pages.empty() && pages.back().end == rank &&
               pages.back().end - pages.back().begin + size <= max_per_page &&
               pages.back().label.find(' ') == std::string::npos) {
      ListPage& page = pages.back();
      size_t dash = page.label.find("\u2013");
      page.label = page.label.substr(0, dash) + "\u2013" + letter;
      page.end = group_end;
    } else {
      pages.push_back({rank, group_end, letter});
    }
    rank = group_end;
  }
  return pages;
}

std::vector<ListPage> plan_lists_within(const std::vector<std::string_view>& initials, size_t usual,
                                        size_t most_pages) {
  for (size_t per = usual;; per *= 2) {
    std::vector<ListPage> pages = plan_lists(initials, per);
    if (pages.size() <= most_pages || per >= initials.size()) return pages;
  }
}

namespace {

// Cuts the ranks into entry files of about `target` bytes and at most
// `most_entries` entries; returns how many files.
uint32_t cut_entry_files(const std::vector<double>& cost, double target, size_t most_entries,
                         std::vector<uint32_t>& entry_file) {
  entry_file.resize(cost.size());
  double filled = 0;
  uint32_t file = 0;
  size_t in_file = 0;
  for (size_t r = 0; r < cost.size(); ++r) {
    if (filled > 0 && (filled + cost[r] > target || in_file >= most_entries)) {
      ++file;
      filled = 0;
      in_file = 0;
    }
    entry_file[r] = file;
    filled += cost[r];
    ++in_file;
  }
  return cost.empty() ? 0 : file + 1;
}

}  // namespace

double entry_bytes(uint64_t key_bytes, uint64_t documents) {
  // The form in quotes and brackets, and about two digits per document.
  return 8.0 + 0.6 * static_cast<double>(key_bytes) + 2.2 * static_cast<double>(documents);
}

SitePlan plan_site(const CorpusShape& shape, uint32_t folder_files) {
  SitePlan plan;
  plan.folder_files = folder_files;
  const size_t words = shape.counts.size();
  // Collocates and clusters for the most frequent words, a twentieth of
  // the input at most; a small corpus has them for every word that can.
  std::vector<uint64_t> counts = shape.counts;
  const double budget = std::max(256.0 * 1024, 0.05 * static_cast<double>(shape.input_bytes));
  const size_t measured = std::min(counts.size(), static_cast<size_t>(budget / kMeasureBytes));
  if (measured < counts.size()) {
    // Only the count at the cut matters, not the order of the rest.
    std::nth_element(counts.begin(), counts.begin() + static_cast<std::ptrdiff_t>(measured), counts.end(),
                     std::greater<>());
    plan.measured_from = std::max<uint64_t>(counts[measured] + 1, 3);
  } else {
    plan.measured_from = 3;
  }

  // Entry files of about 200 kilobytes, fewer than about 1,500 of them,
  // and few enough entries each for a browser to draw them at once.
  std::vector<double> cost(words);
  double sum = 0;
  for (size_t r = 0; r < words; ++r) {
    cost[r] = entry_bytes(shape.key_bytes[r], shape.documents[r]) +
              (shape.counts[r] >= plan.measured_from ? kMeasureBytes : 0);
    sum += cost[r];
  }
  const double target = std::max(200.0 * 1024, sum / 1500);
  // Past what the top folder takes (layout.h), files of twice, four
  // times... the size: only corpora of millions of words get there.
  const uint32_t most_files = family_share(folder_files);
  for (size_t scale = 1;; scale *= 2) {
    plan.entry_files =
        cut_entry_files(cost, target * static_cast<double>(scale), kMaxEntriesPerFile * scale, plan.entry_file);
    if (plan.entry_files <= most_files) break;
  }
  return plan;
}

CorpusShape measure(const Corpus& corpus) {
  CorpusShape shape;
  for (uint32_t d = 0; d < corpus.document_count(); ++d) shape.input_bytes += corpus.document(d).bytes;
  const size_t words = corpus.word_count();
  shape.counts.resize(words);
  shape.documents.resize(words);
  shape.key_bytes.resize(words);
  for (size_t r = 0; r < words; ++r) {
    const WordInfo& w = corpus.word(r);
    shape.counts[r] = w.count;
    shape.documents[r] = w.documents;
    shape.key_bytes[r] = static_cast<uint32_t>(w.key.size() + w.form.size());
  }
  return shape;
}

}  // namespace velmor
