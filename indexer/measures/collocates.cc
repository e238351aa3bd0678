#include <algorithm>
#include <cmath>

#include "indexer/measures/best.h"
#include "indexer/measures/dense_counts.h"
#include "indexer/measures/measures.h"
#include "indexer/measures/prefetch.h"

namespace velmor {

std::vector<Collocate> collocates(const Corpus& corpus, uint32_t rank, const std::vector<Occurrence>& occ,
                                  uint64_t tokens, const CollocateOptions& options) {
  std::vector<Collocate> out;
  if (occ.size() < options.min_together) return out;
  DenseCounts& together = dense_counts(corpus.word_count());
  DocumentWords ahead(corpus), counts_ahead(corpus), here(corpus);
  auto window = [&](DocumentWords& in, const Occurrence& o) {
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
    prefetch_neighbours(ahead, occ, k + 16, std::max(options.left, options.right));
    // The counts of a window a few ahead, whose words have come by now.
    if (k + 4 < occ.size())
      for (uint32_t r : window(counts_ahead, occ[k + 4])) together.prefetch(r);
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
      if (other == rank) continue;
      const bool taken = std::any_of(claims.begin(), claims.end(), [&](const Claim& c) {
        return c.ordinal == at || (c.by == k && c.rank == other);
      });
      if (taken) continue;
      claims.push_back({at, other, k});
      together.add(other);
    }
  }
  const double f_word = static_cast<double>(corpus.word(rank).count);
  const double span = options.left + options.right;
  const std::vector<uint32_t> frequent = together.at_least(options.min_together);
  for (size_t k = 0; k < frequent.size(); ++k) {
    if (k + 8 < frequent.size()) prefetch_word(corpus, frequent[k + 8]);
    const uint32_t other = frequent[k];
    const uint32_t n = together.counts[other];
    const double f_other = static_cast<double>(corpus.word(other).count);
    Collocate c{other, n, corpus.word(other).count, 14 + std::log2(2.0 * n / (f_word + f_other)),
                std::log2(n * static_cast<double>(tokens) / (f_word * f_other * span))};
    out.push_back(c);
  }
  auto better = [](const Collocate& a, const Collocate& b) {
    if (a.log_dice != b.log_dice) return a.log_dice > b.log_dice;
    if (a.together != b.together) return a.together > b.together;
    return a.rank < b.rank;
  };
  best_first(out, options.limit, better);
  return out;
}

std::vector<Keyword> keywords(const Corpus& corpus, uint32_t doc, uint64_t tokens, const KeywordOptions& options) {
  std::vector<Keyword> out;
  const std::span<const uint32_t> words = corpus.sequence(doc);
  DenseCounts& here = dense_counts(corpus.word_count());
  for (size_t i = 0; i < words.size(); ++i) {
    if (i + 16 < words.size()) here.prefetch(words[i + 16]);
    here.add(words[i]);
  }
  const double c = static_cast<double>(words.size()), d = static_cast<double>(tokens) - c;
  if (d <= 0) return out;  // nothing to compare with
  const double n = static_cast<double>(tokens);
  const std::vector<uint32_t> frequent = here.at_least(options.min_count);
  for (size_t k = 0; k < frequent.size(); ++k) {
    if (k + 8 < frequent.size()) prefetch_word(corpus, frequent[k + 8]);
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
