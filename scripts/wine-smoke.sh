#!/usr/bin/env bash
# Runs the Windows build under wine with keys piped in: the start-up screens,
# the key menus and the first tool check go through the real cmd.exe path.
# (wine's own find lacks /i, so a run stops at the find check there.)
set -euo pipefail
exe=$(realpath "${1:-build-win/korvel.exe}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir txt_in
export WINEDEBUG=-all

fail() { echo "wine smoke test: $*" >&2; exit 1; }

status=0
printf '2' | timeout 300 wine "$exe" > out.txt 2>/dev/null || status=$?
[ "$status" = 0 ] || fail "declining the terms ended with status $status"
grep -q $'^Program name:korvel_01_209.exe\r$' out.txt || fail "no program name line"
[ "$(tail -c 13 out.txt | tr -d '\n')" = $'<2> no, end\r' ] || fail "output after the declined menu"
[ ! -e check_01.txt ] || fail "declining wrote a file"

printf '1111' | timeout 300 wine "$exe" > out.txt 2>/dev/null || status=$?
[ "$status" = 0 ] || fail "the tool checks ended with status $status"
tr -d '\r' < out.txt | grep -A3 '^cmd$' | grep -q '^find$' || fail "the cmd check did not pass"
echo "wine smoke test passed"
