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
(cd testing/browser && npm ci --no-audit --no-fund --loglevel=error)
node testing/browser/site_test.mjs build build/browser-shots

echo "== build and test under AddressSanitizer and UBSan"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKORVEL_WERROR=ON -DKORVEL_SANITIZE=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== cross-build for Windows (MinGW-w64)"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DKORVEL_WERROR=ON -DBUILD_TESTING=OFF
cmake --build build-win -j"$jobs"
test -f build-win/korvel.exe
if command -v wine >/dev/null 2>&1; then
  echo "== the Windows build under wine"
  bash scripts/wine-smoke.sh build-win/korvel.exe
else
  echo "== wine is not installed: the Windows build was not run"
fi
echo "== all checks passed"
