#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it with the repo's .clang-format;
# names each such file. check-format.sh --fix rewrites them instead.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fix=0
case "${1:-}" in
    "") ;;
    --fix) fix=1 ;;
    *) die "usage: check-format.sh [--fix]" ;;
esac
command -v clang-format >/dev/null || die "clang-format is missing; run scripts/setup.sh"
git -C "$ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1 || die "not a git work tree: $ROOT"

cd "$ROOT"
unformatted=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue # deleted but not yet committed
    if [ $fix -eq 1 ]; then
        clang-format -i --style=file "$file"
    elif ! clang-format --style=file --dry-run -Werror "$file" >/dev/null 2>&1; then
        unformatted+=("$file")
    fi
done < <(git ls-files -z '*.cpp' '*.h')

if [ ${#unformatted[@]} -gt 0 ]; then
    echo "format: these files differ from clang-format's output; scripts/check-format.sh --fix formats them"
    echo "unformatted: ${unformatted[*]}"
    exit 1
fi
[ $fix -eq 1 ] || echo "format: every tracked C++ file is formatted"
