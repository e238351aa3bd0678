#pragma once
// What a concordancer asks of a corpus beyond its lines: a word's
// collocates, the clusters it stands in, the n-grams of the whole corpus
// and each document's keywords. All are counted from the words' sequences
// (Corpus::sequence) at the occurrences the postings give, so a word costs
// the reading of its own neighbourhoods, never of the corpus; each call
// holds no more than one word's counts, and calls for different words may
// run at once.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "indexer/model.h"

namespace velmor {

// The farthest a collocate is counted on either side: the site writes
// each collocate's pairs at every distance up to it, and the reader picks
// any narrower window.
constexpr uint32_t kMaxReach = 5;

struct Collocate {
  uint32_t rank;       // the collocate
  uint32_t together;   // pairs of an occurrence of the word and one of the
                       // collocate within its window, no occurrence in two
  uint64_t frequency;  // its occurrences in the corpus
  double log_dice;     // association.h, over the window
  double mi;
  // The same pairs by where the collocate stood: [0] 5 words before the
  // word ... [4] just before, [5] just after ... [9] 5 after. They sum to
  // `together`.
  std::array<uint32_t, 2 * kMaxReach> at_distance{};
};

struct CollocateOptions {
  uint32_t left = 5, right = 5;  // words on each side, at most kMaxReach; span = left + right
  uint32_t min_together = 3;
  // The best `limit` by each of the five measures (association.h), ties by
  // count, make the list, best log-Dice first: a reader who ranks them
  // otherwise in the browser still finds that measure's best. With their
  // distances, the entries of the 100 MB bench corpus grow from 25.8 to
  // 29.5 MB (ab_bench.sh); writing them for every word seen 3 times, not
  // only the frequent ones, made them 77 MB, so rarer words' are counted
  // in the browser (site/local_measures.js).
  size_t limit = 12;
};

// `occ` are the word's occurrences; `tokens` the corpus's words in all.
std::vector<Collocate> collocates(const Corpus& corpus, uint32_t rank, const std::vector<Occurrence>& occ,
                                  uint64_t tokens, const CollocateOptions& options);

// A sequence of 2 to 4 words in a row within one document.
struct Cluster {
  std::vector<uint32_t> ranks;
  uint32_t count = 0;
  uint32_t at = 0;  // where the word of the entry stands in it
};

struct ClusterOptions {
  uint32_t min_size = 2, max_size = 4;
  uint32_t min_count = 3;
  size_t limit = 8;  // per entry, the most frequent, longer first on a tie
  // False counts only the clusters the word begins, which is all the
  // corpus's n-grams need of it.
  bool every_place = true;
  // The clusters the word begins that occur fewer times are not wanted in
  // `starting`: the corpus's list already holds enough more frequent ones.
  uint64_t starting_from = 0;
};

// The clusters the word stands in, at any place in them; and, through
// `starting` when given, every cluster that begins with it and occurs at
// least min_count times (the corpus's n-grams are these over all words).
std::vector<Cluster> clusters(const Corpus& corpus, uint32_t rank, const std::vector<Occurrence>& occ,
                              const ClusterOptions& options, std::vector<Cluster>* starting = nullptr);

struct Keyword {
  uint32_t rank;
  uint32_t count;         // in the document
  double log_likelihood;  // against the rest of the corpus
  double log_ratio;       // log2 of the relative frequencies, here over the rest
};

struct KeywordOptions {
  uint32_t min_count = 3;
  // 3.84 is p < 0.05 at one degree of freedom: below it a "keyword" is as
  // likely chance as not, and a reader would take it for a finding.
  double min_log_likelihood = 3.84;
  size_t limit = 12;  // by log-likelihood; only words more frequent here than elsewhere
};

// `tokens` the corpus's words in all.
std::vector<Keyword> keywords(const Corpus& corpus, uint32_t doc, uint64_t tokens, const KeywordOptions& options);

}  // namespace velmor

namespace velmor {

// The corpus's most frequent n-grams of each size, gathered from the
// clusters that begin with each word (see clusters()), from any thread.
class TopNgrams {
 public:
  explicit TopNgrams(size_t per_size) : per_size_(per_size) {}
  void add(std::vector<Cluster>& starting);
  // Those of one size, most frequent first; ties in rank order.
  std::vector<Cluster> of_size(uint32_t size) const;
  // Every size's list already holds enough n-grams this frequent, so one
  // that occurs fewer times can no longer be listed, nor can any n-gram of
  // a word that occurs fewer times: such a word need not be counted. 0
  // until every size has its fill.
  uint64_t floor() const { return floor_.load(std::memory_order_relaxed); }

 private:
  size_t per_size_;
  mutable std::mutex mutex_;
  std::vector<Cluster> by_size_[5];
  uint64_t size_floor_[5] = {};
  std::atomic<uint64_t> floor_{0};
};

}  // namespace velmor
