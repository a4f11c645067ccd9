#!/usr/bin/env bash
# Renders every window of the bundled demo skin to OUTDIR/<WINDOW>.png through the real skin
# windows, on a virtual display large enough for the 1920x1080 game window.
#   render-skin.sh OUTDIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ $# -eq 1 ] || die "usage: render-skin.sh OUTDIR (a folder that receives one PNG per skin window)"
out="$1"
[ -n "$out" ] || die "OUTDIR must not be empty"
case "$out" in -*) die "usage: render-skin.sh OUTDIR (a folder, not an option: '$out')" ;; esac
if [ -e "$out" ] && [ ! -d "$out" ]; then die "'$out' exists and is not a folder"; fi
mkdir -p "$out" || die "cannot create '$out'"
out="$(cd "$out" && pwd)"

"$ROOT/scripts/build.sh" x64 >/dev/null
exe="$BUILD_ROOT/x86_64/skin/render/skin-render.exe"
[ -f "$exe" ] || die "skin-render.exe was not built ($exe)"

# Wine sees the Unix root as drive Z:.
winout="Z:${out//\//\\}"
PELLAR_IN_DISPLAY=1 xvfb-run -a -s '-screen 0 2048x1280x24' \
    "$ROOT/scripts/wine-session.sh" wine "$exe" "$winout"
