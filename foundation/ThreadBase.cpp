#include "ThreadBase.h"

namespace {

HANDLE NewManualEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

} // namespace

CThreadBase::CThreadBase()
    : m_hStop(NewManualEvent()), m_hPause(NewManualEvent()), m_hResume(NewManualEvent()) {}

// The events close with their owners; the thread handle closes with m_pThread.
CThreadBase::~CThreadBase() = default;

void CThreadBase::Start(BOOL suspended) {
    ResetEvent(m_hStop);
    ResetEvent(m_hPause);
    ResetEvent(m_hResume);
    if (suspended) {
        SetState(StateSuspended);
        return;
    }
    // Running before the thread exists: a thread that ends at once must not have its end overwritten.
    SetState(StateRunning);
    m_pThread = AfxBeginThread(&CThreadBase::ThreadProc, this, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
    if (!m_pThread) SetState(StateEnded);
}

// Pause and Resume change the state only from the one they expect, in one step: the worker may end
// (StateEnded) at any moment, and that must not be turned back into a running or paused state.
void CThreadBase::Pause() {
    if (InterlockedCompareExchange(&m_nState, StateSuspended, StateRunning) != StateRunning) return;
    ResetEvent(m_hResume);
    SetEvent(m_hPause);
}

void CThreadBase::Resume() {
    if (m_nState != StateSuspended) return;
    if (!m_pThread) {
        Start(FALSE);
        return;
    }
    if (InterlockedCompareExchange(&m_nState, StateRunning, StateSuspended) != StateSuspended) return;
    ResetEvent(m_hPause);
    SetEvent(m_hResume);
}

void CThreadBase::Stop() {
    if (m_nState != StateEnded) SetEvent(m_hStop);
}

HANDLE CThreadBase::GetThreadHandle() const {
    return m_pThread ? m_pThread->GetHandle() : nullptr;
}

UINT CThreadBase::ThreadProc(LPVOID param) {
    if (!param) return 0;
    return static_cast<CThreadBase*>(param)->Run();
}

BOOL StopAndRelease(std::unique_ptr<CThreadBase>& owner, DWORD waitMs) {
    if (!owner) return TRUE;
    owner->Stop();
    HANDLE thread = owner->GetThreadHandle();
    if (thread && WaitForSingleObject(thread, waitMs) != WAIT_OBJECT_0) {
        owner.release(); // still running on this object: leave it alive
        return FALSE;
    }
    owner.reset();
    return TRUE;
}
