#!/usr/bin/env bash
# Runs a command inside one Wine session: a persistent wineserver in the test locale, warmed up by
# one program start (concurrent first starts can hang Wine), on a virtual X display unless one is
# given in DISPLAY already (set PELLAR_XVFB=1 to force the virtual one).
#   wine-session.sh COMMAND [ARG...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[ $# -ge 1 ] || die "usage: wine-session.sh COMMAND [ARG...]"

if [ -z "${PELLAR_IN_DISPLAY:-}" ] && { [ -z "${DISPLAY:-}" ] || [ -n "${PELLAR_XVFB:-}" ]; }; then
    export PELLAR_IN_DISPLAY=1
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

wine_env wineserver -k >/dev/null 2>&1 || true
wine_env wineserver -w >/dev/null 2>&1 || true
wine_env wineserver -p >/dev/null 2>&1 </dev/null
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine_env timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null || true

set +e
wine_env "$@"
rc=$?
exit $rc
