#!/usr/bin/env bash
# Builds one or both targets: build.sh [x64|x86|all] (default x64). Runs the setup when needed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

targets="${1:-x64}"
[ $# -le 1 ] || die "usage: build.sh [x64|x86|all]"
case "$targets" in
    x64) arches=(x86_64) ;;
    x86) arches=(i686) ;;
    all) arches=(x86_64 i686) ;;
    *) die "unknown target '$targets' (expected x64, x86 or all)" ;;
esac

setup_done || "$ROOT/scripts/setup.sh"

for arch in "${arches[@]}"; do
    dir="$BUILD_ROOT/$arch"
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$dir" -j"$(nproc)"
done
