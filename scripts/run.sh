#!/usr/bin/env bash
# Builds the 64-bit client and starts it under Wine on its bundled demo configuration, with the local
# stand-in for the operator's service. Uses $DISPLAY when set, otherwise a virtual display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[ $# -eq 0 ] || die "run.sh takes no arguments"

"$ROOT/scripts/build.sh" x64
exe="$BUILD_ROOT/x86_64/client/Pellar.exe"
[ -f "$exe" ] || die "the client program is not part of this build yet ($exe)"
exec "$ROOT/scripts/wine-session.sh" wine "$exe"
