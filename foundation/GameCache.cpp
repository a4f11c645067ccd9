#include "foundation/GameCache.h"

#include "framework/File.h"

#include <windows.h>

namespace {

const DWORD kProfileUnits = 1024;

bool IsAbsolutePath(const CString& path) {
    if (path.GetLength() >= 3 && iswalpha(path[0]) && path[1] == L':' &&
        (path[2] == L'\\' || path[2] == L'/'))
        return true;
    return path.GetLength() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

} // namespace

BOOL GetGameDataFolder(CString& folder) {
    wchar_t profile[kProfileUnits] = {};
    DWORD length = GetEnvironmentVariableW(L"userprofile", profile, kProfileUnits);
    // 0: absent or empty; kProfileUnits or more: it did not fit and the buffer holds nothing usable.
    if (length == 0 || length >= kProfileUnits) return FALSE;
    CString base(profile);
    base.TrimRight(L'\\');
    if (!IsAbsolutePath(base + L"\\")) return FALSE;
    folder = base + L"\\vessa";
    return TRUE;
}

void CleanGameCache() {
    CString folder;
    if (GetGameDataFolder(folder)) DeleteFilesRecursive(folder);
}

void DeleteFilesRecursive(const wchar_t* folder) {
    if (!folder || !*folder) return;
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return;

    CFileFind finder;
    BOOL more = finder.FindFile(CString(folder) + L"\\*");
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) continue;
        if (finder.IsDirectory()) {
            if (!finder.IsReparsePoint()) DeleteFilesRecursive(finder.GetFilePath());
        } else {
            DeleteFileW(finder.GetFilePath());
        }
    }
}
