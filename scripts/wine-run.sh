#!/usr/bin/env bash
# Runs a whole run of the Windows build under Wine, keys piped in, and holds
# it against the Linux build's run on the same documents in a twin folder:
# the console transcript line for line, the documents, file lists and pages
# byte for byte, and what the indexer korvel started leaves in velmor.
#
# Usage: wine-run.sh [WIN_BUILD] [LINUX_BUILD] [ZIP]
# Given the zip of scripts/package-windows.sh, the run is made in the folder
# unpacked from it, as a user gets it, with only wget.exe added, and the
# zip's own indexer must write velmor/htm_out, the same index as the Linux
# indexer writes in the twin; before that, convertcp.exe there must name the
# zip's version, and a run in a copy without the indexer must stop at the
# tool check. The Linux twin starts from a copy of that folder. Without a
# zip, WIN_BUILD's korvel.exe runs in a folder laid out here, with the test
# indexer, which leaves a list of what it found.
#
# Wine's own find refuses every switch, its findstr prints nothing and it has
# no sort, so the test-only stand-ins from build-win/wine-tools come first on
# WINEPATH. The run gets COPYCMD=/-Y and DIRCMD=/S in its environment: korvel
# must override both, or a renaming copy waits for an answer and the bare
# listings come back as full paths.
#
# Differences the comparison allows, each harmless:
# - the first line, chcp's report: Wine's chcp says "Active code page: 0"
#   when its output is not a console; nothing reads it back;
# - "        1 file(s) copied." after the indexer's name: Wine's copy prints
#   no count; the line is the copy's own output, not korvel's;
# - scratch files not compared: check_01.txt and check_02.txt (full listings
#   with dates, sizes and volume lines; only their line counts matter),
#   dir_01.txt and dir_cur.txt (Wine's "*." matches every name, not just
#   names without an extension; korvel looks in them only for a line that is
#   exactly a folder's name, and no file here is named like a folder), and
#   the discard files out_null.*, never read;
# - standard error is shown on failure but not compared: it holds cmd's own
#   complaints (a missing htm_out, an existing htm_in), worded by Wine's cmd
#   on one side and by korvel's interpreter on the other, and Wine's notes.
set -euo pipefail
cd "$(dirname "$0")/.."
win_build=$(realpath "${1:-build-win}")
linux_build=$(realpath "${2:-build}")
package=${3:+$(realpath "$3")}
wine_test="wine whole run"
source scripts/wine-prefix.sh

for f in "$win_build/korvel.exe" "$win_build/wine-tools/find.exe" "$win_build/wine-tools/findstr.exe" \
         "$win_build/wine-tools/sort.exe" "$win_build/wine-tools/fake_indexer.exe" \
         "$linux_build/korvel" "$linux_build/testing/fake_indexer"; do
  [ -f "$f" ] || wine_fail "missing $f (build both first)"
done
wine_prefix_start

# Keys: the three start-up menus, "2" (go on) at the same-name menu for
# report.txt and report.htm, "1" at the indexing menu, any key at the end.
keys='111211x'
indexer=velmor_01_209.exe

lay_out() {  # folder, indexer program ("" for the one already there)
  mkdir -p "$1/txt_in"
  [ -e "$1/convertcp.exe" ] || printf 'convertcp stand-in\r\n' >"$1/convertcp.exe"
  printf 'wget stand-in\r\n' >"$1/wget.exe"
  [ -z "$2" ] || cp "$2" "$1/$indexer"
  printf 'Field notes, first line.\r\nA <tag> & "quote" caf\xc3\xa9  \r\n' >"$1/txt_in/Field Notes.TXT"
  printf '<html><head><title>A</title></head><body>An HTML document.</body></html>\r\n' >"$1/txt_in/a.htm"
  printf 'plain\nno final line end' >"$1/txt_in/plain.txt"
  printf 'report text\r\n' >"$1/txt_in/report.txt"
  printf '<html><body>report</body></html>\r\n' >"$1/txt_in/report.htm"
  # Left by an earlier run: the renaming copy must replace it without asking.
  printf 'stale copy from an earlier run\r\n' >"$1/Field_Notes.TXT"
  # ... and recorded as one korvel put there, so the move may replace it.
  printf 'field_notes.txt\r\n' >"$1/moved_files.list"
}

win="$wine_tmp/win" lin="$wine_tmp/linux"
if [ -n "$package" ]; then
  top=$(basename "$package" .zip)
  unzip -q "$package" -d "$wine_tmp/unpacked" || wine_fail "cannot unpack $package"
  win="$wine_tmp/unpacked/$top"
  [ -f "$win/korvel.exe" ] || wine_fail "$package holds no $top/korvel.exe"
  mkdir "$lin"
  cp -r "$win/." "$lin/"
  rm "$lin/korvel.exe"
  version=${top#korvel-}
  version=${version%-win64}
  said=$(cd "$win" && timeout 60 wine convertcp.exe --version 2>"$wine_tmp/version.err" | tr -d '\r') || true
  [ "$said" = "convertcp.exe $version (Windows code pages)" ] ||
    { cat "$wine_tmp/version.err" >&2; wine_fail "convertcp.exe --version of $top says \"$said\""; }
  # Without its indexer a run stops at the tool check and leaves the
  # documents where they are.
  bare="$wine_tmp/no-indexer"
  cp -r "$win" "$bare"
  rm -f "$bare/$indexer"
  printf 'a document\r\n' >"$bare/txt_in/doc.txt"
  (cd "$bare" && printf '1111' | WINEPATH="$(wine_path "$win_build/wine-tools")" \
    timeout 90 wine korvel.exe >"$wine_tmp/bare.out" 2>"$wine_tmp/bare.err") || true
  tail -n 3 "$wine_tmp/bare.out" | tr -d '\r' >"$wine_tmp/bare.end"
  printf '%s\n' "Checking for velmor*.exe" "Check the contents of the velmor.7z file." "<1> = continue and end" |
    diff - "$wine_tmp/bare.end" >&2 || wine_fail "without an indexer the unpacked folder's run does not stop at its check"
  [ "$(ls "$bare/txt_in")" = doc.txt ] && [ ! -e "$bare/doc.txt" ] ||
    wine_fail "without an indexer the run touched the documents"
  echo "$wine_test: running $top unpacked"
else
  mkdir "$win"
  cp "$win_build/korvel.exe" "$win/"
fi
# A zip's own indexer; the test-only one with a bare build folder.
real_indexer=""
if [ -n "$package" ]; then
  [ -f "$win/$indexer" ] || wine_fail "$package holds no $top/$indexer"
  real_indexer=1
fi
if [ -n "$real_indexer" ]; then
  lay_out "$win" ""
  lay_out "$lin" "$linux_build/$indexer"
else
  lay_out "$win" "$win_build/wine-tools/fake_indexer.exe"
  lay_out "$lin" "$linux_build/testing/fake_indexer"
fi
invoked=$(wine_path "$win/korvel.exe")

# The Linux run shows the same invocation path, so that line compares too.
status=0
(cd "$lin" && printf '%s' "$keys" | env -u DISPLAY -u WAYLAND_DISPLAY LANG=C.UTF-8 \
  timeout 60 bash -c 'exec -a "$0" "$1"' "$invoked" "$linux_build/korvel" \
  >"$wine_tmp/linux.out" 2>"$wine_tmp/linux.err") || status=$?
[ "$status" = 0 ] || wine_fail "the Linux run ended with status $status"

start=$SECONDS
status=0
# The same alphabetical order as the Linux twin's (C: the root order), and
# no browser opened at the end.
(cd "$win" && printf '%s' "$keys" | COPYCMD=/-Y DIRCMD=/S WINEPATH="$(wine_path "$win_build/wine-tools")" \
  LANG=C.UTF-8 WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winebrowser.exe=" \
  timeout 90 wine korvel.exe >"$wine_tmp/win.out" 2>"$wine_tmp/win.err") || status=$?
echo "$wine_test: the run under Wine took $((SECONDS - start)) s"
if [ "$status" != 0 ]; then
  echo "--- last lines of the Wine run's console output:" >&2
  tail -c 3000 "$wine_tmp/win.out" >&2
  echo "--- its error output:" >&2
  grep -av 'Read access denied for device' "$wine_tmp/win.err" | head -40 >&2 || true
  [ "$status" = 124 ] && wine_fail "the Wine run did not end within 90 s (a command waiting for input?)"
  wine_fail "the Wine run ended with status $status"
fi

# Transcripts, with the two allowed differences taken out.
sed '1s/^Active code page: [0-9]*\r$/Active code page: (any)\r/' "$wine_tmp/linux.out" |
  sed "/^$indexer\r\$/{n;/^        1 file(s) copied\.\r\$/d}" >"$wine_tmp/linux.cmp"
sed '1s/^Active code page: 0\r$/Active code page: (any)\r/' "$wine_tmp/win.out" >"$wine_tmp/win.cmp"
if ! cmp -s "$wine_tmp/linux.cmp" "$wine_tmp/win.cmp"; then
  diff -a -u "$wine_tmp/linux.cmp" "$wine_tmp/win.cmp" | head -60 >&2 || true
  wine_fail "the transcripts differ (- Linux, + Wine)"
fi
grep -q $'^<...> any key to continue and end\r$' "$wine_tmp/win.out" || wine_fail "the run did not reach its end"

# Documents, file lists and pages, byte for byte.
for d in txt_in txt_wrk htm_wrk htm_in velmor/htm_in; do
  diff -r "$lin/$d" "$win/$d" >&2 || wine_fail "$d differs between the Linux and the Wine run"
done
for f in "Field Notes.TXT" Field_Notes.TXT a.htm plain.txt report.txt report.htm \
         txt_file.txt txt_file.list txt_in.list compare_01.txt compare_02.txt compare_04.txt \
         txt_wrk.list htm_wrk.list exe_files.txt velmor/wget.exe; do
  cmp "$lin/$f" "$win/$f" >&2 || wine_fail "$f differs between the Linux and the Wine run"
done
cmp "$win/$indexer" "$win/velmor/$indexer" >&2 || wine_fail "the indexer was not staged in velmor"
[ "$(ls "$win/htm_wrk" | wc -l)" = 4 ] || wine_fail "htm_wrk does not hold the four pages"

if [ -n "$real_indexer" ]; then
  # korvel starts the indexer and does not wait for it: its index is done
  # when the folder stands and the lock beside it is gone.
  for lin_or_win in "$lin" "$win"; do
    for _ in $(seq 1200); do
      [ -f "$lin_or_win/velmor/htm_out/index.htm" ] && [ ! -e "$lin_or_win/velmor/htm_out.lock" ] && break
      sleep 0.1
    done
    [ -f "$lin_or_win/velmor/htm_out/index.htm" ] || wine_fail "no index in $lin_or_win/velmor/htm_out"
  done
  diff -r "$lin/velmor/htm_out" "$win/velmor/htm_out" >&2 ||
    wine_fail "the index korvel.exe's indexer wrote differs from the Linux one"
  echo "$wine_test: the zip's indexer wrote velmor/htm_out, $(find "$win/velmor/htm_out" -type f | wc -l) files, as on Linux"
else
  # The test indexer, started with velmor as its folder, lists the pages it found.
  for _ in $(seq 200); do [ -f "$win/velmor/fake_indexer.log" ] && break; sleep 0.1; done
  [ -f "$win/velmor/fake_indexer.log" ] || wine_fail "the indexer left no mark in velmor"
  expected="$(wine_path "$win/velmor")"$'\n'"$(ls "$win/velmor/htm_in" | LC_ALL=C sort)"
  if [ "$(cat "$win/velmor/fake_indexer.log")" != "$expected" ]; then
    printf -- '--- expected:\n%s\n--- found:\n' "$expected" >&2
    cat "$win/velmor/fake_indexer.log" >&2
    wine_fail "the indexer's mark in velmor is wrong"
  fi
fi
echo "$wine_test: passed"
