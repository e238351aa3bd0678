# Sourced by the wine-*.sh tests: a throw-away Wine prefix in a temporary
# folder, booted once, removed with its wineserver when the test ends.
# Sets $wine_tmp, a temporary folder for the test's own files too.

wine_fail() {
  echo "$wine_test: FAILED: $*" >&2
  exit 1
}

wine_prefix_end() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then timeout 30 wineserver -k >/dev/null 2>&1 || true; fi
  rm -rf "$wine_tmp"
}

wine_prefix_start() {
  command -v wine >/dev/null || wine_fail "wine is not installed"
  wine_tmp=$(mktemp -d "${TMPDIR:-/tmp}/korvel-wine-XXXXXX")
  trap wine_prefix_end EXIT
  export WINEPREFIX="$wine_tmp/prefix" WINEDEBUG=-all
  # No Mono or Gecko installers at boot, no windows: nothing may wait for a click.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  local start=$SECONDS
  timeout 240 wineboot -i >"$wine_tmp/wineboot.log" 2>&1 ||
    { tail -20 "$wine_tmp/wineboot.log" >&2; wine_fail "wineboot did not finish within 240 s"; }
  timeout 60 wineserver -w || true
  echo "$wine_test: wine prefix booted in $((SECONDS - start)) s"
}

# The Windows form of a Linux path, as Wine shows it (drive Z: is /).
wine_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }
