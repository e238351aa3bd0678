#!/usr/bin/env bash
# Builds korvel, lays out a demonstration working folder in demo/ and starts
# the program there. The tools beside it are stand-ins: convertcp.exe and
# wget.exe are never run, and the indexer only records what it was given
# (velmor/fake_indexer.log).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j2 --target korvel fake_indexer >/dev/null
rm -rf demo
cmake --install build --prefix demo >/dev/null
printf 'convertcp stand-in\n' > demo/convertcp.exe
printf 'wget stand-in\n' > demo/wget.exe
cp build/testing/fake_indexer demo/velmor_01_209.exe
printf 'First line of my notes.\r\nSecond line <with> & marks.  \r\n' > "demo/txt_in/My Notes.txt"
printf '<html><body>An HTML document.</body></html>\r\n' > demo/txt_in/a.htm
cd demo
exec ./korvel "$@"
