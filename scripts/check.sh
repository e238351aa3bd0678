#!/usr/bin/env bash
# Builds korvel and runs every test: a warning-free build with all tests, the
# same tests under AddressSanitizer and UBSan, and the Windows cross-build.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

echo "== build and test (Linux)"
cmake -S . -B build -DKORVEL_WERROR=ON -DKORVEL_BENCH=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== the indexer's site in headless Chromium"
(cd indexer/testing/browser && npm ci --no-audit --no-fund --loglevel=error)
node indexer/testing/browser/site_test.mjs build build/browser-shots

echo "== build and test under AddressSanitizer and UBSan"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKORVEL_WERROR=ON -DKORVEL_SANITIZE=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== ICU and libxml2 for MinGW (built once, then taken from the cache)"
win_deps=$(bash scripts/build-windows-deps.sh | tail -n 1)
echo "== cross-build for Windows (MinGW-w64)"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DKORVEL_WERROR=ON -DBUILD_TESTING=OFF -DKORVEL_WIN_DEPS="$win_deps"
cmake --build build-win -j"$jobs"
test -f build-win/korvel.exe
test -f build-win/convertcp.exe
test -f build-win/velmor_01_209.exe
echo "== the Windows package"
bash scripts/package-windows.sh build-win
if command -v wine >/dev/null 2>&1; then
  echo "== the Windows build under wine"
  bash scripts/wine-smoke.sh build-win/korvel.exe
  # What is shipped is what is tested: the run is made in the unpacked zip.
  bash scripts/wine-run.sh build-win build build-win/korvel-*-win64.zip
  # The zip's indexer makes the same site as the Linux one.
  bash scripts/wine-indexer.sh build-win/korvel-*-win64.zip build
  echo "== convertcp.exe under wine: CP1250 to UTF-8"
  printf '\xE8\x9A\x9E \xC8\x8A\x8E' > build-win/cp1250.txt
  rm -f build-win/utf8.txt
  WINEDEBUG=-all timeout 300 wine build-win/convertcp.exe 1250 65001 build-win/cp1250.txt build-win/utf8.txt
  printf '\xC4\x8D\xC5\xA1\xC5\xBE \xC4\x8C\xC5\xA0\xC5\xBD' | cmp - build-win/utf8.txt
else
  echo "== wine is not installed: the Windows build was not run"
fi
echo "== fuzzing (libFuzzer with clang, AddressSanitizer and UBSan)"
bash scripts/fuzz.sh

echo "== all checks passed"
