#include "DownloadThread.h"

#include "framework/File.h"

#include <objbase.h>
#include <shlwapi.h>
#include <urlmon.h>
#include <wininet.h>

namespace {

const DWORD kPathChars = MAX_PATH; // room for 259 characters and the terminator

// Balances CoInitialize on every way out of Run.
struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

} // namespace

CDownloadThread::CDownloadThread(int maxAttempts, DWORD retryWaitMs)
    : m_hWake(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_nMaxAttempts(maxAttempts > 0 ? maxAttempts : 1),
      m_nRetryWaitMs(retryWaitMs) {}

CDownloadThread::~CDownloadThread() = default;

int CDownloadThread::QueueTask(THREAD_PARAM_DOWN task) {
    CSingleLock lock(&m_cs, TRUE);
    task.nId = m_nNextId++;
    m_queue.push_back(task);
    return task.nId;
}

BOOL CDownloadThread::GetResult(int id, THREAD_PARAM_DOWN& result) {
    CSingleLock lock(&m_cs, TRUE);
    auto found = m_results.find(id);
    if (found == m_results.end()) return FALSE;
    result = found->second;
    return TRUE;
}

UINT CDownloadThread::Run() {
    AfxSocketInit();
    ComScope com;
    for (;;) {
        // The stop event comes first, so a stop wins when both are set.
        HANDLE events[2] = {m_hStop, m_hWake};
        DWORD wait = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (wait != WAIT_OBJECT_0 + 1) return 1;
        for (;;) {
            THREAD_PARAM_DOWN task;
            {
                CSingleLock lock(&m_cs, TRUE);
                if (m_queue.empty()) {
                    ResetEvent(m_hWake);
                    break;
                }
                task = m_queue.front();
                m_queue.pop_front();
                ResetEvent(m_hWake);
            }
            if (Carry(task) == Outcome::Ended) {
                SetState(StateEnded);
                return 0;
            }
        }
    }
}

CDownloadThread::Outcome CDownloadThread::Carry(THREAD_PARAM_DOWN task) {
    for (int attempts = 0;;) {
        CString localPath;
        bool fatal = false;
        if (Attempt(task, localPath, fatal)) {
            Report(task, &localPath);
            return Outcome::Finished;
        }
        if (!task.bRetry || fatal) {
            Report(task, nullptr);
            return Outcome::Finished;
        }
        if (WaitForSingleObject(m_hStop, m_nRetryWaitMs) != WAIT_TIMEOUT) return Outcome::Ended;
        if (!HonourPause()) return Outcome::Ended;
        ++attempts;
        if (WaitForSingleObject(m_hStop, 0) != WAIT_TIMEOUT) return Outcome::Ended;
        if (!HonourPause()) return Outcome::Ended;
        if (attempts >= m_nMaxAttempts) return Outcome::Finished; // dropped: no entry, no message
    }
}

BOOL CDownloadThread::Attempt(const THREAD_PARAM_DOWN& task, CString& localPath, bool& fatal) {
    // Every attempt fetches afresh.
    DeleteUrlCacheEntryW(task.strUrl);

    if (!task.strSavePath.IsEmpty()) {
        wchar_t path[kPathChars] = {};
        DWORD needed = ExpandEnvironmentStringsW(task.strSavePath, path, kPathChars);
        if (needed == 0 || needed > kPathChars) {
            fatal = true; // the path does not fit: no attempt can succeed
            return FALSE;
        }
        localPath = path;
        CFileStatus status;
        if (task.nFileSize > 0 && PathFileExistsW(path) && CFile::GetStatus(path, status) &&
            status.m_size == static_cast<ULONGLONG>(task.nFileSize))
            return TRUE;
        return URLDownloadToFileW(nullptr, task.strUrl, path, 0, nullptr) == S_OK;
    }

    wchar_t cacheFile[kPathChars] = {};
    if (URLDownloadToCacheFileW(nullptr, task.strUrl, cacheFile, kPathChars, 0, nullptr) != S_OK)
        return FALSE;
    cacheFile[kPathChars - 1] = L'\0';
    if (!cacheFile[0]) return FALSE;
    localPath = cacheFile;
    return TRUE;
}

BOOL CDownloadThread::HonourPause() {
    if (WaitForSingleObject(m_hPause, 0) != WAIT_OBJECT_0) return TRUE;
    HANDLE events[2] = {m_hStop, m_hResume};
    return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}

void CDownloadThread::Report(THREAD_PARAM_DOWN task, const CString* localPath) {
    if (localPath) {
        task.strUrl = *localPath;
        CSingleLock lock(&m_cs, TRUE);
        m_results[task.nId] = task;
    }
    PostMessageW(task.hWnd, task.nMsg, 0, static_cast<LPARAM>(task.nId));
}
