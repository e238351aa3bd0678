#!/usr/bin/env bash
# Installs what the tests, the benchmarks and the Windows cross-build need,
# on top of what running needs.
set -euo pipefail
cd "$(dirname "$0")/.."
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
bash scripts/install-deps.sh
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  libgtest-dev libgmock-dev libbenchmark-dev \
  g++-mingw-w64-x86-64 wine wine64 dpkg-dev \
  clang libclang-rt-dev \
  chromium chromium-driver
# The site is copied to a FAT32 image and back (indexer/testing/fat).
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends dosfstools mtools
# The Windows console test drives Wine on a pseudo-terminal from Python.
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends python3
# Node drives Chromium in the browser test; keep a Node that is already there.
if ! command -v npm >/dev/null 2>&1; then
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends nodejs npm
fi
# Xapian's omindex: a baseline of the indexer benchmark (indexer/bench/index_bench.sh).
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xapian-omega
# Real HTML in several languages for the test that holds the Windows
# indexer's site against the Linux one (scripts/wine-indexer.sh).
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  debian-reference-de debian-reference-fr debian-reference-it debian-reference-es debian-reference-ja
# Wine takes the Windows program's code page from the Unix locale: that test
# runs under LANG=de_DE.UTF-8, which a minimal system has not generated.
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends locales
locale -a | grep -qix 'de_DE.utf8' || as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
