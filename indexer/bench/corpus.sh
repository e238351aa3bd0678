# Sourced by the indexer's bench scripts, which share their corpora.
#
# bench_corpus ROOT WORK SIZE: the generated pages of SIZE megabytes in
# WORK/corpus_SIZE, made the first time (the maker built anew from ROOT's
# indexer/bench/make_corpus.cc when that is newer), then read once, so that
# the first timed run does not alone pay for reading them from the disk.
bench_corpus() {
  local root=$1 work=$2 size=$3
  if [ ! -x "$work/make_corpus" ] || [ "$root/indexer/bench/make_corpus.cc" -nt "$work/make_corpus" ]; then
    g++ -O2 -std=c++20 -o "$work/make_corpus" "$root/indexer/bench/make_corpus.cc"
  fi
  [ -d "$work/corpus_$size" ] || "$work/make_corpus" "$work/corpus_$size" "$size"
  find "$work/corpus_$size" -type f -print0 | xargs -0 cat > /dev/null
}
