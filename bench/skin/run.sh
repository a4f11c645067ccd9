#!/usr/bin/env bash
# Builds and runs skin-bench under Wine on a virtual display large enough for a 1920x1080 window.
#   bench/skin/run.sh [PAINTS]   (paints per case, default 60)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

[ $# -le 1 ] || die "usage: bench/skin/run.sh [PAINTS]"
paints="${1:-60}"
[[ "$paints" =~ ^[1-9][0-9]*$ ]] || die "PAINTS must be a positive number, not '$paints'"

"$ROOT/scripts/build.sh" x64 >/dev/null
exe="$BUILD_ROOT/x86_64/bench/skin/skin-bench.exe"
[ -f "$exe" ] || die "skin-bench.exe was not built ($exe)"
PELLAR_IN_DISPLAY=1 xvfb-run -a -s '-screen 0 2048x1280x24' "$ROOT/scripts/wine-session.sh" wine "$exe" "$paints"
