#!/usr/bin/env bash
# Builds the 64-bit programs and starts what exists. Once the client program is part of the build, it is
# started under Wine on its bundled demo configuration, with the local stand-in for the operator's
# service on the demo configuration's port (18080). Until then the skin windows of the demo skin are
# rendered to build/preview/*.png, the only part of the client a person can look at yet.
# Uses $DISPLAY when set, otherwise a virtual display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[ $# -eq 0 ] || die "run.sh takes no arguments"

"$ROOT/scripts/build.sh" x64
exe="$BUILD_ROOT/x86_64/client/Pellar.exe"

if [ ! -f "$exe" ]; then
    echo "run: the client program is not part of this build yet; rendering the demo skin's windows instead"
    "$ROOT/scripts/render-skin.sh" "$BUILD_ROOT/preview"
    echo "run: the demo skin's windows are in $BUILD_ROOT/preview/"
    exit 0
fi

service_dir="$BUILD_ROOT/run-service"
mkdir -p "$service_dir"
python3 "$ROOT/tools/operator_service.py" --detach --port 18080 --port-file "$service_dir/port" \
    --log "$service_dir/requests.jsonl" --pid-file "$service_dir/pid" --usermd5fmt "pellar-demo-%s" \
    --installer "$BUILD_ROOT/x86_64/tools/installer-probe/pellar_probe.exe" ||
    die "the operator stand-in could not start on port 18080"
trap 'python3 "$ROOT/tools/operator_service.py" --stop --pid-file "$service_dir/pid" >/dev/null 2>&1 || true' EXIT
"$ROOT/scripts/wine-session.sh" wine "$exe"
