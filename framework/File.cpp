#include "File.h"

#include <algorithm>

BOOL CFile::Open(const wchar_t* path, UINT flags) {
    Close();
    if (!path || !*path) return FALSE;
    DWORD access = GENERIC_READ;
    if ((flags & 3) == modeWrite)
        access = GENERIC_WRITE;
    else if ((flags & 3) == modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;

    DWORD share = 0;
    switch (flags & 0x70) {
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareExclusive:
        share = 0;
        break;
    default: // compatibility mode
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    }

    DWORD creation = OPEN_EXISTING;
    if (flags & modeCreate) creation = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    m_hFile = CreateFileW(path, access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

void CFile::Close() {
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!IsOpen() || !buffer || count == 0) return 0;
    DWORD read = 0;
    if (!ReadFile(m_hFile, buffer, count, &read, nullptr)) return 0;
    return read;
}

BOOL CFile::Write(const void* buffer, UINT count) {
    if (!IsOpen()) return FALSE;
    if (count == 0) return TRUE;
    if (!buffer) return FALSE;
    DWORD written = 0;
    return WriteFile(m_hFile, buffer, count, &written, nullptr) && written == count;
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size = {};
    if (!IsOpen() || !GetFileSizeEx(m_hFile, &size)) return 0;
    return static_cast<ULONGLONG>(size.QuadPart);
}

BOOL CFile::GetStatus(const wchar_t* path, CFileStatus& status) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return FALSE;
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return TRUE;
}

BOOL CFileFind::FindFile(const wchar_t* pattern) {
    Close();
    if (!pattern || !*pattern) pattern = L"*.*";
    m_hFind = FindFirstFileW(pattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE) return FALSE;
    m_hasNext = true;
    CString root(pattern);
    int slash = root.FindOneOf(L"\\/") >= 0 ? std::max(root.ReverseFind(L'\\'), root.ReverseFind(L'/')) : -1;
    m_root = slash >= 0 ? root.Left(slash + 1) : CString();
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_hasNext) return FALSE;
    m_found = m_next;
    m_hasFound = true;
    m_hasNext = m_hFind != INVALID_HANDLE_VALUE && ::FindNextFileW(m_hFind, &m_next);
    return m_hasNext ? TRUE : FALSE;
}

void CFileFind::Close() {
    if (m_hFind != INVALID_HANDLE_VALUE) {
        FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
    m_hasFound = m_hasNext = false;
    m_root.Empty();
}

CString CFileFind::GetFileName() const {
    return m_hasFound ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const {
    return m_hasFound ? m_root + m_found.cFileName : CString();
}

ULONGLONG CFileFind::GetLength() const {
    if (!m_hasFound) return 0;
    return (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow;
}

BOOL CFileFind::IsDots() const {
    if (!m_hasFound || !IsDirectory()) return FALSE;
    const wchar_t* n = m_found.cFileName;
    return (n[0] == L'.' && n[1] == 0) || (n[0] == L'.' && n[1] == L'.' && n[2] == 0);
}
