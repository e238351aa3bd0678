#!/usr/bin/env bash
# Runs the Windows build under Wine through its console paths:
# - keys piped in: declining the terms of use ends the run at once;
# - keys piped in, Wine's own tools only: the run stops at the find check,
#   because Wine's find refuses every switch (a real check failing for a
#   real reason), and only "1" leaves the stop;
# - on a pseudo-terminal, where the keys arrive as console input events: the
#   menus answered one by one, through a whole run with the test-only tools
#   first on WINEPATH, ended by an arrow key at the last stop.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=$(realpath "${1:-build-win/korvel.exe}")
tools=$(dirname "$exe")/wine-tools
wine_test="wine smoke test"
source scripts/wine-prefix.sh
[ -f "$exe" ] || wine_fail "missing $exe"
wine_prefix_start

run() {  # folder, keys: runs korvel.exe there with the keys piped in
  local status=0
  (cd "$1" && printf '%s' "$2" | timeout 90 wine korvel.exe >out.txt 2>err.txt) || status=$?
  [ "$status" = 0 ] || { tail -c 2000 "$1/out.txt" >&2; wine_fail "keys '$2' ended with status $status"; }
}

work="$wine_tmp/declined"
mkdir -p "$work/txt_in" && cp "$exe" "$work/"
run "$work" 2
grep -q $'^Program name:korvel_01_209.exe\r$' "$work/out.txt" || wine_fail "no program name line"
[ "$(tail -c 13 "$work/out.txt" | tr -d '\n')" = $'<2> no, end\r' ] || wine_fail "output after the declined menu"
[ ! -e "$work/check_01.txt" ] || wine_fail "declining wrote a file"

work="$wine_tmp/wine-tools-only"
mkdir -p "$work/txt_in" && cp "$exe" "$work/"
run "$work" 11121  # "2" at the stop is ignored, "1" ends the run
expected=$'cmd\r\n\r\nfind\r\n---------------------\r\nChecking for find.exe!\r\n'
expected+=$'The system path to the program is most likely to be configured.\r\n<1> = continue and end\r\n'
if ! cmp -s <(tail -c ${#expected} "$work/out.txt") <(printf "%s" "$expected"); then
  tail -c 600 "$work/out.txt" >&2
  wine_fail "the run did not stop at the find check, or printed more after it"
fi
[ "$(grep -c '[^ \r]' "$work/check_02.txt" || true)" -lt 2 ] || wine_fail "Wine's find found lines"

if [ -x /usr/bin/python3 ] && [ -f "$tools/find.exe" ]; then
  work="$wine_tmp/console"
  mkdir -p "$work/txt_in" && cp "$exe" "$work/"
  printf 'x\r\n' >"$work/convertcp.exe"
  printf 'x\r\n' >"$work/wget.exe"
  cp "$tools/fake_indexer.exe" "$work/velmor_01_209.exe"
  printf 'A note.\r\n' >"$work/txt_in/note.txt"
  (cd "$work" && WINEPATH="$(wine_path "$tools")" timeout 240 /usr/bin/python3 "$OLDPWD/scripts/wine-pty.py") ||
    wine_fail "the menus on a pseudo-terminal"
  for _ in $(seq 200); do [ -f "$work/velmor/fake_indexer.log" ] && break; sleep 0.1; done
  grep -qx 'note.htm' "$work/velmor/fake_indexer.log" || wine_fail "the console run did not start the indexer"
else
  echo "$wine_test: no /usr/bin/python3 or no $tools: the console run was skipped"
fi
echo "$wine_test: passed"
