#!/usr/bin/env bash
# One page whose text is a single line, the shape a pasted or unwrapped text
# file takes: the indexer's time and peak memory on it, side by side with
# another build of the indexer (BASE), in turns, median of REPS runs.
#
#   indexer/bench/long_line_bench.sh [KILOBYTES...]     default: 128 1024 51200
#
# VELMOR names the indexer (default build/velmor_01_209.exe); BASE, when set,
# names the one to compare with. TIMEOUT (default 600) seconds ends a run,
# reported as a wall time of ">TIMEOUT". Work files go to $BENCH_DIR (default
# $TMPDIR/velmor_long_line).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=${BENCH_DIR:-${TMPDIR:-/tmp}/velmor_long_line}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(128 1024 51200)
tools=("$(realpath "${VELMOR:-$root/build/velmor_01_209.exe}")")
[ -z "${BASE:-}" ] || tools+=("$(realpath "$BASE")")
reps=${REPS:-3}
limit=${TIMEOUT:-600}
mkdir -p "$work"

# make_page FILE KILOBYTES: korvel's text-to-page frame around one line of
# words drawn with a Zipf-like spread from 20,000 made-up ones.
make_page() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import random, sys
path, kb = sys.argv[1], int(sys.argv[2])
rnd = random.Random(7)
cons, vows = "b c d f g h k l m n p r s t v z č š ž".split(), "a e i o u ä é".split()
vocab = ["".join(rnd.choice(cons) + rnd.choice(vows) for _ in range(1 + i % 4)) for i in range(20000)]
weights = [1.0 / (r + 1) for r in range(len(vocab))]
words, size = [], 0
while size < kb * 1024:
    chunk = rnd.choices(vocab, weights, k=10000)
    words += chunk
    size += sum(len(w.encode()) + 1 for w in chunk)
line = " ".join(words).encode()[: kb * 1024].rsplit(b" ", 1)[0]
with open(path, "wb") as f:
    f.write(b"<HTML>\r\n<head>\r\n<title>\r\nhtm_wrk\\long.htm\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n")
    f.write(line + b"\r\n</pre>\r\n</body>\r\n</html>\r\n")
PY
}

# run_one TOOL KILOBYTES: prints "wall user sys rss_kb", or ">TIMEOUT - - -"
# when cut off.
run_one() {
  local dir="$work/run" rc=0
  rm -rf "$dir" && mkdir -p "$dir"
  ln -s "$work/in_$2" "$dir/htm_in"
  (cd "$dir" && env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/time -f "%e %U %S %M" -o "$dir/time" \
    timeout "$limit" "$1" htm_in htm_out >"$dir/log" 2>&1 </dev/null) || rc=$?
  if [ "$rc" = 124 ]; then echo ">$limit - - -"; elif [ "$rc" != 0 ]; then echo "failed($rc) - - -"; else tail -1 "$dir/time"; fi
}

results="$work/results.txt"
: > "$results"
for kb in "${sizes[@]}"; do
  [ -s "$work/in_$kb/long.htm" ] || { mkdir -p "$work/in_$kb"; make_page "$work/in_$kb/long.htm" "$kb"; }
  for ((r = 0; r < reps; r++)); do
    for ((t = 0; t < ${#tools[@]}; t++)); do
      tool=${tools[(r + t) % ${#tools[@]}]}
      echo "$tool $kb $(run_one "$tool" "$kb")" | tee -a "$results" >&2
    done
  done
done
rm -rf "$work/run"

# Medians per tool and size (a cut-off run counts as the slowest).
echo "indexer KB wall_s cpu_s peak_MB"
awk '{ key = $1 " " $2; n[key]++; w = ($3 ~ /^>/) ? 1e9 : $3; wall[key, n[key]] = w; shown[key, w] = $3
       cpu[key, w] = ($4 == "-") ? "-" : $4 + $5; rss[key, n[key]] = $6; if (!(key in seen)) { seen[key] = 1; order[++k] = key } }
  END {
    for (i = 1; i <= k; i++) {
      key = order[i]; m = n[key]
      for (a = 1; a <= m; a++) for (b = a + 1; b <= m; b++)
        if (wall[key, b] < wall[key, a]) { t = wall[key, a]; wall[key, a] = wall[key, b]; wall[key, b] = t
                                           t = rss[key, a]; rss[key, a] = rss[key, b]; rss[key, b] = t }
      mid = int((m + 1) / 2)
      split(key, f, " "); sub(/.*\//, "", f[1])
      printf "%s %s %s %s %s\n", f[1], f[2], shown[key, wall[key, mid]], cpu[key, wall[key, mid]],
             rss[key, mid] == "-" ? "-" : int(rss[key, mid] / 1024)
    }
  }' "$results"
