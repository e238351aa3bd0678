#!/usr/bin/env bash
# The Windows indexer, as the zip ships it, against the Linux one: each
# corpus is indexed by both, and the two sites must be the same, file for
# file and byte for byte. Then the browser test walks the site the Windows
# build makes.
#
# Corpora: the browser test's pages (korvel's frame and an HTML page, in the
# alphabetical order of Slovenian, asked for with --locale); the sample
# documents and, where installed, Debian's reference manual in several
# languages (real HTML), under names in Cyrillic and Greek and in a folder
# so named, in the order the environment's LANG chooses, which Wine hands to
# the Windows program as it is.
#
# Usage: wine-indexer.sh ZIP [LINUX_BUILD]   (the zip of package-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
package=$(realpath "$1")
linux_build=$(realpath "${2:-build}")
wine_test="wine indexer"
source scripts/wine-prefix.sh
wine_prefix_start
unzip -q "$package" -d "$wine_tmp/unpacked" || wine_fail "cannot unpack $package"
win="$wine_tmp/unpacked/$(basename "$package" .zip)"
for f in "$win/velmor_01_209.exe" "$linux_build/velmor_01_209.exe"; do
  [ -f "$f" ] || wine_fail "missing $f"
done
# No browser is opened at the end: Wine would hand the index to a Linux one.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winebrowser.exe="

# Indexes folder/IN into folder/linux and folder/windows, then compares.
# Further arguments go to both indexers.
index_both() {
  local dir=$1 in=$2
  shift 2
  local status=0 start=$SECONDS
  (cd "$dir" && env -u DISPLAY -u WAYLAND_DISPLAY "$linux_build/velmor_01_209.exe" "$@" "$in" linux \
    >linux.out 2>linux.err) || status=$?
  [ "$status" = 0 ] || { cat "$dir/linux.err" >&2; wine_fail "the Linux indexer ended with status $status on $dir"; }
  local linux_time=$((SECONDS - start))
  start=$SECONDS
  (cd "$dir" && timeout 600 wine "$win/velmor_01_209.exe" "$@" "$in" windows >windows.out 2>windows.err) || status=$?
  [ "$status" = 0 ] || { cat "$dir/windows.out" "$dir/windows.err" >&2; wine_fail "the Windows indexer ended with status $status on $dir"; }
  echo "$wine_test: $(basename "$dir"): $(grep -a '^indexed' "$dir/linux.out") (Linux ${linux_time} s, Wine $((SECONDS - start)) s)"
  # The index marker names the folder it was written as; all else is equal.
  [ "$(cat "$dir/windows/.velmor_index")" = "velmor index: windows" ] || wine_fail "the Windows index's marker"
  rm "$dir/linux/.velmor_index" "$dir/windows/.velmor_index"
  diff -r "$dir/linux" "$dir/windows" >"$dir/site.diff" 2>&1 ||
    { head -40 "$dir/site.diff" >&2; wine_fail "the Windows site differs from the Linux one on $dir"; }
  [ -f "$dir/windows/index.htm" ] || wine_fail "no index.htm on $dir"
  echo "$wine_test: $(basename "$dir"): the two sites are the same, $(find "$dir/windows" -type f | wc -l) files"
}

browser="$wine_tmp/browser"
node indexer/testing/browser/corpus.mjs "$browser/htm_in" >/dev/null
index_both "$browser" htm_in --locale sl

real="$wine_tmp/real"
in="$real/страницы σελίδες"
mkdir -p "$in"
cp packaging/sample/*.htm "$in/"
cp "packaging/sample/Der alte Bahnhof.htm" "$in/Вокзал Σταθμός.htm"
manuals=0
for lang in de fr it es ja pt zh-cn; do
  for html in /usr/share/debian-reference/*."$lang".html; do
    [ -f "$html" ] || continue
    cp "$html" "$in/$(basename "$html" .html).htm"
    manuals=$((manuals + 1))
  done
done
echo "$wine_test: real pages: $(ls "$in" | wc -l), of them $manuals from Debian's reference manual"
LANG=de_DE.UTF-8 index_both "$real" "$(basename "$in")"

# The browser test on the site the Windows build writes.
VELMOR_RUNNER=wine node indexer/testing/browser/site_test.mjs "$win" "$wine_tmp/shots" >"$wine_tmp/browser.log" 2>&1 ||
  { tail -40 "$wine_tmp/browser.log" >&2; wine_fail "the browser test failed on the Windows build's site"; }
echo "$wine_test: the browser test passed on the Windows build's site"
