// Worker threads in the class library's manner: AfxBeginThread starts a procedure on a new thread
// and hands back a CWinThread that owns the thread handle. Unlike an auto-deleting thread object,
// ours stays valid after the thread has ended, so an owner can always wait on the handle safely;
// it is freed only by its owner.
#pragma once

#include "Handle.h"

#include <windows.h>

#include <memory>

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    CWinThread() = default;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    HANDLE GetHandle() const { return m_hThread; }
    DWORD GetThreadId() const { return m_nThreadID; }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }

    CScopedHandle m_hThread;
    DWORD m_nThreadID = 0;
};

// Starts proc(param) on a new thread. Returns null when no thread could be made. With
// CREATE_SUSPENDED in createFlags the thread waits for ResumeThread. An exception thrown by proc
// ends the thread with the exit code 0xFFFFFFFF instead of leaving the thread function.
std::unique_ptr<CWinThread> AfxBeginThread(AFX_THREADPROC proc, LPVOID param,
                                           int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                                           DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);

// Makes Windows Sockets usable in this process (started once, kept until the process ends).
BOOL AfxSocketInit();
