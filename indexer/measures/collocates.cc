#include <algorithm>
#include <cmath>

#include "indexer/measures/association.h"
#include "indexer/measures/best.h"
#include "indexer/measures/dense_counts.h"
#include "indexer/measures/measures.h"
#include "indexer/measures/document_cursor.h"
#include "indexer/prefetch.h"

namespace velmor {

namespace {

// Hands every co-occurrence of the word with a collocate that `wanted` to
// `pair(other, slot)`, slot the place in Collocate::at_distance where
// `other` stood. A place holds one word, so a collocate's pairs do not
// depend on any other's, and those not wanted need not be paired.
template <class Wanted, class Pair>
void pair_up(const Corpus& corpus, uint32_t rank, const std::vector<Occurrence>& occ, const CollocateOptions& options,
             const DenseCounts* counts, Wanted wanted, Pair pair) {
  DocumentCursor ahead(corpus), counts_ahead(corpus), here(corpus);
  auto window = [&](DocumentCursor& in, const Occurrence& o) {
    const std::span<const uint32_t> words = in.of(o.doc);
    const size_t from = o.ordinal >= options.left ? o.ordinal - options.left : 0;
    const size_t to = std::min<size_t>(words.size(), size_t{o.ordinal} + options.right + 1);
    return words.subspan(from, to - from);
  };
  // A co-occurrence pairs one occurrence of the word with one of the
  // collocate in its window, and neither stands in a second pair, so
  // `together` is at most either frequency and log-Dice stays at most 14.
  // Counting every window's words instead counted a collocate between two
  // close occurrences of the word twice (54 together of a word occurring
  // 47 times), and the word itself wherever it repeated within 5 words.
  // Pairing each occurrence, in text order, with the first unpaired
  // occurrence of each collocate in its window pairs as many as can be:
  // the windows are of one width, so they begin and end in text order.
  struct Claim {
    uint32_t ordinal, rank;
    size_t by;  // the occurrence of the word it is paired with
  };
  std::vector<Claim> claims;  // in the document at hand, within reach of the windows to come
  uint32_t claims_doc = UINT32_MAX;
  for (size_t k = 0; k < occ.size(); ++k) {
    prefetch_neighbours(ahead, occ, k + kNeighboursAhead, std::max(options.left, options.right));
    // The counts of a window a few ahead, whose words have come by now.
    if (prefetching(kPrefetchMeasures) && counts && k + kCountsAhead < occ.size())
      for (uint32_t r : window(counts_ahead, occ[k + kCountsAhead])) counts->prefetch(r);
    const Occurrence& o = occ[k];
    const std::span<const uint32_t> words = window(here, o);
    const uint32_t from = o.ordinal >= options.left ? o.ordinal - options.left : 0;
    if (o.doc != claims_doc) {
      claims.clear();
      claims_doc = o.doc;
    }
    std::erase_if(claims, [&](const Claim& c) { return c.ordinal < from; });
    for (size_t i = 0; i < words.size(); ++i) {
      const uint32_t other = words[i], at = from + static_cast<uint32_t>(i);
      if (other == rank || !wanted(other)) continue;
      const bool taken = std::any_of(claims.begin(), claims.end(),
                                     [&](const Claim& c) { return c.ordinal == at || (c.by == k && c.rank == other); });
      if (taken) continue;
      claims.push_back({at, other, k});
      // at != o.ordinal: the word itself was passed over above.
      pair(other, at < o.ordinal ? kMaxReach - (o.ordinal - at) : kMaxReach - 1 + (at - o.ordinal));
    }
  }
}

constexpr Measure kMeasures[] = {Measure::kLogDice, Measure::kMi, Measure::kMi3, Measure::kTScore,
                                 Measure::kLogLikelihood};

}  // namespace

std::vector<Collocate> collocates(const Corpus& corpus, uint32_t rank, const std::vector<Occurrence>& occ,
                                  uint64_t tokens, const CollocateOptions& options) {
  std::vector<Collocate> out;
  if (occ.size() < options.min_together) return out;
  CollocateOptions within = options;
  within.left = std::min(options.left, kMaxReach);
  within.right = std::min(options.right, kMaxReach);
  DenseCounts& together = dense_counts(corpus.word_count());
  pair_up(
      corpus, rank, occ, within, &together, [](uint32_t) { return true; },
      [&](uint32_t other, uint32_t) { together.add(other); });
  const double f_word = static_cast<double>(corpus.word(rank).count);
  const double span = within.left + within.right;
  const std::vector<uint32_t> frequent = together.at_least(options.min_together);
  std::vector<std::array<double, 5>> scores;
  for (size_t k = 0; k < frequent.size(); ++k) {
    if (k + kWordAhead < frequent.size()) prefetch_word(corpus, frequent[k + kWordAhead]);
    const uint32_t other = frequent[k];
    const uint32_t n = together.counts[other];
    const PairCounts counts{static_cast<double>(n), f_word, static_cast<double>(corpus.word(other).count),
                            static_cast<double>(tokens), span};
    std::array<double, 5> score;
    for (size_t m = 0; m < 5; ++m) score[m] = association(kMeasures[m], counts);
    out.push_back({other, n, corpus.word(other).count, score[0], score[1], {}});
    scores.push_back(score);
  }
  // The best by each measure; a collocate listed by several, once.
  std::vector<uint8_t> listed(out.size(), 0);
  std::vector<uint32_t> order;
  for (size_t m = 0; m < 5; ++m) {
    order.resize(out.size());
    for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
    best_first(order, options.limit, [&](uint32_t a, uint32_t b) {
      if (scores[a][m] != scores[b][m]) return scores[a][m] > scores[b][m];
      if (out[a].together != out[b].together) return out[a].together > out[b].together;
      return out[a].rank < out[b].rank;
    });
    for (uint32_t k : order) listed[k] = 1;
  }
  size_t kept = 0;
  for (size_t k = 0; k < out.size(); ++k)
    if (listed[k]) out[kept++] = out[k];
  out.resize(kept);
  auto better = [](const Collocate& a, const Collocate& b) {
    if (a.log_dice != b.log_dice) return a.log_dice > b.log_dice;
    if (a.together != b.together) return a.together > b.together;
    return a.rank < b.rank;
  };
  std::sort(out.begin(), out.end(), better);
  if (out.empty()) return out;
  // Where each listed one stood, paired the same way again: keeping every
  // collocate's ten counts through the first pass would hold ten times the
  // counts for the few that are listed. Both passes together take about a
  // third longer than the one pass did (perf on the 100 MB bench corpus:
  // 7,833 samples in collocates() against 5,931).
  DenseCounts& slot = dense_counts(corpus.word_count());  // the listed ones' places in `out`, from 1
  for (uint32_t k = 0; k < out.size(); ++k) {
    slot.counts[out[k].rank] = k + 1;
    slot.touched.push_back(out[k].rank);
  }
  pair_up(
      corpus, rank, occ, within, nullptr, [&](uint32_t other) { return slot.counts[other] != 0; },
      [&](uint32_t other, uint32_t at) { ++out[slot.counts[other] - 1].at_distance[at]; });
  return out;
}

std::vector<Keyword> keywords(const Corpus& corpus, uint32_t doc, uint64_t tokens, const KeywordOptions& options) {
  std::vector<Keyword> out;
  const std::span<const uint32_t> words = corpus.sequence(doc);
  DenseCounts& here = dense_counts(corpus.word_count());
  for (size_t i = 0; i < words.size(); ++i) {
    if (i + kSequenceAhead < words.size()) here.prefetch(words[i + kSequenceAhead]);
    here.add(words[i]);
  }
  const double c = static_cast<double>(words.size()), d = static_cast<double>(tokens) - c;
  if (d <= 0) return out;  // nothing to compare with
  const double n = static_cast<double>(tokens);
  const std::vector<uint32_t> frequent = here.at_least(options.min_count);
  for (size_t k = 0; k < frequent.size(); ++k) {
    if (k + kWordAhead < frequent.size()) prefetch_word(corpus, frequent[k + kWordAhead]);
    const uint32_t rank = frequent[k];
    const uint32_t count = here.counts[rank];
    const double a = count, b = static_cast<double>(corpus.word(rank).count) - a;
    if (a / c <= b / d) continue;
    const double e1 = c * (a + b) / n, e2 = d * (a + b) / n;
    const double ll = 2 * (a * std::log(a / e1) + (b > 0 ? b * std::log(b / e2) : 0));
    if (ll < options.min_log_likelihood) continue;
    // Half an occurrence stands in for none, so a word found only here
    // still gets a finite ratio.
    const double lr = std::log2((a / c) / (std::max(b, 0.5) / d));
    out.push_back({rank, count, ll, lr});
  }
  auto better = [](const Keyword& x, const Keyword& y) {
    if (x.log_likelihood != y.log_likelihood) return x.log_likelihood > y.log_likelihood;
    return x.rank < y.rank;
  };
  best_first(out, options.limit, better);
  return out;
}

}  // namespace velmor
