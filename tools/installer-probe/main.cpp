// Served by the operator stand-in as the update installer. It shows nothing and changes nothing:
// it appends one UTF-8 line "<program path>|<arguments>" to the file named by PELLAR_PROBE_LOG,
// or to "<program path>.runs.txt" beside itself, so a test can see that it ran and how.
#include <windows.h>

#include <string>

namespace {

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr,
                            nullptr);
    return out;
}

// The command line without the program name (quoted or not).
std::wstring Arguments() {
    const wchar_t* p = GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring self(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &self[0], static_cast<DWORD>(self.size()));
    self.resize(length);

    std::wstring logPath(32768, L'\0');
    DWORD envLength =
        GetEnvironmentVariableW(L"PELLAR_PROBE_LOG", &logPath[0], static_cast<DWORD>(logPath.size()));
    if (envLength > 0 && envLength < logPath.size())
        logPath.resize(envLength);
    else
        logPath = self + L".runs.txt";

    HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::string line = ToUtf8(self) + "|" + ToUtf8(Arguments()) + "\r\n";
    DWORD written = 0;
    BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
