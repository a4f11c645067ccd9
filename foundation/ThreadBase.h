// CThreadBase: an object that owns one worker thread running its Run, with pause, resume and stop
// signalled through manual-reset events. The object must outlive its thread: delete it only after
// the thread handle has been seen signalled (StopAndRelease does this for an owner at exit).
#pragma once

#include "framework/Handle.h"
#include "framework/Thread.h"

#include <windows.h>

#include <memory>

class CThreadBase {
public:
    enum State { StateNew = 0, StateSuspended = 1, StateRunning = 2, StateEnded = 3 };

    CThreadBase();
    virtual ~CThreadBase();
    CThreadBase(const CThreadBase&) = delete;
    CThreadBase& operator=(const CThreadBase&) = delete;

    virtual void Start(BOOL suspended);
    virtual void Pause();
    virtual void Resume();
    virtual void Stop();
    virtual int GetState() const { return m_nState; }
    virtual HANDLE GetThreadHandle() const;

protected:
    virtual UINT Run() = 0;
    // The owner's thread and the worker both change the state, so every write is interlocked.
    void SetState(State state) { InterlockedExchange(&m_nState, state); }

    CScopedHandle m_hStop;
    CScopedHandle m_hPause;
    CScopedHandle m_hResume;
    volatile LONG m_nState = StateNew;
    std::unique_ptr<CWinThread> m_pThread;

private:
    static UINT ThreadProc(LPVOID param);
};

// Stops the thread and waits up to waitMs for it to end. When it has ended (or never started) the
// object is deleted and TRUE returned. Otherwise the thread still uses the object, so it is left
// alive (released from the owner, for the process's end to reclaim) and FALSE is returned.
BOOL StopAndRelease(std::unique_ptr<CThreadBase>& owner, DWORD waitMs);

template <class T> BOOL StopAndRelease(std::unique_ptr<T>& owner, DWORD waitMs) {
    std::unique_ptr<CThreadBase> base(owner.release());
    return StopAndRelease(base, waitMs);
}
