// CFile and CFileFind: thin owners of a file handle and of a directory search, with the class
// library's calling conventions. Failures are return values; nothing throws.
#pragma once

#include "String.h"

#include <windows.h>

struct CFileStatus {
    ULONGLONG m_size = 0;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    [[nodiscard]] BOOL Open(const wchar_t* path, UINT flags);
    void Close();
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    // Returns the number of bytes read (0 at the end or on failure).
    UINT Read(void* buffer, UINT count);
    // Returns TRUE when every byte was written.
    BOOL Write(const void* buffer, UINT count);
    ULONGLONG GetLength() const;

    static BOOL GetStatus(const wchar_t* path, CFileStatus& status);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};

// Directory search with the class library's iteration: FindFile starts the search, and each
// FindNextFile makes the next entry current and returns FALSE when that entry is the last one
// (the entry is still valid then). Typical loop:
//   BOOL more = finder.FindFile(pattern);
//   while (more) { more = finder.FindNextFile(); ...use finder... }
class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(const wchar_t* pattern = L"*.*");
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;
    ULONGLONG GetLength() const;
    BOOL MatchesMask(DWORD mask) const { return m_hasFound && (m_found.dwFileAttributes & mask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReparsePoint() const { return MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT); }
    BOOL IsDots() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    CString m_root; // folder of the pattern, with a trailing backslash when not empty
    WIN32_FIND_DATAW m_found = {};
    WIN32_FIND_DATAW m_next = {};
    bool m_hasFound = false;
    bool m_hasNext = false;
};
