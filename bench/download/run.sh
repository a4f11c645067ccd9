#!/usr/bin/env bash
# Starts the operator stand-in, then downloads one large file (generated on the fly) three ways:
# through CDownloadThread, with one bare URLDownloadToFileW call, and with native curl; then times
# small HttpGet requests against a bare WinINet loop. Prints the figures; changes nothing.
#   bench/download/run.sh [BYTES] [REQUESTS]     (defaults: 268435456 and 1000)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

size="${1:-268435456}"
requests="${2:-1000}"
[[ "$size" =~ ^[0-9]+$ ]] && [ "$size" -gt 0 ] || die "BYTES must be a positive number (got '$size')"
[[ "$requests" =~ ^[0-9]+$ ]] && [ "$requests" -gt 0 ] || die "REQUESTS must be a positive number (got '$requests')"
[ $# -le 2 ] || die "usage: bench/download/run.sh [BYTES] [REQUESTS]"

"$ROOT/scripts/build.sh" x64 >/dev/null
bin="$BUILD_ROOT/x86_64/bench/download"
work="$(mktemp -d)"
service=(python3 "$ROOT/tools/operator_service.py")
"${service[@]}" --detach --port-file "$work/port" --pid-file "$work/pid" >/dev/null
trap '"${service[@]}" --stop --pid-file "$work/pid"; rm -rf "$work"' EXIT
base="http://127.0.0.1:$(cat "$work/port")"
large="$base/data/large.bin?size=$size"
small="$base/install?v=1"
win_target="Z:${work//\//\\}\\large.bin"

# Three rounds, the contenders alternating within each, so warm-up and disk effects fall on all alike;
# the median of the three is reported.
for round in 1 2 3; do
    "$ROOT/scripts/wine-session.sh" bash -c '
        set -e
        wine "$1/download_bench.exe" "$2" "$3" - 0
        wine "$1/bare_download.exe" "$2" "$3"
        wine "$1/download_bench.exe" - - "$4" "$5"
        wine "$1/bare_wininet.exe" "$4" "$5"
        wine "$1/bare_wininet.exe" "$4" "$5" per-request
    ' bench "$bin" "$large" "$win_target" "$small" "$requests" 2>/dev/null | tr -d '\r' | grep '^RESULT' >> "$work/results"
    curl_seconds="$(curl -s -o "$work/large.bin" -w '%{time_total}' "$large")"
    curl_bytes="$(stat -c %s "$work/large.bin")"
    rm -f "$work/large.bin"
    echo "RESULT curl $curl_bytes bytes $curl_seconds" >> "$work/results"
done

python3 - "$work/results" <<'PY'
import sys
import statistics
runs = {}
for line in open(sys.argv[1]):
    _, name, count, unit, seconds = line.split()
    runs.setdefault(name, []).append((int(count), float(seconds)))
rows = {name: (r[0][0], None) for name, r in runs.items()}
def rate(name):
    return statistics.median(count / seconds for count, seconds in runs[name])
print("large download (%d bytes; median of %d rounds)" % (rows["thread_download"][0], len(runs["thread_download"])))
first = rate("thread_download")
for name, label in (("thread_download", "CDownloadThread"), ("bare_download", "bare URLDownloadToFileW"), ("curl", "native curl")):
    r = rate(name)
    print("  %-26s %9.1f MB/s   %6.2fx of CDownloadThread" % (label, r / 1e6, r / first))
print("small requests (%d each)" % rows["httpget"][0])
for name, label in (("httpget", "HttpGet"), ("bare_wininet", "bare WinINet, one session"),
                    ("bare_wininet_per_request", "bare WinINet, session each")):
    print("  %-26s %9.1f requests/s   %6.2fx of HttpGet" % (label, rate(name), rate(name) / rate("httpget")))
PY
