#!/usr/bin/env bash
# Builds the 64-bit client and starts it under Wine on its bundled demo configuration, with the local
# stand-in for the operator's service on the demo configuration's port (18080).
#   run.sh [--for SECONDS] [--url URL]
# With a display (DISPLAY set) the client runs until the player quits it, or until SECONDS have passed.
# Without one it runs on a virtual display until it ends or SECONDS (default 30) have passed, and a
# screenshot of the screen goes to build/run/ every few seconds and at the end. --url starts the client
# on that address (its start URL form: http://127.0.0.1:18080/game?sid=1 opens the game window).
# The stand-in, the Wine server and the virtual display are always stopped at the end.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

usage="usage: run.sh [--for SECONDS] [--url http://ADDRESS]"
arguments=("$@")
seconds=""
url=""
while [ $# -gt 0 ]; do
    case "$1" in
        --for)
            [ $# -ge 2 ] || die "--for needs a number of seconds; $usage"
            seconds="$2"
            shift 2 ;;
        --url)
            [ $# -ge 2 ] || die "--url needs an address; $usage"
            url="$2"
            shift 2 ;;
        -h | --help)
            echo "$usage"
            exit 0 ;;
        *) die "unknown argument '$1'; $usage" ;;
    esac
done
[ -z "$seconds" ] || [[ "$seconds" =~ ^[1-9][0-9]{0,5}$ ]] ||
    die "--for takes a whole number of seconds from 1 to 999999, not '$seconds'"
case "$url" in
    "" | http://?*) ;;
    *) die "--url takes an address beginning with http:// (the only start address the client knows), not '$url'" ;;
esac

# Without a display: build first (its output stays on this terminal), then run again on a virtual one.
if [ -z "${PELLAR_RUN_HEADLESS:-}" ]; then
    "$ROOT/scripts/build.sh" x64
    if [ -z "${DISPLAY:-}" ]; then
        PELLAR_RUN_HEADLESS=1 PELLAR_IN_DISPLAY=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "${arguments[@]}"
    fi
fi
headless="${PELLAR_RUN_HEADLESS:-}"
[ -z "$headless" ] || [ -n "$seconds" ] || seconds=30

exe="$BUILD_ROOT/x86_64/client/Pellar.exe"
[ -f "$exe" ] || die "the client program was not built ($exe)"
service_dir="$BUILD_ROOT/run-service"
shots="$BUILD_ROOT/run"
mkdir -p "$service_dir" "$shots"
rm -f "$shots"/*.png

service=(python3 "$ROOT/tools/operator_service.py")
"${service[@]}" --detach --port 18080 --port-file "$service_dir/port" --log "$service_dir/requests.jsonl" \
    --pid-file "$service_dir/pid" --usermd5fmt "pellar-demo-%s" \
    --installer "$BUILD_ROOT/x86_64/tools/installer-probe/pellar_probe.exe" >/dev/null ||
    die "the operator stand-in could not start on port 18080 (is another run still using it?)"

client=""
cleanup() {
    if [ -n "$client" ] && kill -0 "$client" 2>/dev/null; then
        wine_env wineserver -k >/dev/null 2>&1 || true
        wait "$client" 2>/dev/null || true
    fi
    "${service[@]}" --stop --pid-file "$service_dir/pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

shot() {
    import -window root "$shots/$1.png" 2>/dev/null || echo "run: screenshot $1 failed" >&2
}

echo "run: the operator stand-in listens on http://127.0.0.1:18080/ (requests in $service_dir/requests.jsonl)"
"$ROOT/scripts/wine-session.sh" wine "$exe" ${url:+"$url"} &
client=$!
elapsed=0
while kill -0 "$client" 2>/dev/null; do
    if [ -n "$seconds" ] && [ "$elapsed" -ge "$seconds" ]; then
        [ -z "$headless" ] || shot "end-$(printf '%03d' "$elapsed")s"
        echo "run: $seconds seconds have passed; ending the client"
        break
    fi
    sleep 1
    elapsed=$((elapsed + 1))
    if [ -n "$headless" ] && [ $((elapsed % 5)) -eq 0 ]; then shot "$(printf '%03d' "$elapsed")s"; fi
done
if ! kill -0 "$client" 2>/dev/null; then
    set +e
    wait "$client"
    echo "run: the client ended (exit code $?)"
    set -e
fi
[ -z "$headless" ] || echo "run: screenshots are in $shots/"
