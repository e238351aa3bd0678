#include <algorithm>
#include <array>
#include <span>

#include "indexer/measures/best.h"
#include "indexer/measures/dense_counts.h"
#include "indexer/measures/measures.h"
#include "indexer/measures/document_cursor.h"

namespace velmor {

namespace {

constexpr uint32_t kNone = UINT32_MAX;

// The three words on either side of each occurrence, kNone past the ends
// of its stretch (model.h: a sentence, a block), in a column per place: a growth step reads one place of
// many occurrences, and a column keeps those reads together (rows of all
// seven words read seven times the memory for the one wanted).
class Windows {
 public:
  explicit Windows(size_t occurrences) : count_(occurrences), words_(6 * occurrences) {}
  // Place 0 is three words before the occurrence, 6 three after; 3, the
  // word itself, is not kept.
  uint32_t* column(size_t place) { return words_.data() + index(place) * count_; }
  const uint32_t* column(size_t place) const { return words_.data() + index(place) * count_; }

 private:
  static size_t index(size_t place) { return place < 3 ? place : place - 1; }
  size_t count_;
  std::vector<uint32_t> words_;
};

Windows windows(const Corpus& corpus, const std::vector<Occurrence>& occ) {
  Windows around(occ.size());
  std::array<uint32_t*, 7> place{};
  for (size_t k = 0; k < 7; ++k)
    if (k != 3) place[k] = around.column(k);
  DocumentCursor ahead(corpus), here(corpus);
  // The occurrences come by document, then place: each document's list of
  // stretches is looked up once, and each occurrence's stretch searched
  // for past the one before. Stepping through the list instead took a
  // third of the clusters' time on the bench corpus: a frequent word
  // passes over most of a document's sentences between two occurrences.
  std::vector<uint32_t> starts;
  size_t next = 0;  // the first stretch start past the occurrence
  for (size_t i = 0; i < occ.size(); ++i) {
    prefetch_neighbours(ahead, occ, i + kNeighboursAhead, 3);
    const std::span<const uint32_t> words = here.of(occ[i].doc);
    if (i == 0 || occ[i].doc != occ[i - 1].doc) {
      starts.clear();
      corpus.stretch_starts(occ[i].doc, starts);
      next = 0;
    }
    next = static_cast<size_t>(
        std::upper_bound(starts.begin() + static_cast<std::ptrdiff_t>(next), starts.end(), occ[i].ordinal) -
        starts.begin());
    const int64_t begin = next == 0 ? 0 : starts[next - 1];
    const int64_t end = next == starts.size() ? static_cast<int64_t>(words.size()) : starts[next];
    for (int k = -3; k <= 3; ++k) {
      if (k == 0) continue;
      const int64_t at = int64_t{occ[i].ordinal} + k;
      place[k + 3][i] = at >= begin && at < end ? words[at] : kNone;
    }
  }
  return around;
}

// The frequent clusters of one size with the entry's word at one place,
// each with the occurrences it stands at. A longer cluster is one of these
// plus a word, so it is found by counting, within each one's occurrences,
// the word added to them: no run of words is ever compared whole.
struct Frequent {
  struct Group {
    std::array<uint32_t, 4> ranks{};  // past the cluster's size, 0
    uint32_t count = 0;
    uint32_t first = 0;  // its occurrences are members[first, first + count)
  };
  std::vector<Group> groups;
  std::vector<uint32_t> members;  // indices of occurrences, ascending in each group
};

// How the clusters of one size and place grow from shorter ones.
struct Growth {
  size_t added;  // the added word's place in the window
  bool on_left;  // it comes first in the cluster, else last
  // in_frequent bits an occurrence must have: the cluster's other shorter
  // run with the entry's word, when it has one
  uint16_t also;
  uint16_t mark;  // the bit that says an occurrence is in one of the found clusters; 0: none needed
};

Frequent::Group grown(const Frequent::Group& parent, uint32_t size, uint32_t word, bool on_left, uint32_t count) {
  Frequent::Group g{parent.ranks, count, 0};
  if (on_left) {
    std::copy(parent.ranks.begin(), parent.ranks.begin() + size - 1, g.ranks.begin() + 1);
    g.ranks[0] = word;
  } else {
    g.ranks[size - 1] = word;
  }
  return g;
}

// The clusters of `size` words that occur at least min_count times, each
// counted within its parent's occurrences by a count per added word; their
// occurrences are then laid out by cluster, a counting sort within the
// parent's, so that the next size can grow from them in turn.
Frequent grow_clusters(const Windows& around, const Frequent& parent, const Growth& grow, uint32_t size,
                       uint32_t min_count, size_t words, std::vector<uint16_t>& in_frequent) {
  const uint32_t* added_word = around.column(grow.added);
  auto grows = [&](uint32_t i) { return (in_frequent[i] & grow.also) == grow.also && added_word[i] != kNone; };
  Frequent found;
  std::vector<uint32_t> next;  // where each of one parent's clusters places its next occurrence
  for (const Frequent::Group& p : parent.groups) {
    const std::span<const uint32_t> mine(parent.members.data() + p.first, p.count);
    DenseCounts& added = dense_counts(words);
    for (uint32_t i : mine)
      if (grows(i)) added.add(added_word[i]);
    // Done counting, each added word's count turns into its cluster's
    // place among this parent's + 1 (0 if it is not frequent), to lay out
    // the occurrences by cluster.
    next.clear();
    for (uint32_t r : added.touched) {
      uint32_t& n = added.counts[r];
      if (n < min_count) {
        n = 0;
        continue;
      }
      found.groups.push_back(grown(p, size, r, grow.on_left, n));
      found.groups.back().first = static_cast<uint32_t>(found.members.size());
      next.push_back(static_cast<uint32_t>(found.members.size()));
      found.members.resize(found.members.size() + n);
      n = static_cast<uint32_t>(next.size());
    }
    if (next.empty() || !grow.mark) continue;
    for (uint32_t i : mine) {
      if (!grows(i)) continue;
      if (const uint32_t label = added.counts[added_word[i]]) {
        found.members[next[label - 1]++] = i;
        in_frequent[i] |= grow.mark;
      }
    }
  }
  return found;
}

// The groups' indices in the order of their words: clusters are found in
// the order their parents' counts happened to touch the added words, and
// are listed as if sorted by their words.
std::vector<uint32_t> in_word_order(const std::vector<Frequent::Group>& groups) {
  std::vector<uint32_t> order(groups.size());
  for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return groups[a].ranks < groups[b].ranks; });
  return order;
}

Cluster make_cluster(const Frequent::Group& g, uint32_t size, uint32_t at) {
  Cluster c;
  c.count = g.count;
  c.at = at;
  c.ranks.assign(g.ranks.begin(), g.ranks.begin() + size);
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
  const Windows around = windows(corpus, occ);
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
  // of the entry's word within it are frequent: the one without its last
  // word, which it grows from, and the one without its first (bit
  // (size - 2) * 4 + at of an occurrence says it is in a frequent cluster
  // of that size and place). Where the entry's word is last, the cluster
  // grows from the one without its first word. The word alone is the one
  // cluster of size 1.
  std::vector<uint16_t> in_frequent(occ.size(), 0);
  // Once the list holds `limit` clusters, one rarer than all of them can no
  // longer be listed, nor can any cluster it is part of: it is not counted.
  // Those that begin with the word are wanted down to the floor of the
  // corpus's n-grams as well. Either way the lists come out as if every
  // cluster had been counted.
  auto least_listed = [&]() -> uint64_t {
    if (best.size() < options.limit) return 0;
    keep_best(best, options.limit, more_frequent);
    uint64_t least = UINT64_MAX;
    for (const Cluster& c : best) least = std::min<uint64_t>(least, c.count);
    return least;
  };
  auto bit = [](uint32_t size, uint32_t at) { return static_cast<uint16_t>(1u << ((size - 2) * 4 + at)); };
  std::array<Frequent, 4> shorter, current;
  shorter[0].groups.push_back({{rank}, static_cast<uint32_t>(occ.size()), 0});
  shorter[0].members.resize(occ.size());
  for (uint32_t i = 0; i < occ.size(); ++i) shorter[0].members[i] = i;
  for (uint32_t size = 2; size <= max_size; ++size) {
    current = {};  // two sizes back: nothing grows from it now
    for (uint32_t at = 0; at < std::min(places, size); ++at) {
      const uint64_t listed = least_listed();
      const uint64_t wanted = at == 0 && starting ? std::min(listed, options.starting_from) : listed;
      const uint32_t least = static_cast<uint32_t>(std::clamp<uint64_t>(wanted, options.min_count, UINT32_MAX));
      const bool on_left = at == size - 1;
      Growth grow;
      grow.added = on_left ? 3 - at : 3 - at + size - 1;
      grow.on_left = on_left;
      grow.also = at > 0 && !on_left ? bit(size - 1, at - 1) : 0;
      grow.mark = size < max_size ? bit(size, at) : 0;  // nothing grows from the longest
      current[at] =
          grow_clusters(around, shorter[on_left ? at - 1 : at], grow, size, least, corpus.word_count(), in_frequent);
      for (uint32_t k : in_word_order(current[at].groups)) found(make_cluster(current[at].groups[k], size, at));
    }
    std::swap(shorter, current);
  }
  best_first(best, options.limit, more_frequent);
  return best;
}

void TopNgrams::add(std::vector<Cluster>& starting) {
  std::lock_guard lock(mutex_);
  for (Cluster& c : starting) {
    if (c.ranks.size() >= 5) continue;
    const size_t size = c.ranks.size();
    std::vector<Cluster>& list = by_size_[size];
    list.push_back(std::move(c));
    if (list.size() < 2 * per_size_ + 64) continue;
    keep_best(list, per_size_, more_frequent);
    size_floor_[size] = list.front().count;
    for (const Cluster& kept : list) size_floor_[size] = std::min<uint64_t>(size_floor_[size], kept.count);
    floor_ = std::min({size_floor_[2], size_floor_[3], size_floor_[4]});
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
