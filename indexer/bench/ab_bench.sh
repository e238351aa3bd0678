#!/usr/bin/env bash
# Two builds of the indexer side by side on the index bench's generated
# pages: wall time, processor time (user and system), user time alone (the
# steadier on a shared machine), peak memory, the site's bytes and its
# entries' (i_*.htm) bytes, in turns (the order alternates each round), the
# median of REPS runs (default 3). For a change that writes more or counts
# more: the build before it is the fair baseline.
#
#   indexer/bench/ab_bench.sh BEFORE AFTER [MEGABYTES]     default: 100
#   e.g. git worktree add /tmp/base main && cmake ... && cmake --build ... --target velmor
#        indexer/bench/ab_bench.sh /tmp/base/build/velmor_01_209.exe build/velmor_01_209.exe
#   or the prefetch hints (indexer/prefetch.h), all or a group at a time:
#        cmake -S . -B build-nopf -DCMAKE_BUILD_TYPE=Release -DKORVEL_NO_PREFETCH=ON   (or -DKORVEL_PREFETCH_OFF=MASK)
#        cmake --build build-nopf --target velmor
#        REPS=5 indexer/bench/ab_bench.sh build-nopf/velmor_01_209.exe build/velmor_01_209.exe
#
# Work files go to $BENCH_DIR (default $TMPDIR/velmor_bench), the corpora
# shared with index_bench.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=${BENCH_DIR:-${TMPDIR:-/tmp}/velmor_bench}
before=$(realpath "$1")
after=$(realpath "$2")
size=${3:-100}
reps=${REPS:-3}
mkdir -p "$work"
. "$root/indexer/bench/corpus.sh"
corpus="$work/corpus_$size"
bench_corpus "$root" "$work" "$size"

# run_one NAME BINARY ROUND: one timed run into a folder of its own (see
# index_bench.sh on deleting outputs between runs); prints "wall cpu peak_kb
# site_bytes entry_bytes user".
run_one() {
  local dir="$work/ab/$1-$3"
  rm -rf "$dir" && mkdir -p "$dir" && ln -s "$corpus" "$dir/htm_in"
  (cd "$dir" && env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/time -f "%e %U %S %M" -o "$dir/time" \
    "$2" htm_in htm_out >/dev/null 2>&1 </dev/null)
  local site entries
  site=$(du -sb "$dir/htm_out" | cut -f1)
  entries=$(find "$dir/htm_out" -name 'i_*.htm' -printf '%s\n' | awk '{s += $1} END {print s}')
  awk -v s="$site" -v e="$entries" '{print $1, $2 + $3, $4, s, e, $2}' "$dir/time"
}

rm -rf "$work/ab"
: > "$work/ab.txt"
for ((round = 0; round < reps; round++)); do
  if ((round % 2 == 0)); then order="before after"; else order="after before"; fi
  for name in $order; do
    bin=$before
    [ "$name" = after ] && bin=$after
    echo "$name $(run_one "$name" "$bin" "$round")" | tee -a "$work/ab.txt"
  done
done

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
printf '%-7s %9s %9s %9s %10s %12s %12s\n' "" wall_s cpu_s user_s peak_MB site_MB entries_MB
for name in before after; do
  row=()
  for col in 2 3 7 4 5 6; do row+=("$(awk -v n="$name" -v c="$col" '$1 == n {print $c}' "$work/ab.txt" | median)"); done
  printf '%-7s %9.2f %9.2f %9.2f %10.1f %12.1f %12.1f\n' "$name" "${row[0]}" "${row[1]}" "${row[2]}" \
    "$(echo "${row[3]} / 1024" | bc -l)" "$(echo "${row[4]} / 1048576" | bc -l)" "$(echo "${row[5]} / 1048576" | bc -l)"
done
