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
        m_nState = StateSuspended;
        return;
    }
    m_pThread = AfxBeginThread(&CThreadBase::ThreadProc, this, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
    m_nState = m_pThread ? StateRunning : StateEnded;
}

void CThreadBase::Pause() {
    if (m_nState != StateRunning) return;
    ResetEvent(m_hResume);
    SetEvent(m_hPause);
    m_nState = StateSuspended;
}

void CThreadBase::Resume() {
    if (m_nState != StateSuspended) return;
    if (!m_pThread) {
        Start(FALSE);
        return;
    }
    ResetEvent(m_hPause);
    SetEvent(m_hResume);
    m_nState = StateRunning;
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
