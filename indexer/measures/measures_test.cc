#include "indexer/measures/measures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "indexer/measures/association.h"

#include "indexer/testing/memory_corpus.h"

namespace velmor {
namespace {

// Small random texts over a small vocabulary, so that every word has
// neighbours and clusters repeat; checked against counting by brute force.
struct Fixture {
  std::vector<Document> docs;
  std::unique_ptr<MemoryCorpus> corpus;
  uint64_t tokens = 0;
  Fixture() {
    std::mt19937 random(11);
    const char* vocabulary[] = {"al", "be", "ce", "de", "ef", "ge", "ha"};
    for (int d = 0; d < 6; ++d) {
      Document doc;
      doc.file_name = doc.title = "d" + std::to_string(d);
      for (int l = 0, lines = 1 + d % 4; l < lines; ++l) {
        std::string line;
        // A skewed draw, so the counts differ from word to word.
        for (int w = 0, n = static_cast<int>(random() % 9); w < n; ++w)
          line += std::string(w ? " " : "") + vocabulary[std::min(random() % 7, random() % 7)];
        doc.lines.push_back(line);
        // Most lines run on from the one before, so clusters cross them.
        if (l > 0 && d % 3) doc.continued_lines.push_back(l);
      }
      docs.push_back(doc);
    }
    corpus = std::make_unique<MemoryCorpus>(docs, "");
    for (uint32_t d = 0; d < corpus->document_count(); ++d) tokens += corpus->sequence(d).size();
  }
  std::vector<Occurrence> occ(uint32_t rank) const {
    std::vector<Occurrence> out;
    corpus->occurrences(rank, out);
    return out;
  }
};

// The most pairs of (occurrence of x, occurrence of y within x's window)
// in which no occurrence stands twice, by augmenting paths over every pair:
// slow, and blind to the order the windows come in.
uint32_t naive_together(const Corpus& c, uint32_t x, uint32_t y, uint32_t left, uint32_t right) {
  std::vector<std::pair<uint32_t, size_t>> xs, ys;  // (doc, ordinal)
  for (uint32_t d = 0; d < c.document_count(); ++d) {
    auto words = c.sequence(d);
    for (size_t i = 0; i < words.size(); ++i) {
      if (words[i] == x) xs.push_back({d, i});
      if (words[i] == y) ys.push_back({d, i});
    }
  }
  auto near = [&](size_t a, size_t b) {
    const auto [dx, i] = xs[a];
    const auto [dy, j] = ys[b];
    return dx == dy && ((j < i && i - j <= left) || (j > i && j - i <= right));
  };
  std::vector<int> owner(ys.size(), -1);
  std::function<bool(size_t, std::vector<bool>&)> augment = [&](size_t a, std::vector<bool>& seen) {
    for (size_t b = 0; b < ys.size(); ++b)
      if (near(a, b) && !seen[b]) {
        seen[b] = true;
        if (owner[b] < 0 || augment(static_cast<size_t>(owner[b]), seen)) {
          owner[b] = static_cast<int>(a);
          return true;
        }
      }
    return false;
  };
  uint32_t pairs = 0;
  for (size_t a = 0; a < xs.size(); ++a) {
    std::vector<bool> seen(ys.size());
    pairs += augment(a, seen);
  }
  return pairs;
}

// Each co-occurrence counts once: a collocate between two close occurrences
// of the word once, never the word itself; together is at most both
// frequencies (a collocate was found 54 times beside a word of 47).
TEST(Collocates, CountsAndScoresMatchPairingOccurrencesByBruteForce) {
  Fixture f;
  const Corpus& c = *f.corpus;
  for (uint32_t left : {0u, 1u, 5u}) {
    for (uint32_t right : {2u, 5u}) {
      for (uint32_t r = 0; r < c.word_count(); ++r) {
        CollocateOptions options;
        options.left = left;
        options.right = right;
        options.min_together = 1;
        options.limit = 1000;
        std::map<uint32_t, uint32_t> found;
        for (const Collocate& k : collocates(c, r, f.occ(r), f.tokens, options)) {
          found[k.rank] = k.together;
          // Each pair at the distance it stood, none outside the window.
          uint32_t at_distances = 0;
          for (uint32_t d = 0; d < 2 * kMaxReach; ++d) {
            const bool inside = d < kMaxReach ? kMaxReach - d <= left : d - kMaxReach + 1 <= right;
            if (!inside) {
              EXPECT_EQ(k.at_distance[d], 0u) << d;
            }
            at_distances += k.at_distance[d];
          }
          EXPECT_EQ(at_distances, k.together);
          const double fx = static_cast<double>(c.word(r).count), fy = static_cast<double>(c.word(k.rank).count);
          EXPECT_LE(k.together, std::min(fx, fy));
          EXPECT_NEAR(k.log_dice, 14 + std::log2(2 * k.together / (fx + fy)), 1e-9);
          EXPECT_NEAR(k.mi, std::log2(k.together * static_cast<double>(f.tokens) / (fx * fy * (left + right))), 1e-9);
          EXPECT_EQ(k.frequency, c.word(k.rank).count);
        }
        std::map<uint32_t, uint32_t> naive;
        for (uint32_t y = 0; y < c.word_count(); ++y)
          if (uint32_t n = y == r ? 0 : naive_together(c, r, y, left, right)) naive[y] = n;
        EXPECT_EQ(found, naive) << "word " << r << " window " << left << "," << right;
      }
    }
  }
}

// The list is the best `limit` by each measure: cut to one, it holds
// every measure's best of the full list, and nothing else.
TEST(Collocates, TheMinimumCountAndTheLimitCut) {
  Fixture f;
  CollocateOptions all, cut;
  all.min_together = cut.min_together = 2;
  all.limit = 1000;
  cut.limit = 1;
  const Measure measures[] = {Measure::kLogDice, Measure::kMi, Measure::kMi3, Measure::kTScore,
                              Measure::kLogLikelihood};
  size_t longer = 0;
  for (uint32_t r = 0; r < f.corpus->word_count(); ++r) {
    const auto every = collocates(*f.corpus, r, f.occ(r), f.tokens, all);
    const auto found = collocates(*f.corpus, r, f.occ(r), f.tokens, cut);
    std::set<uint32_t> best;
    for (Measure m : measures) {
      const Collocate* top = nullptr;
      double top_score = 0;
      for (const Collocate& k : every) {
        const double s = association(
            m, {double(k.together), double(f.corpus->word(r).count), double(k.frequency), double(f.tokens), 10});
        const bool tie_won =
            s == top_score && (k.together > top->together || (k.together == top->together && k.rank < top->rank));
        if (!top || s > top_score || tie_won) top = &k, top_score = s;
      }
      if (top) best.insert(top->rank);
    }
    std::set<uint32_t> listed;
    for (const Collocate& k : found) {
      listed.insert(k.rank);
      EXPECT_GE(k.together, 2u);
    }
    EXPECT_EQ(listed, best) << r;
    longer += found.size() > 1;
  }
  EXPECT_GT(longer, 0u);  // some word's measures disagree
}

TEST(Clusters, EveryNGramIsCountedAtEveryPlaceOfItsWords) {
  Fixture f;
  const Corpus& c = *f.corpus;
  // Within a stretch (stretches_test.cc tests where they part), every run.
  std::map<std::vector<uint32_t>, uint32_t> naive;
  for (uint32_t d = 0; d < c.document_count(); ++d) {
    auto words = c.sequence(d);
    std::vector<uint32_t> starts;
    c.stretch_starts(d, starts);
    starts.push_back(static_cast<uint32_t>(words.size()));
    for (size_t from = 0, s = 0; s < starts.size(); from = starts[s++])
      for (size_t n = 2; n <= 4; ++n)
        for (size_t i = from; i + n <= starts[s]; ++i)
          ++naive[std::vector<uint32_t>(words.begin() + i, words.begin() + i + n)];
  }
  ClusterOptions options;
  options.min_count = 2;
  options.limit = 100000;
  std::map<std::vector<uint32_t>, uint32_t> starting_all, starting_begun;
  for (uint32_t r = 0; r < c.word_count(); ++r) {
    std::vector<Cluster> starting;
    auto found = clusters(c, r, f.occ(r), options, &starting);
    size_t expected = 0;
    for (const auto& [ranks, n] : naive)
      for (uint32_t x : ranks) expected += n >= 2 && x == r;
    EXPECT_EQ(found.size(), expected) << r;
    for (const Cluster& k : found) {
      EXPECT_EQ(k.ranks[k.at], r);
      EXPECT_EQ(k.count, naive[k.ranks]);
    }
    for (const Cluster& k : starting) starting_all[k.ranks] = k.count;
    // Counting only where the word begins a cluster yields the same n-grams.
    ClusterOptions begun = options;
    begun.every_place = false;
    starting.clear();
    for (const Cluster& k : clusters(c, r, f.occ(r), begun, &starting)) EXPECT_EQ(k.at, 0u);
    for (const Cluster& k : starting) starting_begun[k.ranks] = k.count;
  }
  std::map<std::vector<uint32_t>, uint32_t> frequent;
  for (const auto& [ranks, n] : naive)
    if (n >= 2) frequent[ranks] = n;
  EXPECT_EQ(starting_all, frequent);
  EXPECT_EQ(starting_begun, frequent);
  EXPECT_GT(frequent.size(), 10u);
}

// A short list and a floor under the n-grams stop the counting of rarer
// clusters early; what is listed must be what counting them all lists.
TEST(Clusters, CountingLessListsTheSameAsCountingAll) {
  Fixture f;
  const Corpus& c = *f.corpus;
  ClusterOptions all;
  all.min_count = 2;
  all.limit = 100000;
  for (uint32_t r = 0; r < c.word_count(); ++r) {
    std::vector<Cluster> every_start;
    const std::vector<Cluster> every = clusters(c, r, f.occ(r), all, &every_start);
    for (size_t limit : {1, 2, 3, 5}) {
      for (uint64_t floor : {0, 3, 4}) {
        ClusterOptions cut = all;
        cut.limit = limit;
        cut.starting_from = floor;
        std::vector<Cluster> starting;
        const std::vector<Cluster> found = clusters(c, r, f.occ(r), cut, &starting);
        ASSERT_EQ(found.size(), std::min(limit, every.size())) << r;
        for (size_t k = 0; k < found.size(); ++k) {
          EXPECT_EQ(found[k].ranks, every[k].ranks) << r << " " << limit << " " << floor;
          EXPECT_EQ(found[k].count, every[k].count);
        }
        std::map<std::vector<uint32_t>, uint32_t> wanted, got;
        for (const Cluster& k : every_start)
          if (k.count >= floor) wanted[k.ranks] = k.count;
        for (const Cluster& k : starting)
          if (k.count >= floor) got[k.ranks] = k.count;
        EXPECT_EQ(got, wanted) << r << " " << limit << " " << floor;
      }
    }
  }
}

// Words rarer than the floor go uncounted, so it must never pass the last
// listed n-gram of any size, and stays 0 until every size has its fill.
TEST(TopNgrams, TheFloorIsTheLeastOfTheSizesLastListedCounts) {
  TopNgrams top(2);
  auto add = [&](uint32_t size, uint32_t count, uint32_t first) {
    std::vector<Cluster> one{Cluster{std::vector<uint32_t>(size, first), count, 0}};
    top.add(one);
  };
  for (uint32_t i = 0; i < 100; ++i) {
    add(2, 1000 + i, i);
    add(3, 500 + i, i);
  }
  EXPECT_EQ(top.floor(), 0u);  // no 4-grams yet
  for (uint32_t i = 0; i < 100; ++i) add(4, 50 + i, i);
  // Each list is cut to its best 2 at 68: the 4-grams' were 117 and 116.
  EXPECT_EQ(top.floor(), 116u);
  for (uint32_t size = 2; size <= 4; ++size) {
    const std::vector<Cluster> list = top.of_size(size);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_LE(top.floor(), list.back().count) << size;
  }
}

TEST(Keywords, AWordMoreFrequentInADocumentScoresByLogLikelihood) {
  Fixture f;
  const Corpus& c = *f.corpus;
  KeywordOptions options;
  options.min_count = 1;
  options.min_log_likelihood = 0;
  options.limit = 100;
  for (uint32_t d = 0; d < c.document_count(); ++d) {
    // By default only what chance would rarely give is a keyword.
    for (const Keyword& k : keywords(c, d, f.tokens, KeywordOptions{})) EXPECT_GE(k.log_likelihood, 3.84);
    auto found = keywords(c, d, f.tokens, options);
    const double size = static_cast<double>(c.sequence(d).size()), rest = static_cast<double>(f.tokens) - size;
    for (const Keyword& k : found) {
      uint32_t here = 0;
      for (uint32_t r : c.sequence(d)) here += r == k.rank;
      EXPECT_EQ(k.count, here);
      const double a = here, b = static_cast<double>(c.word(k.rank).count) - a, n = static_cast<double>(f.tokens);
      EXPECT_GT(a / size, b / rest);
      const double e1 = size * (a + b) / n, e2 = rest * (a + b) / n;
      EXPECT_NEAR(k.log_likelihood, 2 * (a * std::log(a / e1) + (b > 0 ? b * std::log(b / e2) : 0)), 1e-9);
    }
  }
}

}  // namespace
}  // namespace velmor
