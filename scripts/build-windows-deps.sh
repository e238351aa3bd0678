#!/usr/bin/env bash
# Builds ICU and libxml2 for 64-bit Windows (MinGW-w64) from Debian's source
# packages, of the same versions the Linux build uses, into one prefix:
# include/ and lib/ (static libraries: ICU's code and its data, libxml2; and
# pkg-config files). Debian packages no MinGW build of either.
#
#   prefix=$(scripts/build-windows-deps.sh | tail -1)
#
# The prefix is cached outside the clone, keyed by both versions and by a hash
# of this script and the ICU data filter:
#   ${KORVEL_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/korvel-deps}/win64-<key>
# A cached prefix is only printed. A build happens in a work folder beside it
# and is renamed into place when complete, so a killed build leaves nothing
# that passes for a whole prefix. Progress goes to stderr, each step's output
# to a log; stdout carries only the prefix.
#
# ICU's data (31 MB whole) is cut to what the indexer uses by
# scripts/icu-data-filter.json, read in ICU's filter format. Debian's ICU
# source carries the data only as the prebuilt archive data/in/icudt72l.dat
# (no CLDR text for ICU's buildtool to filter), so the filter is applied item
# by item to that archive with icupkg before the cross build packs it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
filter=$here/icu-data-filter.json
host=x86_64-w64-mingw32
# ICU needs std::mutex, which the win32 thread model of MinGW's gcc lacks.
cc=$host-gcc-posix
cxx=$host-g++-posix
jobs=2

say() { echo "build-windows-deps: $*" >&2; }
die() { say "error: $*"; exit 1; }

for tool in apt-get dpkg-source dpkg-query make "$cc" "$cxx" "$host-strip" "$host-objdump" /usr/bin/python3; do
  command -v "$tool" >/dev/null 2>&1 ||
    die "$tool is missing (scripts/install-test-deps.sh installs what this needs)"
done

# The source package and version the Linux build compiles against.
source_of() {
  dpkg-query -W -f='${source:Package} ${source:Version}' "$1" 2>/dev/null ||
    die "$1 is not installed: the Windows build takes its version from the Linux one"
}
icu=$(source_of libicu-dev)
xml=$(source_of libxml2)
read -r icu_package icu_version <<<"$icu"
read -r xml_package xml_version <<<"$xml"

hash=$(cat "$0" "$filter" | sha256sum | cut -c1-12)
key=$(printf 'icu-%s-libxml2-%s-%s' "$icu_version" "$xml_version" "$hash" | tr -c 'A-Za-z0-9.\n-' '_')
cache=${KORVEL_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/korvel-deps}
prefix=$cache/win64-$key
if [ -d "$prefix" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
# Work folders of builds killed more than a day ago.
find "$cache" -maxdepth 1 -name '.work-*' -mmin +1440 -exec rm -rf {} + 2>/dev/null || true
work=$(mktemp -d "$cache/.work-XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP  # so that the EXIT trap runs
logs=$work/logs
stage=$work/stage  # installs go to $stage$prefix, so files name the final prefix
mkdir -p "$logs"
say "building $prefix"
say "work folder $work"

# step NAME COMMAND...: runs COMMAND with its output in logs/NAME.log, says
# how long it took, and on failure shows the log's end.
step() {
  local name=$1 start=$SECONDS
  shift
  say "$name ..."
  if ! "$@" >"$logs/$name.log" 2>&1; then
    say "$name failed; the end of $logs/$name.log:"
    tail -n 40 "$logs/$name.log" >&2
    exit 1
  fi
  say "$name: $((SECONDS - start)) s"
}

# --- Fetch: apt's own source client, on a private deb-src list naming the
# machine's mirrors and suites; the system's package lists stay untouched.
apt_dir=$work/apt
fetch_sources() {
  mkdir -p "$apt_dir/sources.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$work/src"
  : >"$apt_dir/empty.list"
  local f found=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.d/$(basename "$f")"
    found=1
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$f" ] || continue
    sed -nE 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >"$apt_dir/sources.d/$(basename "$f")"
    found=1
  done
  [ "$found" = 1 ] || { echo "no Debian sources list in /etc/apt"; return 1; }
  local -a apt=(apt-get -q
    -o "Dir::Etc::SourceParts=$apt_dir/sources.d" -o "Dir::Etc::SourceList=$apt_dir/empty.list"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
  # As root apt would hand the download to user _apt, who may not enter the
  # private work folder.
  [ "$(id -u)" -ne 0 ] || apt+=(-o APT::Sandbox::User=root)
  "${apt[@]}" update
  # Naming the version makes apt refuse, clearly, when the mirror serves
  # another one than the Linux build uses.
  (cd "$work/src" && "${apt[@]}" source --download-only \
    "$icu_package=$icu_version" "$xml_package=$xml_version")
  (cd "$work/src" &&
    dpkg-source -x "${icu_package}_${icu_version#*:}.dsc" icu &&
    dpkg-source -x "${xml_package}_${xml_version#*:}.dsc" libxml2)
  rm -f "$work/src"/*.tar.* "$work/src"/*.dsc "$work/src"/*.asc
}
step fetch fetch_sources
icu_src=$work/src/icu/source
xml_src=$work/src/libxml2

# --- ICU, natively: the cross build runs its tools (icupkg, pkgdata) from
# here. Its data library is never used (the tools run on the stub), so the
# data folder is left out: it would pack all 31 MB for nothing. -O1: these
# tools only copy data, and the build is the script's longest wait after
# the cross build.
native=$work/icu-native
native_icu() {
  mkdir -p "$native" && cd "$native" &&
    "$icu_src/configure" --disable-tests --disable-samples --disable-extras --disable-icuio \
      CFLAGS=-O1 CXXFLAGS=-O1 &&
    make -j"$jobs" DATASUBDIR=
}
step icu-native native_icu

# --- The data filter, applied to the prebuilt archive.
archive=$(ls "$icu_src"/data/in/icudt*l.dat)
filter_data() {
  # The package keeps its file name: icupkg names the items inside after it,
  # and the cross build unpacks only items named icudt72l/...
  local filtered=$work/filtered/${archive##*/}
  LD_LIBRARY_PATH=$native/lib:$native/stubdata "$native/bin/icupkg" -l "$archive" -o "$work/items.txt" &&
    PYTHONPATH=$icu_src/python /usr/bin/python3 - "$filter" "$work/items.txt" >"$work/drop.txt" <<'PY' &&
# Applies an ICU data filter file (featureFilters only) to the item names of
# a prebuilt ICU data archive; prints the items to drop.
import json, os, re, sys
from icutools.databuilder.comment_stripper import CommentStripper
from icutools.databuilder.filtration import Filter
from icutools.databuilder.request_types import InFile

TREES = {"brkitr", "coll", "curr", "lang", "rbnf", "region", "unit", "zone"}
LOCALE = re.compile(r"^(root|[a-z]{2,3}(_[A-Za-z0-9]*)*)$")

def category(item):
    """ICU's buildtool category of an archive item, or None."""
    folder, _, base = item.rpartition("/")
    stem, ext = os.path.splitext(base)
    if not folder:
        if ext == ".cnv": return "conversion_mappings"
        if ext == ".spp": return "stringprep"
        if ext == ".nrm": return "normalization"
        if base == "cnvalias.icu": return "cnvalias"
        if base == "unames.icu": return "unames"
        if base in ("uemoji.icu", "ulayout.icu"): return stem
        if base in ("pnames.icu", "uprops.icu", "ucase.icu", "ubidi.icu"): return "unicore"
        if ext == ".cfu": return "confusables"
        if ext == ".res":
            return "locales_tree" if stem in ("pool", "res_index") or LOCALE.match(stem) else "misc"
        return None
    if item == "coll/ucadata.icu": return "coll_ucadata"
    if item == "curr/supplementalData.res": return "curr_supplemental"
    if item == "zone/tzdbNames.res": return "zone_supplemental"
    if folder == "translit" and ext == ".res": return "translit"
    if folder == "brkitr":
        if ext == ".brk": return "brkitr_rules"
        if ext == ".dict": return "brkitr_dictionaries"
        if ext == ".res" and "_model" in stem: return "brkitr_lstm"
    if folder in TREES and ext == ".res": return folder + "_tree"
    return None

with open(sys.argv[1], encoding="utf-8") as f:
    config = json.load(CommentStripper(f))
unsupported = set(config) - {"strategy", "featureFilters"}
if unsupported:
    sys.exit("filter: %s need ICU's text data, which Debian's source lacks" % ", ".join(sorted(unsupported)))
default = "exclude" if config.get("strategy", "subtractive") == "additive" else "include"
features = config.get("featureFilters", {})

items = open(sys.argv[2], encoding="utf-8").read().split()
cats = {}
for item in items:
    c = category(item)
    if c is None:
        sys.exit("filter: archive item %s is of no known category" % item)
    cats[item] = c
unknown = set(features) - set(cats.values())
if unknown:
    sys.exit("filter: no archive item is of category %s" % ", ".join(sorted(unknown)))

io = object()  # only "locale" filters read it, and those need the text data
rules = {c: features.get(c, "exclude" if c == "brkitr_lstm" else default) for c in set(cats.values())}
rules = {c: r if r in ("include", "exclude") else Filter.create_from_json(r, io) for c, r in rules.items()}

def shared(item):
    return cats[item].endswith("_tree") and os.path.basename(item) in ("pool.res", "res_index.res")

keep = {}
for item, c in cats.items():
    if shared(item): continue
    r = rules[c]
    folder, _, base = item.rpartition("/")
    if c == "locales_tree": folder = "locales"
    keep[item] = r == "include" or (r != "exclude" and r.match(InFile(folder + "/" + os.path.splitext(base)[0] + ".txt")))
# A tree's pool and index bundles stay while any bundle of the tree does.
kept_cats = {cats[i] for i, k in keep.items() if k}
for item in items:
    if shared(item): keep[item] = cats[item] in kept_cats

for c in sorted(set(cats.values())):
    mine = [i for i in items if cats[i] == c]
    print("%-22s %4d of %4d kept" % (c, sum(keep[i] for i in mine), len(mine)), file=sys.stderr)
for item in items:
    if not keep[item]: print(item)
PY
    mkdir -p "$work/filtered" &&
    LD_LIBRARY_PATH=$native/lib:$native/stubdata "$native/bin/icupkg" -r "$work/drop.txt" "$archive" "$filtered" &&
    ls -l "$archive" "$filtered" &&
    mv "$filtered" "$archive"
}
step icu-data-filter filter_data
cat "$logs/icu-data-filter.log" >&2

# --- ICU for Windows, static, its data packed into a static library too:
# korvel copies the indexer alone into velmor\ and starts it there, where no
# DLL beside it would be found, so the indexer must be one self-contained
# program.
cross=$work/icu-win
cross_icu() {
  mkdir -p "$cross" && cd "$cross" &&
    "$icu_src/configure" --host="$host" --with-cross-build="$native" --prefix="$prefix" \
      --disable-tests --disable-samples --disable-extras --disable-icuio \
      --enable-static --disable-shared --with-data-packaging=static \
      CC="$cc" CXX="$cxx" CFLAGS="-O2" CXXFLAGS="-O2" &&
    # Only the libraries and the data: ICU's Windows tools would link the
    # static libraries by their shared names and fail, and the data is
    # packed with the native build's tools anyway.
    local dir &&
    mkdir -p lib bin &&
    for dir in stubdata common i18n data; do make -j"$jobs" -C "$dir" || return 1; done &&
    for dir in common i18n; do make -C "$dir" install DESTDIR="$stage" || return 1; done &&
    # The data's own install puts its archive where Windows keeps DLLs, as
    # bin/sicudt.a; the linker looks for lib/libsicudt.a.
    install -m 644 lib/sicudt.a "$stage$prefix/lib/libsicudt.a"
}
step icu-cross cross_icu

# --- libxml2 for Windows, static: the indexer needs only the HTML push
# parser, so linking picks those objects out of a 1 MB archive instead of
# shipping a DLL. No iconv (input is UTF-8, which libxml2 decodes itself), no
# zlib, lzma, network, catalogs, Python or ICU.
xml_build=$work/libxml2-win
cross_libxml2() {
  # Debian's patches touch configure.ac and Makefile.am (tests and docs
  # only); newer generated files keep make from rerunning autotools.
  (cd "$xml_src" && touch aclocal.m4 && touch configure &&
    find . -name Makefile.in -exec touch {} + && touch config.h.in) &&
    mkdir -p "$xml_build" && cd "$xml_build" &&
    "$xml_src/configure" --host="$host" --prefix="$prefix" --disable-shared --enable-static \
      --with-minimum --with-html --with-push --with-tree --with-threads \
      --without-iconv --without-zlib --without-lzma --without-python --without-ftp \
      --without-http --without-icu CC="$cc" CFLAGS="-O2" &&
    make -j"$jobs" &&
    make install DESTDIR="$stage"
}
step libxml2-cross cross_libxml2

# --- Trim the prefix to what building against it needs: no tools, man
# pages, docs or libtool archives.
out=$stage$prefix
finish() {
  rm -rf "$out/sbin" "$out/share/man" "$out/share/doc" "$out/share/gtk-doc" "$out/lib/libxml2.la" \
    "$out/lib/xml2Conf.sh" "$out"/bin/icutu*.dll "$out"/lib/libicutu* "$out"/bin/icutest*.dll \
    "$out"/lib/libicutest*
  rm -rf "$out/bin"
  local lib
  for lib in sicuuc sicuin sicudt; do
    [ -f "$out/lib/lib$lib.a" ] || { echo "no lib$lib.a"; return 1; }
  done
  printf 'icu %s\nlibxml2 %s\nkey %s\n' "$icu_version" "$xml_version" "$key" >"$out/VERSIONS"
}
step finish finish
ls -l "$out/lib" >&2
say "prefix: $(du -sh "$out" | cut -f1)"

say "disk used by the work folder at its peak: $(du -sh "$work" | cut -f1)"
if ! mv -T "$out" "$prefix" 2>/dev/null; then
  [ -d "$prefix" ] || die "cannot move the build to $prefix"
  say "another build finished first; using its prefix"
fi
echo "$prefix"
