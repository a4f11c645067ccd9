#!/usr/bin/env bash
# Prints the client's start-up figures: the time from starting Pellar.exe to its login window's
# picture on the screen and its peak working set, against a bare window hosting the browser control
# on the same home page (median of alternating starts, on a virtual display, against the operator
# stand-in), both measured on stripped copies of the 64-bit programs as shipped; and the sizes of the
# stripped release programs of both targets. Changes nothing.
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

# Wine reads an unstripped program's debug sections into memory: measure the programs as shipped.
mkdir "$work/x64" "$work/x86"
x86_64-w64-mingw32-strip -o "$work/x64/Pellar.exe" "$x64/client/Pellar.exe"
x86_64-w64-mingw32-strip -o "$work/x64/bare-browser.exe" "$x64/bench/startup/bare-browser.exe"
i686-w64-mingw32-strip -o "$work/x86/Pellar.exe" "$release"

PELLAR_XVFB=1 "$ROOT/scripts/wine-session.sh" wine "$x64/bench/startup/startup-bench.exe" \
    "$(win "$work/x64/Pellar.exe")" "$(win "$x64/demo-skin/skin")" \
    "$(win "$work/x64/bare-browser.exe")" "$(cat "$work/port")" "$starts" 2>/dev/null | tr -d '\r'

# The shipped 32-bit program's goal: at most 1.5 MB (1,500,000 bytes).
size32=$(stat -c %s "$work/x86/Pellar.exe")
size64=$(stat -c %s "$work/x64/Pellar.exe")
verdict=missed
[ "$size32" -le 1500000 ] && verdict=met
awk -v s32="$size32" -v s64="$size64" -v verdict="$verdict" 'BEGIN {
    printf "release program, stripped: 32-bit %d bytes = %.2f MB (goal at most 1.5 MB: %s); 64-bit %d bytes = %.2f MB\n",
        s32, s32 / 1e6, verdict, s64, s64 / 1e6 }'
