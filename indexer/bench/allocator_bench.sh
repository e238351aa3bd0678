#!/usr/bin/env bash
# The indexer with jemalloc (as built) against the same code with the C
# library's malloc (bench/velmor_system_malloc, built with -DKORVEL_BENCH=ON
# where jemalloc is found), on the index bench's generated pages: wall time,
# processor time and peak memory, in turns (the order alternates), the
# median of REPS runs (default 5), and the ratio of the two in each round.
#
#   indexer/bench/allocator_bench.sh [MEGABYTES]        default: 100
#
# Work files go to $BENCH_DIR (default $TMPDIR/velmor_bench), shared with
# index_bench.sh, whose corpora this reuses.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=${BENCH_DIR:-${TMPDIR:-/tmp}/velmor_bench}
size=${1:-100}
reps=${REPS:-5}
with=$(realpath "$root/build/velmor_01_209.exe")
without=$(realpath "$root/build/bench/velmor_system_malloc")
mkdir -p "$work"
. "$root/indexer/bench/corpus.sh"
corpus="$work/corpus_$size"
bench_corpus "$root" "$work" "$size"

# run_one BINARY: one timed run; prints "wall user+sys peak_kb".
run_one() {
  local dir="$work/run_allocator"
  rm -rf "$dir" && mkdir -p "$dir" && ln -s "$corpus" "$dir/htm_in"
  (cd "$dir" && env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/time -f "%e %U %S %M" -o "$dir/time" \
    "$1" htm_in htm_out >/dev/null 2>&1 </dev/null)
  awk '{print $1, $2 + $3, $4}' "$dir/time"
  rm -rf "$dir"
}

for ((r = 0; r < reps; r++)); do
  if ((r % 2 == 0)); then a=$(run_one "$with"); b=$(run_one "$without"); else b=$(run_one "$without"); a=$(run_one "$with"); fi
  echo "$a $b"
done | /usr/bin/python3 -c '
import statistics as st, sys
rows = [list(map(float, l.split())) for l in sys.stdin]
for r in rows:
    print("jemalloc %.2f s (cpu %.2f, %d MB)   malloc %.2f s (cpu %.2f, %d MB)   ratio %.3f"
          % (r[0], r[1], r[2] / 1024, r[3], r[4], r[5] / 1024, r[0] / r[3]))
m = lambda i: st.median(r[i] for r in rows)
print("median of %d: jemalloc %.2f s, cpu %.2f s, peak %d MB; malloc %.2f s, cpu %.2f s, peak %d MB; ratio per round %.3f"
      % (len(rows), m(0), m(1), m(2) / 1024, m(3), m(4), m(5) / 1024, st.median(r[0] / r[3] for r in rows)))'
