#!/usr/bin/env bash
# Zips the Windows build's working folder with CPack as
# BUILD/korvel-<version>-win64.zip and checks what went in: exactly the
# folder korvel-<version>-win64 with korvel.exe, convertcp.exe, the indexer
# velmor_01_209.exe (ICU and its data inside), README.txt (CRLF line ends)
# and the empty txt_in and htm_out; none of the test-only programs. Prints
# the zip's size and file list.
# Usage: package-windows.sh [BUILD_DIR]   (default build-win, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-win}")
fail() { echo "package-windows: FAILED: $*" >&2; exit 1; }

[ -f "$build/CPackConfig.cmake" ] || fail "no CPackConfig.cmake in $build (configure the Windows build first)"
# A zip of an earlier version must not pass for this one.
rm -f "$build"/korvel-*-win64.zip
(cd "$build" && cpack -G ZIP --config CPackConfig.cmake >cpack.log 2>&1) ||
  { cat "$build/cpack.log" >&2; fail "cpack did not make the zip"; }

zips=("$build"/korvel-*-win64.zip)
[ "${#zips[@]}" = 1 ] && [ -f "${zips[0]}" ] || fail "cpack made no korvel-*-win64.zip"
zip=${zips[0]}
top=$(basename "$zip" .zip)

# Without the indexer every run would stop at korvel's tool check: such a
# zip is of no use to anyone.
[ -f "$build/velmor_01_209.exe" ] ||
  fail "no velmor_01_209.exe in $build (configure with -DKORVEL_WIN_DEPS=\$(scripts/build-windows-deps.sh | tail -1))"
expected=$(printf '%s\n' "$top/README.txt" "$top/convertcp.exe" "$top/htm_out/" "$top/korvel.exe" \
  "$top/txt_in/" "$top/velmor_01_209.exe")
found=$(unzip -Z1 "$zip" | LC_ALL=C sort)
if [ "$found" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$found") >&2 || true
  fail "the zip does not hold exactly the working folder (- expected, + found)"
fi

readme=$(mktemp)
trap 'rm -f "$readme"' EXIT
unzip -p "$zip" "$top/README.txt" >"$readme"
[ -s "$readme" ] || fail "README.txt is empty"
# Every line ends in CR LF, the last one too, and no CR stands alone.
[ "$(tail -c 2 "$readme" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "README.txt does not end in CR LF"
! LC_ALL=C grep -qv $'\r$' "$readme" || fail "README.txt has a line that does not end in CR LF"
! LC_ALL=C grep -q $'\r.' "$readme" || fail "README.txt has a CR that does not end a line"

echo "package-windows: $zip, $(stat -c %s "$zip") bytes:"
unzip -l "$zip" | sed '1d'
