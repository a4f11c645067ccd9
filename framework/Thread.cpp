#include <winsock2.h>

#include "Thread.h"

#include "DebugLog.h"

#include <process.h>

namespace {

struct StartInfo {
    AFX_THREADPROC proc;
    LPVOID param;
};

unsigned __stdcall ThreadEntry(void* raw) {
    std::unique_ptr<StartInfo> info(static_cast<StartInfo*>(raw));
    try {
        return info->proc(info->param);
    } catch (...) {
        DebugLogException(L"worker thread");
        return 0xFFFFFFFFu;
    }
}

// Started once; WSACleanup runs when the process's statics are destroyed.
struct SocketLibrary {
    bool started = false;
    SocketLibrary() {
        WSADATA data = {};
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~SocketLibrary() {
        if (started) WSACleanup();
    }
};

} // namespace

std::unique_ptr<CWinThread> AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                                           DWORD createFlags, LPSECURITY_ATTRIBUTES security) {
    if (!proc) return nullptr;
    auto thread = std::make_unique<CWinThread>();
    auto* info = new (std::nothrow) StartInfo{proc, param};
    if (!info) return nullptr;
    unsigned id = 0;
    // Always start suspended so the priority is set before the procedure runs.
    uintptr_t handle = _beginthreadex(security, stackSize, ThreadEntry, info, CREATE_SUSPENDED, &id);
    if (!handle) {
        delete info;
        return nullptr;
    }
    thread->m_hThread.Attach(reinterpret_cast<HANDLE>(handle));
    thread->m_nThreadID = id;
    if (priority != THREAD_PRIORITY_NORMAL) thread->SetThreadPriority(priority);
    if (!(createFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}

BOOL AfxSocketInit() {
    static SocketLibrary library;
    return library.started ? TRUE : FALSE;
}
