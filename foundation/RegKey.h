// Owner of an open registry key, opened for reading by default; closed with the object.
#pragma once

#include <windows.h>

class CAutoRegKey {
public:
    CAutoRegKey(HKEY root, const wchar_t* path, REGSAM access = KEY_READ) {
        if (RegOpenKeyExW(root, path, 0, access, &m_hKey) != ERROR_SUCCESS) m_hKey = nullptr;
    }
    ~CAutoRegKey() {
        if (m_hKey) RegCloseKey(m_hKey);
    }
    CAutoRegKey(const CAutoRegKey&) = delete;
    CAutoRegKey& operator=(const CAutoRegKey&) = delete;

    bool IsOpen() const { return m_hKey != nullptr; }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};
