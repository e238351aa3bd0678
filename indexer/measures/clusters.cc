#include <algorithm>
#include <array>

#include "indexer/measures/measures.h"

namespace velmor {

namespace {

// The other words of one cluster, the entry's word left out; unused places 0.
using Others = std::array<uint32_t, 3>;

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
  // Each occurrence's three words on either side, read from the sequences
  // once; the passes below then read them in order.
  constexpr uint32_t kNone = UINT32_MAX;
  std::vector<std::array<uint32_t, 7>> around(occ.size());
  for (size_t i = 0; i < occ.size(); ++i) {
    const std::span<const uint32_t> words = corpus.sequence(occ[i].doc);
    for (int k = -3; k <= 3; ++k) {
      const int64_t at = int64_t{occ[i].ordinal} + k;
      around[i][k + 3] = at >= 0 && at < static_cast<int64_t>(words.size()) ? words[at] : kNone;
    }
  }
  std::vector<Others> seen;
  seen.reserve(occ.size());
  std::vector<uint32_t> left_ok, right_ok;  // frequent neighbours, in rank order
  // One size and one place at a time: the list then holds one entry per
  // occurrence, whatever the word, and sorting it counts them.
  for (uint32_t size = 2; size <= std::min(options.max_size, 4u); ++size) {
    for (uint32_t at = 0; at < size; ++at) {
      seen.clear();
      for (const auto& w : around) {
        const uint32_t first = 3 - at;
        // A longer cluster is never more frequent than the pair of words
        // it holds beside the entry's word: rare pairs end it early.
        if (size > 2 && at > 0 && !std::binary_search(left_ok.begin(), left_ok.end(), w[2])) continue;
        if (size > 2 && at + 1 < size && !std::binary_search(right_ok.begin(), right_ok.end(), w[4])) continue;
        Others others{0, 0, 0};
        bool whole = true;
        for (uint32_t k = 0, n = 0; k < size; ++k) {
          if (k == at) continue;
          whole = whole && w[first + k] != kNone;
          others[n++] = w[first + k];
        }
        if (whole) seen.push_back(others);
      }
      std::sort(seen.begin(), seen.end());
      for (size_t i = 0, j; i < seen.size(); i = j) {
        j = i + 1;
        while (j < seen.size() && seen[j] == seen[i]) ++j;
        const uint32_t n = static_cast<uint32_t>(j - i);
        if (n < options.min_count) continue;
        const Others& others = seen[i];
        if (size == 2) (at == 0 ? right_ok : left_ok).push_back(others[0]);
        if (size < options.min_size) continue;
        Cluster c;
        c.count = n;
        c.at = at;
        for (uint32_t k = 0, m = 0; k < size; ++k) c.ranks.push_back(k == at ? rank : others[m++]);
        if (at == 0 && starting) starting->push_back(c);
        best.push_back(std::move(c));
        if (best.size() > 4 * options.limit + 64) {
          std::nth_element(best.begin(), best.begin() + static_cast<std::ptrdiff_t>(options.limit), best.end(),
                           more_frequent);
          best.resize(options.limit);
        }
      }
    }
  }
  std::sort(best.begin(), best.end(), more_frequent);
  if (best.size() > options.limit) best.resize(options.limit);
  return best;
}

void TopNgrams::add(std::vector<Cluster>& starting) {
  std::lock_guard lock(mutex_);
  for (Cluster& c : starting) {
    if (c.ranks.size() >= 5) continue;
    std::vector<Cluster>& list = by_size_[c.ranks.size()];
    list.push_back(std::move(c));
    if (list.size() >= 2 * per_size_ + 64) {
      std::nth_element(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(per_size_), list.end(),
                       more_frequent);
      list.resize(per_size_);
    }
  }
  starting.clear();
}

std::vector<Cluster> TopNgrams::of_size(uint32_t size) const {
  std::lock_guard lock(mutex_);
  if (size >= 5) return {};
  std::vector<Cluster> list = by_size_[size];
  std::sort(list.begin(), list.end(), more_frequent);
  if (list.size() > per_size_) list.resize(per_size_);
  return list;
}

}  // namespace velmor
