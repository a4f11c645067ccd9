#!/usr/bin/env bash
# Checks the formatting, builds both targets and runs every test under Wine on a virtual display; exits
# non-zero on failure. Optional arguments are passed to ctest (for example: -R foundation).
# A test program counts as passed only when its own gtest report shows that it ran to its end with every
# test passed (scripts/test-verdict.py); the last line names the programs that failed and the skipped tests.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

setup_done || "$ROOT/scripts/setup.sh"
# A formatting failure fails the run but does not stop it; the last line names the files.
note=""
if ! format="$("$ROOT/scripts/check-format.sh" 2>&1)"; then
    note="$(tail -n 1 <<<"$format")"
fi
echo "$format"

"$ROOT/scripts/build.sh" all
"$ROOT/scripts/check-imports.sh" "$BUILD_ROOT/x86_64" "$BUILD_ROOT/i686"

test_dir="$BUILD_ROOT/x86_64"
# Reports of an earlier run must not speak for this one.
rm -rf "$test_dir/test-reports" "$test_dir/ctest-results.xml"
set +e
PELLAR_XVFB=1 "$ROOT/scripts/wine-session.sh" \
    ctest --test-dir "$test_dir" --output-on-failure -j4 --output-junit "$test_dir/ctest-results.xml" "$@" |
    tee "$BUILD_ROOT/ctest.log"
rc=${PIPESTATUS[0]}
python3 "$ROOT/scripts/test-verdict.py" --test-dir "$test_dir" --junit "$test_dir/ctest-results.xml" \
    --note "$note"
verdict=$?
set -e
[ "$rc" -eq 0 ] && [ "$verdict" -eq 0 ] || exit 1
