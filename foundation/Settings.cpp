// The settings record reaches the file only at normal exit: it is a function-local static, so the
// runtime destroys it (and saves) before g_strIniPath, which static initialisation built earlier.
#include "foundation/Settings.h"

#include <cwchar>
#include <string>

namespace {

const wchar_t kSection[] = L"Config";
const wchar_t kPluginKey[] = L"CLSID\\{5c3e9a17-2b84-4f6d-9e21-7a0d3b6c48f5}\\InprocServer32";
const DWORD kPluginPathUnits = 1024;

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() {
        if (m_hKey) RegCloseKey(m_hKey);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    HKEY* Receive() { return &m_hKey; }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

// The plug-in's registered file, or the empty text. Read access only: nothing is written there.
CString ReadPluginPath() {
    CRegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kPluginKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return CString();
    wchar_t buffer[kPluginPathUnits] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(buffer);
    if (RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
        ERROR_SUCCESS)
        return CString();
    if (type != REG_SZ && type != REG_EXPAND_SZ) return CString();
    // The stored text must carry its terminating zero inside the buffer.
    const DWORD units = bytes / sizeof(wchar_t);
    if (units == 0 || buffer[units - 1] != L'\0') return CString();
    return CString(buffer);
}

int ReadInt(const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(kSection, key, 0, g_strIniPath));
}

} // namespace

CString GetModuleDir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return CString();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) return CString();
        path.resize(path.size() * 2);
    }
    CString dir(path);
    int slash = dir.ReverseFind(L'\\');
    if (slash >= 0) dir.Truncate(slash);
    return dir;
}

CString g_strIniPath = GetModuleDir() + L"\\config.ini";

INI_CONFIG::INI_CONFIG()
    : HotKey(0), UseHotKey(FALSE), m_bEnable1(FALSE), AlwaysTop(FALSE), first_time(0), m_szBuffer() {
    Load();
}

INI_CONFIG::~INI_CONFIG() { Save(); }

void INI_CONFIG::Load() {
    UseHotKey = ReadInt(L"UseHotKey");
    AlwaysTop = ReadInt(L"AlwaysTop");
    HotKey = ReadInt(L"HotKey");
    first_time = ReadInt(L"first_time");
    m_strPluginPath = ReadPluginPath();
}

void INI_CONFIG::Save() {
    const struct {
        const wchar_t* key;
        int value;
    } entries[] = {{L"AlwaysTop", AlwaysTop}, {L"UseHotKey", UseHotKey}, {L"HotKey", HotKey},
                   {L"first_time", first_time}};
    for (const auto& entry : entries) {
        _snwprintf(m_szBuffer, sizeof(m_szBuffer) / sizeof(m_szBuffer[0]) - 1, L"%d", entry.value);
        m_szBuffer[sizeof(m_szBuffer) / sizeof(m_szBuffer[0]) - 1] = L'\0';
        WritePrivateProfileStringW(kSection, entry.key, m_szBuffer, g_strIniPath);
    }
}

INI_CONFIG* GetIniConfig() {
    static INI_CONFIG config;
    return &config;
}
