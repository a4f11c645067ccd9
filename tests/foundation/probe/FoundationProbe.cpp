// A small program that the foundation tests start as a separate process, for what only a whole
// process shows: the settings file written at exit, the plug-in installer rule with a configuration
// beside the program, and programs started by path or handed a page address.
//   FoundationProbe settings <out> [Name=value...]  report the loaded settings, then change them
//   FoundationProbe runplugin <out>                 report GetRunPlugin after loading the configuration
//   FoundationProbe [anything]                      append the arguments to "args.txt" beside itself
#include "foundation/Config.h"
#include "foundation/Settings.h"

#include <shellapi.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

void WriteUtf8(const CString& path, const CString& text, bool append) {
    HANDLE file = CreateFileW(path, append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string bytes = text.ToUtf8();
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

int ReportSettings(const CString& out, const std::vector<CString>& changes) {
    INI_CONFIG* config = GetIniConfig();
    // A later change of the file must not reach the record: it is read once. Only a key already
    // in the file is changed, so that the file keeps the order in which the record saves.
    wchar_t present[16] = {};
    if (GetPrivateProfileStringW(L"Config", L"HotKey", L"", present, 16, g_strIniPath) > 0)
        WritePrivateProfileStringW(L"Config", L"HotKey", L"4321", g_strIniPath);
    CString report;
    report.Format(L"HotKey=%d\nUseHotKey=%d\nAlwaysTop=%d\nfirst_time=%d\nEnable1=%d\nSame=%d\nPlugin=",
                  config->HotKey, config->UseHotKey, config->AlwaysTop, config->first_time, config->m_bEnable1,
                  GetIniConfig() == config && GetIniConfig()->HotKey == config->HotKey ? 1 : 0);
    report += config->GetPluginPath();
    report += L"\n";
    WriteUtf8(out, report, false);

    for (const CString& change : changes) {
        int eq = change.Find(L'=');
        if (eq < 0) continue;
        CString name = change.Left(eq);
        int value = _wtoi(change.Mid(eq + 1));
        if (name == L"HotKey") config->HotKey = value;
        else if (name == L"UseHotKey") config->UseHotKey = value;
        else if (name == L"AlwaysTop") config->AlwaysTop = value;
        else if (name == L"first_time") config->first_time = value;
        else if (name == L"Enable1") config->m_bEnable1 = value;
    }
    return 0; // normal exit: the record saves itself
}

} // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<CString> args;
    for (int i = 1; argv && i < argc; ++i) args.emplace_back(argv[i]);
    if (argv) LocalFree(argv);

    if (args.size() >= 2 && args[0] == L"settings")
        return ReportSettings(args[1], std::vector<CString>(args.begin() + 2, args.end()));
    if (args.size() == 2 && args[0] == L"runplugin") {
        LoadConfigXml();
        WriteUtf8(args[1], GetRunPlugin(), false);
        return 0;
    }
    CString line;
    line.Format(L"%d", static_cast<int>(args.size()));
    for (const CString& arg : args) line += L"|" + arg;
    WriteUtf8(GetModuleDir() + L"\\args.txt", line + L"\n", true);
    return 0;
}
