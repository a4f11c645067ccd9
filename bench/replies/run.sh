#!/usr/bin/env bash
# Builds and runs reply-bench under Wine: the time to read a hostile account reply, and to take the
# server id from a game address, at doubling sizes, against the floor of the same input's plain parse
# (or lower-casing). Linear code keeps the ratio flat and doubles its time with the size.
#   bench/replies/run.sh [ROUNDS]   (alternating rounds per size, default 5)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

[ $# -le 1 ] || die "usage: bench/replies/run.sh [ROUNDS]"
rounds="${1:-5}"
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || die "ROUNDS must be a positive number, not '$rounds'"

"$ROOT/scripts/build.sh" x64 >/dev/null
exe="$BUILD_ROOT/x86_64/bench/replies/reply-bench.exe"
[ -f "$exe" ] || die "reply-bench.exe was not built ($exe)"
"$ROOT/scripts/wine-session.sh" wine "$exe" "$rounds" | tr -d '\r'
