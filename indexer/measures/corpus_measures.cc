#include "indexer/measures/corpus_measures.h"

namespace velmor {

namespace {

std::vector<uint64_t> document_tokens(const Corpus& corpus) {
  std::vector<uint64_t> sizes(corpus.document_count());
  for (uint32_t d = 0; d < corpus.document_count(); ++d) sizes[d] = corpus.document(d).tokens;
  return sizes;
}

}  // namespace

CorpusMeasures::CorpusMeasures(const Corpus& corpus, uint64_t measured_from, size_t ngrams_per_size)
    : corpus_(corpus),
      measured_from_(measured_from),
      sizes_(document_tokens(corpus)),
      dispersion_(corpus.word_count(), -1),
      ngrams_(ngrams_per_size) {
  for (uint64_t size : sizes_.words) tokens_ += size;
}

WordMeasures CorpusMeasures::of_word(uint32_t rank, const std::vector<Occurrence>& occ) {
  WordMeasures m;
  m.dispersion = dispersion_[rank] = dp_thousandths(dp_norm(occ, sizes_));
  // Every word that can begin an n-gram is counted for the corpus's list,
  // the frequent ones show their own measures.
  const uint64_t count = corpus_.word(rank).count;
  m.measured = count >= measured_from_;
  ClusterOptions cluster_options;
  cluster_options.every_place = m.measured;
  cluster_options.starting_from = ngrams_.floor();
  if (m.measured || count >= cluster_options.starting_from) {
    std::vector<Cluster> starting;
    std::vector<Cluster> mine = clusters(corpus_, rank, occ, cluster_options, &starting);
    ngrams_.add(starting);
    if (m.measured) m.clusters = std::move(mine);
  }
  if (m.measured) m.collocates = collocates(corpus_, rank, occ, tokens_, CollocateOptions{});
  return m;
}

std::vector<Keyword> CorpusMeasures::keywords_of(uint32_t doc) const {
  return keywords(corpus_, doc, tokens_, KeywordOptions{});
}

}  // namespace velmor
