// A fresh temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include "framework/String.h"

#include <windows.h>

#include <string>

class TempDir {
public:
    TempDir() {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        static LONG counter = 0;
        m_path.Format(L"%spellar_test_%lu_%ld", base, GetCurrentProcessId(), InterlockedIncrement(&counter));
        CreateDirectoryW(m_path, nullptr);
    }
    ~TempDir() { RemoveTree(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const CString& Path() const { return m_path; }
    CString operator/(const wchar_t* name) const { return m_path + L"\\" + name; }

    // Writes bytes to a file below the folder, creating missing folders on the way.
    CString WriteFile(const wchar_t* relative, const std::string& bytes) const {
        CString full = *this / relative;
        for (int i = m_path.GetLength() + 1; i < full.GetLength(); ++i)
            if (full[i] == L'\\') CreateDirectoryW(full.Left(i), nullptr);
        HANDLE h =
            CreateFileW(full, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(h);
        }
        return full;
    }

    CString MakeDir(const wchar_t* relative) const {
        CString full = *this / relative;
        for (int i = m_path.GetLength() + 1; i <= full.GetLength(); ++i)
            if (i == full.GetLength() || full[i] == L'\\') CreateDirectoryW(full.Left(i), nullptr);
        return full;
    }

    // The whole file as bytes (empty when it cannot be read); others may hold it open for writing.
    static std::string ReadFile(const wchar_t* path) {
        std::string bytes;
        HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return bytes;
        char chunk[65536];
        DWORD read = 0;
        while (::ReadFile(h, chunk, sizeof(chunk), &read, nullptr) && read > 0)
            bytes.append(chunk, read);
        CloseHandle(h);
        return bytes;
    }

    static bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

    // Removes a folder with everything below it; links to folders are removed, never followed. True
    // when the folder is gone.
    static bool RemoveTree(const CString& folder) {
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW(folder + L"\\*", &data);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                CString name(data.cFileName);
                if (name == L"." || name == L"..") continue;
                CString full = folder + L"\\" + name;
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    RemoveTree(full);
                else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveDirectoryW(full);
                else {
                    SetFileAttributesW(full, FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(full);
                }
            } while (FindNextFileW(h, &data));
            FindClose(h);
        }
        return RemoveDirectoryW(folder) || !Exists(folder);
    }

private:
    CString m_path;
};
