#!/usr/bin/env bash
# Installs what the build and tests need on a fresh Debian machine (as root), idempotently:
# packages, the jsoncpp sources (built later by CMake with the cross toolchain), and a private Wine prefix.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ $# -eq 0 ] || die "setup.sh takes no arguments"

install_packages() {
    local missing
    missing="$(missing_packages)"
    [ -z "$missing" ] && return 0
    [ "$(id -u)" -eq 0 ] || die "packages missing ($missing); run this script as root"
    echo "setup: installing $(echo $missing | tr '\n' ' ')"
    apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
}

enable_source_packages() {
    grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && return 0
    grep -qs '^deb-src' /etc/apt/sources.list 2>/dev/null && return 0
    [ "$(id -u)" -eq 0 ] || die "source packages are not enabled; run this script as root"
    local src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src" ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$src" > /etc/apt/sources.list.d/pellar-src.sources
    else
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/pellar-src.list
    fi
    apt-get update -qq
}

fetch_jsoncpp() {
    local dir="$CACHE_DIR/jsoncpp"
    [ -f "$dir/src/include/json/json.h" ] && return 0
    enable_source_packages
    rm -rf "$dir" && mkdir -p "$dir/dl" && chmod 777 "$dir/dl"
    (cd "$dir/dl" && apt-get source --download-only -qq libjsoncpp)
    local orig
    orig="$(ls "$dir"/dl/libjsoncpp_*.orig.tar.* | head -n1)"
    [ -n "$orig" ] || die "jsoncpp source archive not found"
    mkdir -p "$dir/src"
    tar -xf "$orig" -C "$dir/src" --strip-components=1
    [ -f "$dir/src/include/json/json.h" ] || die "jsoncpp sources incomplete"
}

prepare_wine() {
    [ -f "$WINEPREFIX/.pellar-ready" ] && return 0
    mkdir -p "$WINEPREFIX"
    echo "setup: creating the Wine prefix in $WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    local f
    for f in "Microsoft Sans Serif" "Tahoma" "Arial" "MS Shell Dlg" "MS Shell Dlg 2"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
    done
    for f in "SimSun" "宋体" "Microsoft YaHei" "微软雅黑"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /t REG_SZ /d "WenQuanYi Zen Hei" /f >/dev/null 2>&1
    done
    wineserver -k || true
    wineserver -w || true
    touch "$WINEPREFIX/.pellar-ready"
}

# Without a window manager (Xvfb), Wine waits 2 s for one at every hide or destruction of a window it
# lets a window manager handle; windows that no window manager handles are unmapped at once.
unmanaged_windows() {
    [ -f "$WINEPREFIX/.pellar-unmanaged" ] && return 0
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -k || true
    wineserver -w || true
    touch "$WINEPREFIX/.pellar-unmanaged"
}

install_packages
fetch_jsoncpp
prepare_wine
unmanaged_windows
echo "setup: done"
