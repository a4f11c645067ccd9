#!/usr/bin/env bash
# Prints the client's start-up figures: the time from starting Pellar.exe to its login window shown and
# its peak working set, against a bare window hosting the browser control on the same home page
# (median of alternating starts, on a virtual display, against the operator stand-in), and the size of
# the stripped 32-bit release program. Changes nothing.
#   bench/startup/run.sh [STARTS]     (starts of each program, default 7)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

[ $# -le 1 ] || die "usage: bench/startup/run.sh [STARTS]"
starts="${1:-7}"
[[ "$starts" =~ ^[1-9][0-9]*$ ]] || die "STARTS must be a positive number, not '$starts'"

"$ROOT/scripts/build.sh" all >/dev/null
x64="$BUILD_ROOT/x86_64"
release="$BUILD_ROOT/i686/client/Pellar.exe"
for f in "$x64/bench/startup/startup-bench.exe" "$x64/bench/startup/bare-browser.exe" "$x64/client/Pellar.exe" "$release"; do
    [ -f "$f" ] || die "$f was not built"
done
win() { echo "Z:${1//\//\\}"; }

work="$(mktemp -d)"
service=(python3 "$ROOT/tools/operator_service.py")
"${service[@]}" --detach --port-file "$work/port" --pid-file "$work/pid" --log "$work/requests.jsonl" >/dev/null
trap '"${service[@]}" --stop --pid-file "$work/pid" >/dev/null; rm -rf "$work"' EXIT

PELLAR_XVFB=1 "$ROOT/scripts/wine-session.sh" wine "$x64/bench/startup/startup-bench.exe" \
    "$(win "$x64/client/Pellar.exe")" "$(win "$x64/demo-skin/skin")" \
    "$(win "$x64/bench/startup/bare-browser.exe")" "$(cat "$work/port")" "$starts" 2>/dev/null | tr -d '\r'

i686-w64-mingw32-strip -o "$work/Pellar.exe" "$release"
size=$(stat -c %s "$work/Pellar.exe")
verdict=missed
[ "$size" -lt 1048576 ] && verdict=met
awk -v size="$size" -v verdict="$verdict" 'BEGIN {
    printf "release program (32-bit, stripped): %d bytes = %.2f MB (target: under 1 MB: %s)\n", size, size / 1048576, verdict }'
