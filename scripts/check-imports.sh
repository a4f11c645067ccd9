#!/usr/bin/env bash
# Fails when a built program imports anything but system DLLs (everything else must be linked in).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[ $# -ge 1 ] || die "usage: check-imports.sh BUILD_DIR..."

allowed='^(kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|olepro32|uuid|comctl32|comdlg32|wininet|urlmon|ws2_32|wsock32|msvcrt|winmm|imm32|version|msimg32|uxtheme|crypt32|bcrypt|ntdll|psapi|iphlpapi|secur32|winspool\.drv|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
count=0
for dir in "$@"; do
    [ -d "$dir" ] || die "no such folder: $dir"
    while IFS= read -r -d '' exe; do
        count=$((count + 1))
        while IFS= read -r dll; do
            if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
                echo "imports: $exe needs $dll" >&2
                status=1
            fi
        done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
    done < <(find "$dir" -name '*.exe' -not -path '*/wine/*' -not -path '*/CMakeFiles/*' -print0)
done
[ $count -gt 0 ] || die "no programs found in $*"
[ $status -eq 0 ] && echo "imports: $count programs need only system DLLs"
exit $status
