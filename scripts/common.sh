# Shared settings for the project's scripts; sourced, not run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
CACHE_DIR="$ROOT/.cache"
export WINEPREFIX="$BUILD_ROOT/wine"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# The players run Chinese Windows: Wine programs run with this locale so that every ANSI conversion meets
# a double-byte code page (936). Only Wine reads it; no such Unix locale needs to be installed.
WINE_LOCALE=zh_CN.UTF-8
wine_env() { env LC_ALL="$WINE_LOCALE" "$@"; }

PACKAGES=(cmake make mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xauth
          googletest fonts-liberation2 fonts-wqy-zenhei imagemagick python3 curl clang-format)

die() { echo "error: $*" >&2; exit 1; }

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

# True when everything the build and tests need is in place.
setup_done() {
    [ -z "$(missing_packages)" ] && [ -f "$CACHE_DIR/jsoncpp/src/include/json/json.h" ] &&
        [ -f "$WINEPREFIX/.pellar-ready" ] && [ -f "$WINEPREFIX/.pellar-unmanaged" ]
}
