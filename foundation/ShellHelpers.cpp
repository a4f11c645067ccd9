#include "foundation/ShellHelpers.h"

#include "foundation/RegKey.h"
#include "framework/Handle.h"
#include "framework/Internet.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// The text of the key's first value, whatever its length; empty when it is not a text.
CString ReadFirstValueText(HKEY key) {
    DWORD maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return CString();
    std::vector<wchar_t> name(maxName + 1);
    std::vector<wchar_t> data(maxData / sizeof(wchar_t) + 2, L'\0');
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataBytes = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    DWORD type = 0;
    if (RegEnumValueW(key, 0, name.data(), &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                      &dataBytes) != ERROR_SUCCESS)
        return CString();
    if (type != REG_SZ && type != REG_EXPAND_SZ) return CString();
    // The last unit of the vector stays zero, so the text ends even when the stored one does not.
    return CString(data.data());
}

// One command-line argument that the browser's argument splitting gives back unchanged.
CString QuoteArgument(const CString& url) {
    CString inner(url);
    inner.Replace(L"\"", L"%22");
    // Backslashes right before the closing quote would escape it.
    int trailing = 0;
    while (trailing < inner.GetLength() && inner[inner.GetLength() - 1 - trailing] == L'\\')
        ++trailing;
    return L"\"" + inner + CString(L'\\', trailing) + L"\"";
}

} // namespace

BOOL GetDefaultBrowserPath(CString& path) {
    CAutoRegKey key(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command");
    if (!key.IsOpen()) return FALSE;
    CString command = ReadFirstValueText(key.Get());
    CString lower(command);
    lower.MakeLower();
    int exe = lower.Find(L".exe");
    if (exe < 0) {
        path.Empty();
        return TRUE;
    }
    int length = exe + 4;
    if (length < command.GetLength() && command[length] == L'"') ++length;
    path = command.Left(length);
    return TRUE;
}

void OpenInDefaultBrowser(const wchar_t* url) {
    if (!url) return;
    CString address(url);
    address.Trim();
    if (!IsLiteralWebAddress(address)) return;

    CString browser;
    if (GetDefaultBrowserPath(browser)) {
        browser.Trim();
        if (browser.GetLength() >= 1 && browser[0] == L'"') browser = browser.Mid(1);
        if (browser.GetLength() >= 1 && browser[browser.GetLength() - 1] == L'"')
            browser.Truncate(browser.GetLength() - 1);
    }
    if (browser.IsEmpty()) {
        ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWMAXIMIZED);
        return;
    }
    ShellExecuteW(nullptr, L"open", browser, QuoteArgument(address), nullptr, SW_SHOWMAXIMIZED);
}

BOOL RunProcess(const CString& commandLine) {
    if (commandLine.IsEmpty()) return FALSE;
    // A bare path with spaces would be split by the platform (and might start "C:\Program" instead),
    // so a command line that names an existing file whole is run as exactly that file.
    const wchar_t* application = nullptr;
    CString line(commandLine);
    if (commandLine[0] != L'"') {
        DWORD attributes = GetFileAttributesW(commandLine);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            application = commandLine.GetString();
            line = L"\"" + commandLine + L"\"";
        }
    }
    std::wstring buffer(line.Str());
    buffer.push_back(L'\0'); // CreateProcessW may write into its command line

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(application, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return FALSE;
    // Nothing waits for the program: its handles only need to go.
    CScopedHandle thread(process.hThread), started(process.hProcess);
    return TRUE;
}
