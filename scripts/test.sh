#!/usr/bin/env bash
# Builds both targets and runs every test under Wine on a virtual display; exits non-zero on failure.
# Optional arguments are passed to ctest (for example: -R foundation).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/build.sh" all
"$ROOT/scripts/check-imports.sh" "$BUILD_ROOT/x86_64" "$BUILD_ROOT/i686"

set +e
PELLAR_XVFB=1 "$ROOT/scripts/wine-session.sh" \
    ctest --test-dir "$BUILD_ROOT/x86_64" --output-on-failure -j4 "$@" | tee "$BUILD_ROOT/ctest.log"
rc=${PIPESTATUS[0]}
set -e
passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$BUILD_ROOT/ctest.log" || true)
failed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Failed|Exception|Timeout)' "$BUILD_ROOT/ctest.log" || true)
echo "executables: $passed passed, $failed failed"
exit "$rc"
