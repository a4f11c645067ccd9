#include "tools/driver/ClientProcess.h"

#include "tools/driver/Poll.h"

#include <psapi.h>

namespace driver {

namespace {

// One argument as the C runtime's parser reads it back: quoted when it holds a blank or a quote,
// with the backslashes in front of a quote (or of the closing quote) doubled.
CString QuoteOne(const CString& argument) {
    if (!argument.IsEmpty() && argument.FindOneOf(L" \t\"") < 0) return argument;
    CString quoted(L'"');
    int backslashes = 0;
    for (int i = 0; i < argument.GetLength(); ++i) {
        const wchar_t ch = argument[i];
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        if (ch == L'"') {
            quoted += CString(L'\\', backslashes * 2 + 1);
        } else if (backslashes > 0) {
            quoted += CString(L'\\', backslashes);
        }
        backslashes = 0;
        quoted += ch;
    }
    if (backslashes > 0) quoted += CString(L'\\', backslashes * 2);
    quoted += L'"';
    return quoted;
}

} // namespace

CString CClientProcess::QuoteArguments(const std::vector<CString>& arguments) {
    CString line;
    for (const CString& argument : arguments) {
        if (!line.IsEmpty()) line += L' ';
        line += QuoteOne(argument);
    }
    return line;
}

bool CClientProcess::Start(const CString& programPath, const std::vector<CString>& arguments) {
    if (m_process.IsValid()) return false;
    CString program = programPath;
    program.Replace(L'/', L'\\');
    std::vector<CString> all = {program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    CString commandLine = QuoteArguments(all);
    const int slash = program.ReverseFind(L'\\');
    const CString folder = slash > 0 ? program.Left(slash) : CString();

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program, commandLine.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.IsEmpty() ? nullptr : folder.GetString(), &startup, &info))
        return false;
    CScopedHandle thread(info.hThread);
    m_process.Attach(info.hProcess);
    m_processId = info.dwProcessId;
    return true;
}

bool CClientProcess::IsRunning() const {
    return m_process.IsValid() && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool CClientProcess::WaitForExit(DWORD ms, DWORD* exitCode) {
    if (!m_process.IsValid()) return false;
    if (!WaitUntil(ms, [this] { return !IsRunning(); })) return false;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    if (exitCode) *exitCode = code;
    return true;
}

void CClientProcess::Terminate() {
    if (!m_process.IsValid()) return;
    if (IsRunning()) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 10000);
    }
}

HWND CClientProcess::FindWindow(const wchar_t* className, const wchar_t* title) const {
    return FindTopLevel(m_processId, className, title);
}

HWND CClientProcess::WaitForWindow(const wchar_t* className, DWORD ms, bool visible,
                                   const wchar_t* title) const {
    HWND found = nullptr;
    WaitUntil(ms, [&] {
        found = FindWindow(className, title);
        if (found && visible && !IsWindowVisible(found)) found = nullptr;
        return found != nullptr || !IsRunning();
    });
    return found;
}

MessageBoxInfo CClientProcess::WaitForMessageBox(DWORD ms) const {
    HWND box = WaitForWindow(kDialogClass, ms, true);
    return box ? ReadMessageBox(box) : MessageBoxInfo();
}

SIZE_T CClientProcess::PeakWorkingSet() const {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!m_process.IsValid() || !GetProcessMemoryInfo(m_process, &counters, sizeof(counters))) return 0;
    return counters.PeakWorkingSetSize;
}

bool SendBounded(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD ms) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(wnd, msg, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, ms, &answer))
        return false;
    if (result) *result = static_cast<LRESULT>(answer);
    return true;
}

} // namespace driver
