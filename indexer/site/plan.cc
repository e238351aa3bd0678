#include "indexer/site/plan.h"

#include <algorithm>

namespace velmor {

uint64_t water_fill(const std::vector<uint64_t>& amounts, uint64_t budget) {
  uint64_t top = 1;
  for (uint64_t a : amounts) top = std::max(top, a);
  auto used = [&](uint64_t cap) {
    uint64_t sum = 0;
    for (uint64_t a : amounts) sum += std::min(a, cap);
    return sum;
  };
  if (used(top) <= budget) return top;
  uint64_t lo = 1, hi = top;  // used(hi) > budget; answer in [lo, hi)
  while (hi - lo > 1) {
    uint64_t mid = lo + (hi - lo) / 2;
    (used(mid) <= budget ? lo : hi) = mid;
  }
  return lo;
}

std::vector<ListPage> plan_lists(const std::vector<std::string_view>& initials,
                                 size_t max_per_page) {
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
        pages.push_back({b, std::min(group_end, b + max_per_page),
                         letter + " " + std::to_string(part)});
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

SitePlan plan_site(const CorpusShape& shape, size_t context_lines_cap) {
  SitePlan plan;
  const size_t words = shape.counts.size();
  const double bytes_per_cp =
      shape.text_code_points
          ? static_cast<double>(shape.text_bytes) / static_cast<double>(shape.text_code_points)
          : 1.0;

  // What every site has whatever the caps: the pages themselves, and for
  // each word its row in the word lists, its look-up row, its entry's
  // heading and, for the first 10,000, a row in the frequency list.
  uint64_t key_bytes = 0;
  for (uint32_t k : shape.key_bytes) key_bytes += k;
  const double budget = 3.7 * static_cast<double>(shape.input_bytes);
  const double fixed = 1.03 * static_cast<double>(shape.text_bytes) +
                       1000.0 * static_cast<double>(shape.documents_count) + 40000.0 +
                       210.0 * static_cast<double>(words) +
                       60.0 * static_cast<double>(std::min<size_t>(words, 10000)) +
                       2.5 * static_cast<double>(key_bytes);
  // A small corpus gets its contexts whatever its size: a few megabytes
  // are nothing on disk, and its per-word overheads alone outgrow the ratio.
  double rest = std::max(2.0 * 1024 * 1024, budget - fixed);

  const double kDocRow =
      50.0 + (shape.documents_count ? static_cast<double>(shape.title_bytes) /
                                          static_cast<double>(shape.documents_count)
                                    : 0.0);
  constexpr double kTick = 3;
  plan.docs_cap = water_fill(shape.documents, static_cast<uint64_t>(0.3 * rest / kDocRow));
  double doc_rows = 0;
  for (size_t r = 0; r < words; ++r) {
    uint64_t listed = std::min(shape.documents[r], plan.docs_cap);
    doc_rows += kDocRow * listed + kTick * std::min(shape.counts[r], listed * 100);
  }
  rest = std::max(0.0, rest - doc_rows);

  // Shorter contexts before fewer lines: a word seen in three places tells
  // more than one seen in a single longer one.
  double line_cost = 0;
  for (uint32_t cps : {40u, 30u, 20u}) {
    plan.context_cps = cps;
    line_cost = 50.0 + 2.0 * cps * bytes_per_cp +
                (words ? static_cast<double>(key_bytes) / (2.0 * words) : 0);
    plan.lines_cap = std::min<uint64_t>(
        std::max<size_t>(context_lines_cap, 1),
        water_fill(shape.counts, static_cast<uint64_t>(rest / line_cost)));
    if (plan.lines_cap >= 3) break;
  }

  // Entry files of a few hundred kilobytes, fewer than about 1,500 of them.
  std::vector<double> cost(words);
  double total = 0;
  for (size_t r = 0; r < words; ++r) {
    uint64_t listed = std::min(shape.documents[r], plan.docs_cap);
    cost[r] = 100.0 + 1.5 * shape.key_bytes[r] + kDocRow * listed +
              kTick * std::min(shape.counts[r], listed * 100) +
              line_cost * std::min(shape.counts[r], plan.lines_cap);
    total += cost[r];
  }
  const double target = std::max(400.0 * 1024, total / 1500);
  plan.entry_file.resize(words);
  double filled = 0;
  uint32_t file = 0;
  for (size_t r = 0; r < words; ++r) {
    if (filled > 0 && filled + cost[r] > target) {
      ++file;
      filled = 0;
    }
    plan.entry_file[r] = file;
    filled += cost[r];
  }
  plan.entry_files = words ? file + 1 : 0;
  return plan;
}

CorpusShape measure(const Corpus& corpus) {
  CorpusShape shape;
  shape.documents_count = corpus.document_count();
  for (uint32_t d = 0; d < corpus.document_count(); ++d) {
    const DocumentInfo& info = corpus.document(d);
    shape.input_bytes += info.bytes;
    shape.title_bytes += std::min<size_t>(info.title.size(), 80);
    for (uint32_t l = 0; l < info.lines; ++l) {
      std::string_view text = corpus.line(d, l);
      shape.text_bytes += text.size() + 1;
      for (char c : text)
        shape.text_code_points += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
      ++shape.text_code_points;
    }
  }
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
