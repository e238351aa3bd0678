#!/usr/bin/env bash
# How the site sits on a disk: its files, the top folder's and the fullest
# folder's entries, and the space it takes on a FAT32 stick of 32 KB
# clusters (each file a whole number of them), for indexers side by side
# on the same generated pages. Counts, not times: one run each is exact.
#
#   indexer/bench/site_files.sh MEGABYTES INDEXER...
#   e.g. indexer/bench/site_files.sh 1000 /tmp/velmor_main build/velmor_01_209.exe
# At 1000 MB (38,827 pages) a page per document made 78,952 files, 40,094
# in the top folder, 3.45 GB on FAT32; the viewer and text/FFF/ make 40,126,
# 1,268 at the top and 10,000 at most in a folder, 2.18 GB.
#
# Work files go to $BENCH_DIR (default $TMPDIR/velmor_bench), the corpora
# shared with index_bench.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=${BENCH_DIR:-${TMPDIR:-/tmp}/velmor_bench}
size=$1
shift
mkdir -p "$work"
. "$root/indexer/bench/corpus.sh"
bench_corpus "$root" "$work" "$size"
printf '%-40s %8s %8s %8s %14s %16s\n' indexer files top fullest bytes "on 32 KB FAT32"
n=0
for indexer in "$@"; do
  n=$((n + 1))
  dir="$work/site_files/$n"
  rm -rf "$dir"
  mkdir -p "$dir"
  ln -s "$work/corpus_$size" "$dir/htm_in"
  program=$(realpath "$indexer")
  (cd "$dir" && env -u DISPLAY -u WAYLAND_DISPLAY "$program" htm_in htm_out > log 2>&1 < /dev/null)
  out="$dir/htm_out"
  files=$(find "$out" -type f | wc -l)
  top=$(ls -A "$out" | wc -l)
  fullest=$(find "$out" -type d -exec sh -c 'ls -A "$1" | wc -l' _ {} \; | sort -n | tail -1)
  read -r bytes fat < <(find "$out" -type f -printf '%s\n' |
    awk '{ s += $1; c += int(($1 + 32767) / 32768) } END { printf "%.0f %.0f\n", s, c * 32768 }')
  printf '%-40s %8d %8d %8d %14d %16d\n' "$indexer" "$files" "$top" "$fullest" "$bytes" "$fat"
  rm -rf "$dir"
done
