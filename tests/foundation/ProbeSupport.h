// Test support: running FoundationProbe.exe (built beside this test program) as a separate process,
// reading what it wrote, and registry values a test changes for its own duration.
#pragma once

#include "TempDir.h"

#include "foundation/Settings.h"
#include "framework/String.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

// The plug-in's registration, under a class id no real program uses.
const wchar_t kPluginTop[] = L"CLSID\\{5c3e9a17-2b84-4f6d-9e21-7a0d3b6c48f5}";
const wchar_t kPluginKey[] = L"CLSID\\{5c3e9a17-2b84-4f6d-9e21-7a0d3b6c48f5}\\InprocServer32";

inline CString ProbeBuiltPath() {
    return GetModuleDir() + L"\\FoundationProbe.exe";
}

// Copies the probe into a folder (it finds its settings and configuration beside itself).
inline CString CopyProbeTo(const CString& folder) {
    CString target = folder + L"\\FoundationProbe.exe";
    // Copied once per folder: rewriting the image of a process that has only just ended can make the
    // next start fail under Wine.
    if (GetFileAttributesW(target) == INVALID_FILE_ATTRIBUTES) {
        EXPECT_TRUE(CopyFileW(ProbeBuiltPath(), target, TRUE))
            << "cannot copy the probe to " << target.ToUtf8();
    }
    return target;
}

// Runs the program with the arguments and waits for it; returns its exit code, or -1.
inline int RunAndWait(const CString& exe, const CString& arguments) {
    std::wstring line = (L"\"" + exe + L"\" " + arguments).Str();
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// Waits until the file holds at least `lines` lines; returns its text.
inline std::string WaitForLines(const CString& path, size_t lines = 1) {
    for (const DWORD start = GetTickCount();; Sleep(50)) {
        std::string bytes = TempDir::ReadFile(path);
        if (static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) >= lines ||
            GetTickCount() - start > 20000)
            return bytes;
    }
}

// The default value of a key under HKEY_CLASSES_ROOT, changed for one test and put back after it.
// With ownTop, a key no one else uses, that key is removed whole before and after instead.
class ScopedClassesValue {
public:
    explicit ScopedClassesValue(const wchar_t* path, const wchar_t* ownTop = nullptr)
        : m_path(path), m_top(ownTop) {
        if (ownTop) RegDeleteTreeW(HKEY_CLASSES_ROOT, ownTop);
        HKEY key = nullptr;
        if (ownTop || RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        DWORD bytes = 0;
        if (RegQueryValueExW(key, nullptr, nullptr, &m_type, nullptr, &bytes) == ERROR_SUCCESS) {
            m_saved.resize(bytes);
            m_had = RegQueryValueExW(key, nullptr, nullptr, &m_type, m_saved.data(), &bytes) == ERROR_SUCCESS;
        }
        RegCloseKey(key);
    }
    ~ScopedClassesValue() {
        if (m_top)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, m_top);
        else if (m_had)
            Set(m_type, m_saved.data(), static_cast<DWORD>(m_saved.size()));
        else
            RegDeleteKeyValueW(HKEY_CLASSES_ROOT, m_path, nullptr);
    }
    ScopedClassesValue(const ScopedClassesValue&) = delete;
    ScopedClassesValue& operator=(const ScopedClassesValue&) = delete;

    bool Set(DWORD type, const void* data, DWORD bytes) {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, m_path, nullptr, type, data, bytes) == ERROR_SUCCESS;
    }
    bool SetText(const CString& text, DWORD type = REG_SZ) {
        return Set(type, text.GetString(), static_cast<DWORD>((text.GetLength() + 1) * sizeof(wchar_t)));
    }

private:
    const wchar_t* m_path;
    const wchar_t* m_top;
    std::vector<BYTE> m_saved;
    DWORD m_type = REG_SZ;
    bool m_had = false;
};
