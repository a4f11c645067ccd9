// CDownloadThread: the background downloader. The user-interface thread queues tasks and sets
// m_hWake; this thread fetches them one at a time, in order, into the URL cache or a file, keeps
// each finished task in m_results under its id and posts the task's message (id in lParam).
//
// Shared state (m_queue, m_results, m_nNextId) is touched only under m_cs, and m_cs is never held
// across a fetch, a wait or a post. Producers append under the lock (QueueTask) and set m_hWake after
// unlocking (Wake); the thread resets m_hWake only under the lock right after looking at the queue,
// so no task is ever left waiting unseen. Consumers copy a result under the lock (GetResult).
#pragma once

#include "ThreadBase.h"

#include "framework/String.h"
#include "framework/Sync.h"

#include <deque>
#include <map>

class CDownloadThread : public CThreadBase {
public:
    struct THREAD_PARAM_DOWN {
        CString strKey;
        CString strUrl;      // in a finished task: the local file
        CString strSavePath; // may hold %VARIABLES%; empty: into the URL cache
        CString strExtra;
        int nFileSize = 0;
        UINT nMsg = 0;
        int nId = 0;
        BOOL bRetry = FALSE;
        int nReserved = 0;
        HWND hWnd = nullptr;
    };

    static const int kDefaultMaxAttempts = 100;
    static const DWORD kDefaultRetryWaitMs = 1000;

    // A failing task with bRetry is tried maxAttempts times, retryWaitMs apart, then dropped.
    explicit CDownloadThread(int maxAttempts = kDefaultMaxAttempts, DWORD retryWaitMs = kDefaultRetryWaitMs);
    ~CDownloadThread() override;

    // Gives the task the next id, appends it under m_cs and returns the id. It does not wake the
    // thread: a producer may queue several tasks, and the main frame's callers wake it themselves
    // once they are done, so waking stays its own step (Wake).
    int QueueTask(THREAD_PARAM_DOWN task);
    // Sets m_hWake: the thread takes every task queued so far.
    void Wake() { SetEvent(m_hWake); }
    // Copies the finished task under id into result (its strUrl is then the local file). FALSE when
    // there is none: the download failed or has not finished. The entry stays for later readers.
    BOOL GetResult(int id, THREAD_PARAM_DOWN& result);

    CScopedHandle m_hWake;
    CCriticalSection m_cs;
    int m_nNextId = 0;
    std::deque<THREAD_PARAM_DOWN> m_queue;
    std::map<int, THREAD_PARAM_DOWN> m_results;

protected:
    UINT Run() override;

private:
    enum class Outcome { Finished, Ended };

    Outcome Carry(THREAD_PARAM_DOWN task);
    // Fetches once; on success localPath names the file. FALSE with fatal set means retrying is futile.
    BOOL Attempt(const THREAD_PARAM_DOWN& task, CString& localPath, bool& fatal);
    // FALSE when the stop event ends the wait.
    BOOL HonourPause();
    void Report(THREAD_PARAM_DOWN task, const CString* localPath);

    const int m_nMaxAttempts;
    const DWORD m_nRetryWaitMs;
};
