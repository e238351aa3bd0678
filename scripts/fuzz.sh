#!/usr/bin/env bash
# Builds the libFuzzer targets of korvel/fuzz/, indexer/fuzz/ and convertcp/fuzz/
# with clang, AddressSanitizer and UBSan in build-fuzz, and runs each for
# FUZZ_SECONDS (40 by default) from its seed corpus in
# <program>/fuzz/corpus/<target>. New inputs go to build-fuzz/corpus/<target>;
# an input that breaks a target is kept in build-fuzz/artifacts/ and fails
# the script. Prints the executions of every target.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
seconds=${FUZZ_SECONDS:-40}
targets=(parse pattern keys names page read_page split convertcp)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVEL_FUZZ=ON -DKORVEL_SANITIZE=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target "${targets[@]/#/fuzz_}"

root=$(pwd)  # absolute paths: a target may work in a folder of its own
mkdir -p build-fuzz/artifacts
summary=""
for target in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$target"
  seeds="$root/korvel/fuzz/corpus/$target"
  [ -d "$root/indexer/fuzz/corpus/$target" ] && seeds="$root/indexer/fuzz/corpus/$target"
  [ -d "$root/convertcp/fuzz/corpus/$target" ] && seeds="$root/convertcp/fuzz/corpus/$target"
  log="build-fuzz/fuzz_$target.log"
  echo "== fuzz_$target for ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$root/build-fuzz/artifacts/$target-" \
      "$root/build-fuzz/corpus/$target" "$seeds" >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz_$target failed; the input is in build-fuzz/artifacts/" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  summary+="$(printf '%-8s %12s executions\n' "$target" "$runs")"$'\n'
done
# The search box's wildcard matcher (indexer/site/search_data.js), in node,
# against a plain dynamic-programming matcher.
echo "== glob_fuzz (node) for ${seconds}s"
if ! node indexer/testing/js/glob_fuzz.mjs "$seconds" "$root/build-fuzz/artifacts/glob" >build-fuzz/fuzz_glob.log 2>&1; then
  tail -40 build-fuzz/fuzz_glob.log
  echo "glob_fuzz failed; the input is in build-fuzz/artifacts/glob.json" >&2
  exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' build-fuzz/fuzz_glob.log)
summary+="$(printf '%-8s %12s executions\n' glob "$runs")"$'\n'
echo "== fuzzing done"
printf '%s' "$summary"
