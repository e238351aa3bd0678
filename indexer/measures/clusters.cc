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
  // One size and one place at a time: the list then holds one entry per
  // occurrence, whatever the word, and sorting it counts them.
  std::vector<Others> seen;
  seen.reserve(occ.size());
  for (uint32_t size = std::max(options.min_size, 2u); size <= std::min(options.max_size, 4u); ++size) {
    for (uint32_t at = 0; at < size; ++at) {
      seen.clear();
      for (const Occurrence& o : occ) {
        if (o.ordinal < at) continue;
        const std::span<const uint32_t> words = corpus.sequence(o.doc);
        const size_t first = o.ordinal - at;
        if (first + size > words.size()) continue;
        Others others{0, 0, 0};
        for (uint32_t k = 0, n = 0; k < size; ++k)
          if (k != at) others[n++] = words[first + k];
        seen.push_back(others);
      }
      std::sort(seen.begin(), seen.end());
      for (size_t i = 0, j; i < seen.size(); i = j) {
        j = i + 1;
        while (j < seen.size() && seen[j] == seen[i]) ++j;
        const uint32_t n = static_cast<uint32_t>(j - i);
        if (n < options.min_count) continue;
        const Others& others = seen[i];
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
