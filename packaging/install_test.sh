#!/usr/bin/env bash
# Lays out a working folder with `cmake --install`, fills txt_in with the
# sample documents and runs korvel there twice, pressing 1 throughout: the
# console may show only the command interpreter's complaints that every run
# shows, and, when the indexer is built, the run ends in its index.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$(realpath "$2")
work=$(mktemp -d)
# The indexers the runs started work on after korvel ends; the folder goes
# only once no process works in it any more.
working_here() {
  for cwd in /proc/[0-9]*/cwd; do
    case "$(readlink "$cwd" 2>/dev/null)" in "$work"/*) return 0 ;; esac
  done
  return 1
}
cleanup() {
  cd /
  for _ in $(seq 600); do working_here || break; sleep 0.1; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/folder" > /dev/null
cd "$work/folder"
for name in korvel convertcp.exe README.txt; do [ -f "$name" ] || fail "no $name"; done
for name in txt_in htm_out; do [ -d "$name" ] && [ -z "$(ls -A "$name")" ] || fail "no empty $name"; done
cp "$source"/packaging/sample/* txt_in/
[ -e wget.exe ] || command -v wget > /dev/null || ln -s /bin/true wget.exe

run() { printf '11111 ' | env -u DISPLAY -u WAYLAND_DISPLAY ./korvel 2> "$work/err.txt" | tr -d '\r' > "$work/out.txt"; }
expect_complaints() {
  tr -d '\r' < "$work/err.txt" > "$work/err-lines.txt"
  printf '%s\n' "$@" | diff - "$work/err-lines.txt" || fail "unexpected complaints on run $run_number"
}
run_number=1
run
grep -q '^<...> any key to continue and end$' "$work/out.txt" || fail "the first run did not reach its end"
here=$(pwd)
expect_complaints "A subdirectory or file htm_in already exists." \
  "Could Not Find $here/htm_in/*.*" "Could Not Find $here/velmor/htm_in/*.*"
run_number=2
run
expect_complaints "A subdirectory or file htm_in already exists." "Could Not Find $here/htm_in/*.*" \
  "A subdirectory or file velmor already exists." "A subdirectory or file velmor\\htm_in already exists."
if [ -e velmor_01_209.exe ]; then
  for _ in $(seq 600); do [ -f velmor/htm_out/index.htm ] && break; sleep 0.1; done
  [ -f velmor/htm_out/index.htm ] || fail "no index in velmor/htm_out"
fi
echo "install test passed"
