#include <algorithm>
#include <array>

#include "indexer/measures/best.h"
#include "indexer/measures/dense_counts.h"
#include "indexer/measures/measures.h"

namespace velmor {

namespace {

constexpr uint32_t kNone = UINT32_MAX;

// An occurrence's three words on either side, the word itself at [3];
// kNone past the ends of its document.
using Window = std::array<uint32_t, 7>;

// The other words of one cluster, the entry's word left out, 32 bits each,
// the first most significant: sorting keys groups equal clusters with one
// integer compare each. Three words and an index fill the 128 bits.
using Key = unsigned __int128;

// The key of the cluster of `size` words with the entry's word at place
// `at` around this occurrence; false when it runs past the document.
bool cluster_key(const Window& w, uint32_t size, uint32_t at, Key& key) {
  key = 0;
  for (uint32_t k = 0; k < size; ++k) {
    if (k == at) continue;
    const uint32_t r = w[3 - at + k];
    if (r == kNone) return false;
    key = key << 32 | r;
  }
  return true;
}

Cluster make_cluster(uint32_t rank, Key key, uint32_t size, uint32_t at, uint32_t count) {
  Cluster c;
  c.count = count;
  c.at = at;
  c.ranks.resize(size);
  for (uint32_t k = size; k-- > 0;) {
    if (k == at) {
      c.ranks[k] = rank;
    } else {
      c.ranks[k] = static_cast<uint32_t>(key);
      key >>= 32;
    }
  }
  return c;
}

bool more_frequent(const Cluster& a, const Cluster& b) {
  if (a.count != b.count) return a.count > b.count;
  if (a.ranks.size() != b.ranks.size()) return a.ranks.size() > b.ranks.size();
  if (a.at != b.at) return a.at < b.at;
  return a.ranks < b.ranks;
}

}  // namespace

std::vector<Cluster> clusters(const Corpus& corpus, uint32_t rank, const std::vector<Occurrence>& occ,
                              const ClusterOptions& options, std::vector<Cluster>* starting) {
  std::vector<Cluster> best;
  if (occ.size() < options.min_count) return best;
  std::vector<Window> around(occ.size());
  for (size_t i = 0; i < occ.size(); ++i) {
    const std::span<const uint32_t> words = corpus.sequence(occ[i].doc);
    for (int k = -3; k <= 3; ++k) {
      const int64_t at = int64_t{occ[i].ordinal} + k;
      around[i][k + 3] = at >= 0 && at < static_cast<int64_t>(words.size()) ? words[at] : kNone;
    }
  }
  const uint32_t max_size = std::min(options.max_size, 4u);
  const uint32_t places = options.every_place ? max_size : 1;
  auto found = [&](Cluster c) {
    if (c.ranks.size() < options.min_size) return;
    if (c.at == 0 && starting) starting->push_back(c);
    best.push_back(std::move(c));
    if (best.size() > 4 * options.limit + 64) keep_best(best, options.limit, more_frequent);
  };

  // A cluster is never more frequent than any shorter run of its words, so
  // each size is counted only at the occurrences where the shorter clusters
  // of the entry's word within it are frequent. Bit (size - 2) * 4 + at of
  // an occurrence says its cluster of that size and place is.
  std::vector<uint16_t> in_frequent(occ.size(), 0);
  auto bit = [](uint32_t size, uint32_t at) { return static_cast<uint16_t>(1u << ((size - 2) * 4 + at)); };
  for (uint32_t at = 0; at < std::min(places, 2u); ++at) {
    // Pairs by a count per neighbour, the commonest case and the largest.
    const size_t neighbour = at == 0 ? 4 : 2;
    DenseCounts& next = dense_counts(corpus.word_count());
    for (const Window& w : around)
      if (w[neighbour] != kNone) next.add(w[neighbour]);
    std::sort(next.touched.begin(), next.touched.end());
    for (uint32_t r : next.touched)
      if (next.counts[r] >= options.min_count) found(make_cluster(rank, r, 2, at, next.counts[r]));
    for (size_t i = 0; i < around.size(); ++i) {
      const uint32_t r = around[i][neighbour];
      if (r != kNone && next.counts[r] >= options.min_count) in_frequent[i] |= bit(2, at);
    }
  }
  // Each key carries its occurrence's index in its low 32 bits, so that a
  // frequent cluster can mark its occurrences for the next size.
  std::vector<Key> keys;
  keys.reserve(occ.size());
  for (uint32_t size = 3; size <= max_size; ++size) {
    for (uint32_t at = 0; at < std::min(places, size); ++at) {
      keys.clear();
      for (size_t i = 0; i < around.size(); ++i) {
        // The run without the cluster's last word, and the one without its first.
        if (at + 1 < size && !(in_frequent[i] & bit(size - 1, at))) continue;
        if (at > 0 && !(in_frequent[i] & bit(size - 1, at - 1))) continue;
        Key key;
        if (cluster_key(around[i], size, at, key)) keys.push_back(key << 32 | i);
      }
      std::sort(keys.begin(), keys.end());
      for (size_t i = 0, j; i < keys.size(); i = j) {
        const Key cluster = keys[i] >> 32;
        for (j = i + 1; j < keys.size() && keys[j] >> 32 == cluster;) ++j;
        const uint32_t n = static_cast<uint32_t>(j - i);
        if (n < options.min_count) continue;
        found(make_cluster(rank, cluster, size, at, n));
        for (size_t k = i; k < j; ++k) in_frequent[static_cast<uint32_t>(keys[k])] |= bit(size, at);
      }
    }
  }
  best_first(best, options.limit, more_frequent);
  return best;
}

void TopNgrams::add(std::vector<Cluster>& starting) {
  std::lock_guard lock(mutex_);
  for (Cluster& c : starting) {
    if (c.ranks.size() >= 5) continue;
    std::vector<Cluster>& list = by_size_[c.ranks.size()];
    list.push_back(std::move(c));
    if (list.size() >= 2 * per_size_ + 64) keep_best(list, per_size_, more_frequent);
  }
  starting.clear();
}

std::vector<Cluster> TopNgrams::of_size(uint32_t size) const {
  std::lock_guard lock(mutex_);
  if (size >= 5) return {};
  std::vector<Cluster> list = by_size_[size];
  best_first(list, per_size_, more_frequent);
  return list;
}

}  // namespace velmor
