// Test support: running FoundationProbe.exe (built beside this test program) as a separate process,
// reading files it wrote, and registry keys that a test creates and removes again.
#pragma once

#include "foundation/Settings.h"
#include "framework/String.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

inline CString ProbeBuiltPath() { return GetModuleDir() + L"\\FoundationProbe.exe"; }

// Copies the probe into a folder (it finds its settings and configuration beside itself).
inline CString CopyProbeTo(const CString& folder) {
    CString target = folder + L"\\FoundationProbe.exe";
    EXPECT_TRUE(CopyFileW(ProbeBuiltPath(), target, FALSE)) << "cannot copy the probe to " << target.ToUtf8();
    return target;
}

// Runs the program with the arguments and waits for it; returns its exit code, or -1.
inline int RunAndWait(const CString& exe, const CString& arguments) {
    CString line = L"\"" + exe + L"\" " + arguments;
    std::wstring buffer(line.Str());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

inline std::string ReadBytes(const CString& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

// Waits until the file holds at least `lines` lines; returns its text.
inline std::string WaitForLines(const CString& path, DWORD timeoutMs, size_t lines = 1) {
    const DWORD start = GetTickCount();
    for (;;) {
        std::string bytes = ReadBytes(path);
        if (static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) >= lines) return bytes;
        if (GetTickCount() - start > timeoutMs) return bytes;
        Sleep(50);
    }
}

// A key under HKEY_CLASSES_ROOT that exists only for one test: removed before and after.
class ScopedClassesKey {
public:
    explicit ScopedClassesKey(const wchar_t* path, const wchar_t* top) : m_path(path), m_top(top) { Remove(); }
    ~ScopedClassesKey() { Remove(); }
    ScopedClassesKey(const ScopedClassesKey&) = delete;
    ScopedClassesKey& operator=(const ScopedClassesKey&) = delete;

    bool SetDefault(DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, m_path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        bool ok = RegSetValueExW(key, nullptr, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }
    bool SetText(DWORD type, const CString& text) {
        return SetDefault(type, text.GetString(), static_cast<DWORD>((text.GetLength() + 1) * sizeof(wchar_t)));
    }

private:
    void Remove() { RegDeleteTreeW(HKEY_CLASSES_ROOT, m_top); }
    CString m_path;
    CString m_top; // the topmost key the test created, removed with everything below it
};
