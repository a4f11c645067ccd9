// CClientProcess: one started program (the client, or a bare program of a benchmark) seen from
// outside: its windows, message boxes and menus, its memory, and its end. The object owns the process:
// one still running when the object goes is ended, so a failing test leaves nothing behind.
#pragma once

#include "framework/Handle.h"
#include "framework/String.h"
#include "tools/driver/WindowQuery.h"

#include <windows.h>

#include <vector>

namespace driver {

class CClientProcess {
public:
    CClientProcess() = default;
    ~CClientProcess() { Terminate(); }
    CClientProcess(const CClientProcess&) = delete;
    CClientProcess& operator=(const CClientProcess&) = delete;

    // Starts the program with these arguments (quoted as the C runtime reads them back), in the
    // program's own folder. False when it could not start or a process is held already.
    bool Start(const CString& program, const std::vector<CString>& arguments = {});
    DWORD Id() const { return m_processId; }
    HANDLE Handle() const { return m_process; }
    bool IsRunning() const;
    // Waits up to ms for the process to end; true (with its exit code) when it did.
    bool WaitForExit(DWORD ms, DWORD* exitCode = nullptr);
    // Ends the process at once, if still running, and waits until it is gone.
    void Terminate();

    // The process's first top-level window of this class (and title, unless null).
    HWND FindWindow(const wchar_t* className, const wchar_t* title = nullptr) const;
    // Waits for such a window, visible when asked; null after ms or when the process ended.
    HWND WaitForWindow(const wchar_t* className, DWORD ms, bool visible = false,
                       const wchar_t* title = nullptr) const;
    // Waits for a message box of the process; an info without a box after ms.
    MessageBoxInfo WaitForMessageBox(DWORD ms) const;
    // Waits for a pop-up menu of the process (the window a tracked menu shows); null after ms.
    HWND WaitForMenu(DWORD ms) const { return WaitForWindow(kMenuClass, ms, true); }

    // The process's peak working set so far, in bytes; 0 when it cannot be read.
    SIZE_T PeakWorkingSet() const;

    // Joins arguments into one command line that CommandLineToArgvW splits back into the same texts.
    static CString QuoteArguments(const std::vector<CString>& arguments);

private:
    CScopedHandle m_process;
    DWORD m_processId = 0;
};

// Sends a message and waits at most ms for the answer; false when the window did not answer (it is
// gone, or its thread is stuck).
bool SendBounded(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD ms = 5000);

} // namespace driver
