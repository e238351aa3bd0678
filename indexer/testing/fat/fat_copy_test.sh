#!/usr/bin/env bash
# The site copies whole to a FAT32 stick and back: every file under its own
# name, none renamed, mangled to 8.3 or lost to a name the disk refuses or
# folds into another. mtools writes into a disk image (no mount, no loop
# device). 130 documents at 50 files a folder (VELMOR_FOLDER_FILES) give
# the split a big corpus gets: text/000..002.
#   fat_copy_test.sh INDEXER [KEEP_DIR]
# With KEEP_DIR the copied-back site is left there, for a browser to walk.
set -euo pipefail
indexer=$(realpath "$1")
keep=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MTOOLS_SKIP_CHECK=1  # an image made here is no floppy to check

mkdir "$work/htm_in"
scripts=(Straße čas δρόμος дорога 東京 ᏣᎳᎩ)
for ((d = 1; d <= 130; d++)); do
  s=${scripts[d % ${#scripts[@]}]}
  printf '<!DOCTYPE html><html><head><meta charset="utf-8"><title>%s %d: CON <a|b> "x"? *</title></head>' "$s" "$d" \
    > "$work/htm_in/doc_$d.htm"
  printf '<body><p>%s w%dx w%dy, aux.txt con nul. lpt1 com9</p></body></html>\n' "$s" "$d" "$d" \
    >> "$work/htm_in/doc_$d.htm"
done
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY VELMOR_FOLDER_FILES=50 "$indexer" htm_in htm_out > log 2>&1) ||
  { cat "$work/log"; exit 1; }
site="$work/htm_out"
test -d "$site/text/002"

# 64 MB, FAT32 (-F 32 wants at least 65,525 clusters: 512-byte ones here).
mkfs.vfat -F 32 -S 512 -s 1 -n VELMOR -C "$work/stick.img" 65536 > /dev/null
# Copied in and back out as a reader's file manager would; anything mtools
# says, or a failure (a clash of two names in one folder), fails.
mcopy -s -i "$work/stick.img" "$site" :: < /dev/null 2> "$work/in.err"
mkdir "$work/back"
mcopy -s -i "$work/stick.img" ::htm_out "$work/back" < /dev/null 2> "$work/out.err"
if [ -s "$work/in.err" ] || [ -s "$work/out.err" ]; then
  echo "mcopy complained:"; cat "$work/in.err" "$work/out.err"; exit 1
fi
# File for file, name for name, byte for byte.
diff -r "$site" "$work/back/htm_out"
[ "$(find "$site" | wc -l)" -eq "$(find "$work/back/htm_out" | wc -l)" ]
# What mtools takes but Windows would not open (CON.htm becomes the
# console there) or a folder could not hold twice (Ab.htm beside ab.htm,
# which mcopy drops): names by FAT32's and exFAT's own rules.
bad=$(find "$site" -mindepth 1 -printf '%f\n' |
  grep -aE '[[:cntrl:]:*?"<>|\\]|[. ]$|^.{256,}$|^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\.|$)' -i || true)
[ -z "$bad" ] || { echo "names FAT32 or Windows refuse: $bad"; exit 1; }
twins=$(find "$site" -mindepth 1 -printf '%h/%f\n' | tr '[:upper:]' '[:lower:]' | sort | uniq -d)
[ -z "$twins" ] || { echo "names that differ only in case: $twins"; exit 1; }
files=$(find "$site" -type f | wc -l)
most=$(find "$site" -type d -exec sh -c 'ls -A "$1" | wc -l' _ {} \; | sort -n | tail -1)
[ -z "$keep" ] || { rm -rf "$keep"; cp -r "$work/back/htm_out" "$keep"; }
echo "the site's $files files copied to FAT32 and back unchanged; the fullest folder holds $most"
