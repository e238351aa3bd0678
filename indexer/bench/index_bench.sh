#!/usr/bin/env bash
# The indexer against Pagefind and Xapian's omindex on the same generated
# pages: wall time, input MB/s, peak memory and output size, the median of
# several runs taken in turns (the order rotates every round). The row "wc"
# is `cat pages | wc -w`: reading and splitting the pages and nothing else,
# the floor any indexer stands on.
#
#   indexer/bench/index_bench.sh [MEGABYTES...]        default: 100 1000
#
# REPS runs per size up to 100 MB (default 3), REPS_LARGE above (default 1).
# TOOLS_LARGE are the tools run above 100 MB (default "velmor pagefind
# omindex wc"); Pagefind's peak grows with the input, so a small machine may
# have to leave it out there.
# Work files go to $BENCH_DIR (default $TMPDIR/velmor_bench): the corpora, a
# bench-local node_modules with Pagefind, and the outputs. VELMOR names the
# indexer (default build/velmor_01_209.exe).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=${BENCH_DIR:-${TMPDIR:-/tmp}/velmor_bench}
velmor=$(realpath "${VELMOR:-$root/build/velmor_01_209.exe}")
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100 1000)
mkdir -p "$work"
. "$root/indexer/bench/corpus.sh"

if [ ! -d "$work/node_modules/pagefind" ]; then
  npm install --prefix "$work" --no-audit --no-fund pagefind@1 >/dev/null
fi
# The native program itself, so that the measure is not the node wrapper's.
pagefind=$(find "$work/node_modules/@pagefind" -path "*/bin/pagefind*" -type f -perm -u+x | head -1)
[ -n "$pagefind" ] || pagefind="$work/node_modules/.bin/pagefind"
command -v omindex >/dev/null || { echo "omindex is missing: apt-get install xapian-omega" >&2; exit 1; }

results="$work/results.txt"
: > "$results"

# Every run writes into a folder of its own, and the outputs are deleted
# only once all runs are done. Deleting one run's thousands of files right
# before the next made that run pay for it: ext4 without a journal holds
# back the numbers of files deleted in the last minutes, and looks past each
# of them again for every new file (a sixth of the indexer's processor time
# on such a disk).
outputs="$work/outputs"
rm -rf "$outputs"
runs=0

# run_one TOOL CORPUS SIZE: one timed run; appends
# "tool size wall rss_kb user sys out_bytes".
run_one() {
  local tool=$1 corpus=$2 size=$3 dir out
  runs=$((runs + 1))
  dir="$outputs/$runs-$tool-$size"
  mkdir -p "$dir"
  case $tool in
    velmor)
      ln -s "$corpus" "$dir/htm_in"
      (cd "$dir" && env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/time -f "%e %M %U %S" -o "$dir/time" \
        "$velmor" htm_in htm_out >"$dir/log" 2>&1 </dev/null)
      out="$dir/htm_out" ;;
    pagefind)
      /usr/bin/time -f "%e %M %U %S" -o "$dir/time" "$pagefind" --site "$corpus" --glob "**/*.{htm,html}" \
        --output-path "$dir/out" >"$dir/log" 2>&1 </dev/null
      out="$dir/out" ;;
    omindex)
      /usr/bin/time -f "%e %M %U %S" -o "$dir/time" omindex --db "$dir/db" --url / "$corpus" >"$dir/log" 2>&1 </dev/null
      out="$dir/db" ;;
    wc)
      /usr/bin/time -f "%e %M %U %S" -o "$dir/time" sh -c 'find "$1" -type f -print0 | xargs -0 cat | wc -w' wc \
        "$corpus" >"$dir/out" 2>"$dir/log" </dev/null
      out="$dir/out" ;;
  esac
  echo "$tool $size $(tail -1 "$dir/time") $(du -sb "$out" | cut -f1)" >> "$results"
  tail -1 "$results" >&2
}

for size in "${sizes[@]}"; do
  corpus="$work/corpus_$size"
  bench_corpus "$root" "$work" "$size"
  input=$(du -sb "$corpus" | cut -f1)
  echo "$size MB corpus: $(ls "$corpus" | wc -l) pages, $input bytes" >&2
  echo "input $size $input" >> "$results"
  reps=${REPS:-3}
  [ "$size" -le 100 ] || reps=${REPS_LARGE:-1}
  tools=(velmor pagefind omindex wc)
  [ "$size" -le 100 ] || read -r -a tools <<< "${TOOLS_LARGE:-velmor pagefind omindex wc}"
  for ((r = 0; r < reps; r++)); do
    for ((t = 0; t < ${#tools[@]}; t++)); do run_one "${tools[(r + t) % ${#tools[@]}]}" "$corpus" "$size"; done
  done
done
rm -rf "$outputs"

# Medians per tool and size.
awk '
  $1 == "input" { input[$2] = $3; next }
  { key = $1 " " $2; n[key]++; wall[key, n[key]] = $3; rss[key, n[key]] = $4; cpu[key, n[key]] = $5 + $6
    out[key, n[key]] = $7; order[++k] = key }
  function median(arr, key, count,   i, j, v, t) {
    for (i = 1; i <= count; i++) v[i] = arr[key, i]
    for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return v[int((count + 1) / 2)]
  }
  END {
    # CPU seconds (user + system) swing less than wall time on a busy machine.
    printf "| tool | input MB | runs | wall s | MB/s | CPU s | peak MB | output MB | output/input |\n"
    printf "|---|---|---|---|---|---|---|---|---|\n"
    for (i = 1; i <= k; i++) {
      key = order[i]; if (done[key]++) continue
      split(key, p, " "); mb = input[p[2]] / 1e6
      w = median(wall, key, n[key]); c = median(cpu, key, n[key])
      m = median(rss, key, n[key]) / 1024; o = median(out, key, n[key]) / 1e6
      printf "| %s | %.0f | %d | %.1f | %.1f | %.1f | %.0f | %.0f | %.1fx |\n", p[1], mb, n[key], w, mb / w, c, m, o, o * 1e6 / input[p[2]]
    }
  }' "$results"

# The indexer's wall time over each other tool's, round by round: on a
# machine whose speed drifts from one minute to the next, two tools run in
# the same round are closer in conditions than two medians taken apart.
awk '
  $1 == "input" { next }
  { key = $1 " " $2; run[key, ++n[key]] = $3; sizes[$2] = 1; tools[$1] = 1 }
  END {
    for (s in sizes) for (t in tools) {
      if (t == "velmor" || !n[t " " s] || !n["velmor " s]) continue
      count = n[t " " s] < n["velmor " s] ? n[t " " s] : n["velmor " s]
      line = ""
      for (i = 1; i <= count; i++) { r[i] = run["velmor " s, i] / run[t " " s, i]; line = line sprintf(" %.2f", r[i]) }
      for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++) if (r[j] < r[i]) { x = r[i]; r[i] = r[j]; r[j] = x }
      printf "velmor / %s at %s MB, per round:%s; median %.2f\n", t, s, line, r[int((count + 1) / 2)]
    }
  }' "$results"
