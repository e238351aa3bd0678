#include "indexer/site/plan.h"

#include <algorithm>
#include <cmath>

namespace velmor {

uint64_t Share::lines(uint64_t count) const {
  const double wanted = spread * std::sqrt(static_cast<double>(count));
  uint64_t n = wanted >= static_cast<double>(max_lines) ? max_lines
                                                        : static_cast<uint64_t>(wanted);
  return std::min({count, max_lines, std::max(n, base)});
}

uint64_t Share::doc_rows(uint64_t documents, uint64_t count) const {
  return std::min({documents, kMaxDocRows, std::max(lines(count), base)});
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

namespace {

uint64_t digits(double n) { return n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : n < 10000 ? 4 : 5; }

}  // namespace

SitePlan plan_site(const CorpusShape& shape, size_t context_lines_cap) {
  SitePlan plan;
  const size_t words = shape.counts.size();
  const double docs = static_cast<double>(shape.documents_count);
  const double bytes_per_cp =
      shape.text_code_points
          ? static_cast<double>(shape.text_bytes) / static_cast<double>(shape.text_code_points)
          : 1.0;

  // What every site has whatever it shows of each word: the pages
  // themselves, and for each word its row in the word lists, its look-up
  // row, its entry's heading and, for the first 10,000, a row in the
  // frequency list.
  uint64_t key_bytes = 0;
  for (uint32_t k : shape.key_bytes) key_bytes += k;
  const double budget = 3.8 * static_cast<double>(shape.input_bytes);
  const double fixed = 1.03 * static_cast<double>(shape.text_bytes) + 1000.0 * docs + 40000.0 +
                       160.0 * static_cast<double>(words) +
                       60.0 * static_cast<double>(std::min<size_t>(words, 10000)) +
                       1.5 * static_cast<double>(key_bytes);
  // A small corpus gets its contexts whatever its size: a few megabytes
  // are nothing on disk, and its per-word overheads alone outgrow the ratio.
  const double rest = std::max(2.0 * 1024 * 1024, budget - fixed);

  const double doc_row = 55.0 + (shape.documents_count ? static_cast<double>(shape.title_bytes) / docs : 0.0);
  const double word_bytes = words ? static_cast<double>(key_bytes) / (2.0 * words) : 0;
  double line_cost = 0;
  // What one word's entry costs beyond its heading: its lines, its
  // document rows with their strips, and the compact list of all its
  // documents when not all are shown.
  auto entry_cost = [&](const Share& share, size_t r) {
    const uint64_t count = shape.counts[r], documents = std::max<uint64_t>(shape.documents[r], 1);
    const uint64_t rows = share.doc_rows(documents, count);
    const double per_doc = static_cast<double>(count) / static_cast<double>(documents);
    double cost = line_cost * static_cast<double>(share.lines(count)) +
                  static_cast<double>(rows) * (doc_row + 3.0 * std::min(per_doc, 100.0));
    if (documents > rows)
      cost += 25.0 + shape.key_bytes[r] +
              static_cast<double>(documents) *
                  (1.0 + static_cast<double>(digits(docs / static_cast<double>(documents))) +
                   (per_doc > 1.5 ? 1.0 + static_cast<double>(digits(per_doc)) : 0.5));
    return cost;
  };
  auto total = [&](const Share& share) {
    double sum = 0;
    for (size_t r = 0; r < words; ++r) sum += entry_cost(share, r);
    return sum;
  };

  // Shorter contexts before fewer lines, and a frequent word's twenty or so
  // lines before a rare word's second: a word seen in thirty places tells
  // more than one seen in a single longer one.
  constexpr double kMinSpread = 0.7;  // 21 lines at 900 occurrences, 31 at 2,000
  Share share;
  share.max_lines = std::max<size_t>(context_lines_cap, 1);
  bool found = false;
  for (uint32_t cps : {40u, 30u, 20u}) {
    plan.context_cps = cps;
    line_cost = 50.0 + 2.0 * cps * bytes_per_cp + word_bytes;
    for (uint64_t base : {3u, 2u, 1u}) {
      share.base = base;
      share.spread = 1e7;  // everything: every word all its lines
      if (total(share) <= rest) { found = true; break; }
      // Only the first setting that fits is worth searching; at the last
      // one, whatever spread fits.
      const bool last = cps == 20 && base == 1;
      share.spread = kMinSpread;
      if (total(share) > rest && !last) continue;
      double lo = 0, hi = 2000;  // past 2,000 the lines cap decides
      for (int i = 0; i < 40 && hi - lo > 0.01; ++i) {
        share.spread = (lo + hi) / 2;
        (total(share) <= rest ? lo : hi) = share.spread;
      }
      share.spread = lo;
      found = true;
      break;
    }
    if (found) break;
  }
  plan.share = share;  // at worst: one line and one row a word, as many as fit

  // Entry files of a few hundred kilobytes, fewer than about 1,500 of them.
  std::vector<double> cost(words);
  double sum = 0;
  for (size_t r = 0; r < words; ++r) {
    cost[r] = 100.0 + 1.5 * shape.key_bytes[r] + entry_cost(plan.share, r);
    sum += cost[r];
  }
  const double target = std::max(400.0 * 1024, sum / 1500);
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
