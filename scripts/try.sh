#!/usr/bin/env bash
# Builds korvel, convertcp.exe and the indexer, lays out demo/ as a working
# folder with `cmake --install`, fills its txt_in and starts korvel there.
#
#   scripts/try.sh             the sample documents of packaging/sample
#   scripts/try.sh ~/my-docs   copies of the *.txt and *.htm files of a folder
#                              of yours (never moved, never changed); text in
#                              another code page is converted to UTF-8 first
#
# Press 1 at each menu; the index appears in demo/velmor/htm_out.
set -euo pipefail
cd "$(dirname "$0")/.."
docs=${1:-packaging/sample}
if [ ! -d "$docs" ]; then
  echo "try.sh: $docs is not a folder" >&2
  exit 2
fi

# A build folder of its own: no test tools needed, and check.sh's stays as it is.
echo "== building korvel, convertcp.exe and the indexer (build-run/)"
cmake -S . -B build-run -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release
cmake --build build-run -j"${JOBS:-2}"

echo "== laying out the working folder demo/"
rm -rf demo
cmake --install build-run --prefix demo
if [ ! -e demo/velmor_01_209.exe ]; then
  echo "try.sh: this checkout builds no indexer (velmor_01_209.exe); korvel will stop at its check" >&2
fi

echo "== copying the documents of $docs into demo/txt_in"
found=0
while IFS= read -r -d '' file; do
  name=$(basename "$file")
  case "${name,,}" in
    *.txt)
      # UTF-8 stays as it is; for anything else convertcp says what it found.
      if ! demo/convertcp.exe utf-8 utf-8 "$file" "demo/txt_in/$name" 2>/dev/null &&
         ! demo/convertcp.exe auto utf-8 "$file" "demo/txt_in/$name"; then
        echo "try.sh: $name copied unconverted" >&2
        cp -- "$file" "demo/txt_in/$name"
      fi ;;
    *) cp -- "$file" "demo/txt_in/$name" ;;
  esac
  found=$((found + 1))
done < <(find "$docs" -maxdepth 1 -type f \( -iname '*.txt' -o -iname '*.htm' -o -iname '*.html' \) -print0 | sort -z)
echo "$found documents in demo/txt_in"
if [ "$found" -eq 0 ]; then
  echo "try.sh: $docs holds no *.txt or *.htm file (subfolders are not searched)" >&2
  exit 2
fi

echo "== starting korvel in demo/"
cd demo
exec ./korvel
