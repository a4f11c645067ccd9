// The download thread against the local stand-in for the operator's service: ordering, ids,
// targets, retries, stopping, and completion messages received by a message-only window.
#include "foundation/DownloadThread.h"
#include "foundation/Http.h"

#include "OperatorService.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const UINT WM_TASK_DONE = WM_USER + 102;

// A message-only window that records every (message, lParam) it receives.
class MessageSink {
public:
    MessageSink() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &MessageSink::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PellarDownloadTestSink";
        RegisterClassW(&wc);
        m_hWnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                 this);
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageSink() { DestroyWindow(m_hWnd); }
    HWND Handle() const { return m_hWnd; }

    // Pumps messages until count task ids have arrived or timeoutMs passed; returns the ids.
    std::vector<int> WaitFor(size_t count, DWORD timeoutMs) {
        DWORD start = GetTickCount();
        while (m_ids.size() < count && GetTickCount() - start < timeoutMs) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&msg);
            }
        }
        return m_ids;
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<MessageSink*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (self && msg == WM_TASK_DONE) {
            self->m_ids.push_back(static_cast<int>(lParam));
            self->m_wParams.push_back(wParam);
            return 0;
        }
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
    std::vector<int> m_ids;

public:
    std::vector<WPARAM> m_wParams;
};

std::string FileBytes(const CString& path) {
    return service::ReadAll(path.Str());
}

class DownloadThreadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GT(service::Port(), 0) << "the operator stand-in is not running"; }

    void StartThread(int attempts = 3, DWORD retryWaitMs = 20) {
        m_thread = std::make_unique<CDownloadThread>(attempts, retryWaitMs);
        m_thread->Start(FALSE);
        ASSERT_EQ(CThreadBase::StateRunning, m_thread->GetState());
    }

    void TearDown() override {
        if (m_thread) {
            EXPECT_TRUE(StopAndRelease(m_thread, 20000));
        }
    }

    // What a producer does: fill, take the next id and append under the lock, then wake.
    int Queue(const CString& url, const CString& savePath, BOOL retry = FALSE, int fileSize = 0) {
        CDownloadThread::THREAD_PARAM_DOWN task;
        task.strKey = L"key:" + url;
        task.strUrl = url;
        task.strSavePath = savePath;
        task.strExtra = L"extra";
        task.nFileSize = fileSize;
        task.nMsg = WM_TASK_DONE;
        task.bRetry = retry;
        task.nReserved = 77;
        task.hWnd = m_sink.Handle();
        int id;
        {
            CSingleLock lock(&m_thread->m_cs, TRUE);
            id = task.nId = m_thread->m_nNextId++;
            m_thread->m_queue.push_back(task);
        }
        SetEvent(m_thread->m_hWake);
        return id;
    }

    // The finished task under id, as a consumer reads it; false when there is none.
    bool Result(int id, CDownloadThread::THREAD_PARAM_DOWN& task) {
        CSingleLock lock(&m_thread->m_cs, TRUE);
        auto it = m_thread->m_results.find(id);
        if (it == m_thread->m_results.end()) return false;
        task = it->second;
        return true;
    }

    // Nothing listens on port 1 of the loopback address: the connection is refused at once.
    static CString RefusedUrl() { return L"http://127.0.0.1:1/refused"; }

    TempDir m_dir;
    MessageSink m_sink;
    std::unique_ptr<CDownloadThread> m_thread;
};

TEST_F(DownloadThreadTest, TasksGetIdsFromZeroAndFinishInQueueOrderIntoFiles) {
    StartThread();
    CString tag = service::Tag(L"order");
    int first = Queue(service::Url(L"/data/") + tag + L"?size=5000", m_dir / L"a.bin");
    int second = Queue(service::Url(L"/data/") + tag + L"?size=3000", m_dir / L"b.bin");
    EXPECT_EQ(0, first);
    EXPECT_EQ(1, second);

    std::vector<int> ids = m_sink.WaitFor(2, 20000);
    ASSERT_EQ((std::vector<int>{0, 1}), ids);
    EXPECT_EQ((std::vector<WPARAM>{0, 0}), m_sink.m_wParams);

    CDownloadThread::THREAD_PARAM_DOWN done;
    ASSERT_TRUE(Result(0, done));
    EXPECT_EQ(m_dir / L"a.bin", done.strUrl);
    EXPECT_EQ(L"key:" + service::Url(L"/data/") + tag + L"?size=5000", done.strKey);
    EXPECT_EQ(CString(L"extra"), done.strExtra);
    EXPECT_EQ(77, done.nReserved);
    EXPECT_EQ(0, done.nId);
    EXPECT_EQ(service::Pattern(5000), FileBytes(m_dir / L"a.bin"));
    ASSERT_TRUE(Result(1, done));
    EXPECT_EQ(service::Pattern(3000), FileBytes(done.strUrl));
}

TEST_F(DownloadThreadTest, ExistingFileOfTheExpectedSizeIsReportedWithoutNetwork) {
    StartThread();
    const std::string old = "already here, 29 bytes long!!";
    ASSERT_EQ(29u, old.size());
    m_dir.WriteFile(L"kept.bin", old);
    m_dir.WriteFile(L"refetched.bin", old);
    SetEnvironmentVariableW(L"PELLAR_DL_DIR", m_dir.Path());

    CString keptTag = service::Tag(L"kept");
    CString refetchTag = service::Tag(L"refetch");
    int kept =
        Queue(service::Url(L"/data/") + keptTag + L"?size=29", L"%PELLAR_DL_DIR%\\kept.bin", FALSE, 29);
    // Size 0 means: always fetch, even over an existing file.
    int refetched = Queue(service::Url(L"/data/") + refetchTag + L"?size=29",
                          L"%PELLAR_DL_DIR%\\refetched.bin", FALSE, 0);
    ASSERT_EQ(2u, m_sink.WaitFor(2, 20000).size());

    CDownloadThread::THREAD_PARAM_DOWN done;
    ASSERT_TRUE(Result(kept, done));
    EXPECT_EQ(m_dir / L"kept.bin", done.strUrl); // the expanded path
    EXPECT_EQ(old, FileBytes(m_dir / L"kept.bin"));
    EXPECT_TRUE(service::Requests(keptTag).empty());

    ASSERT_TRUE(Result(refetched, done));
    EXPECT_EQ(service::Pattern(29), FileBytes(m_dir / L"refetched.bin"));
    EXPECT_EQ(1u, service::Requests(refetchTag).size());
}

TEST_F(DownloadThreadTest, FailureWithoutRetryIsReportedAtOnceWithoutEntry) {
    StartThread();
    int failed = Queue(RefusedUrl(), m_dir / L"never.bin");
    int cacheFailed = Queue(RefusedUrl() + L".bin", L"");
    ASSERT_EQ((std::vector<int>{failed, cacheFailed}), m_sink.WaitFor(2, 20000));
    CDownloadThread::THREAD_PARAM_DOWN done;
    EXPECT_FALSE(Result(failed, done));
    EXPECT_FALSE(Result(cacheFailed, done));
}

TEST_F(DownloadThreadTest, RetriedTaskSucceedsOnceTheServerListens) {
    StartThread(100, 100);
    CString tag = service::Tag(L"retry");
    // A port that refuses connections for the first 600 ms, then serves.
    int port = _wtoi(HttpGet(service::Url(L"/_control?late_port=600")));
    ASSERT_GT(port, 0);
    CString url;
    url.Format(L"http://127.0.0.1:%d/data/%s.bin?size=100", port, tag.GetString());
    int id = Queue(url, m_dir / L"r.bin", TRUE);
    ASSERT_EQ(std::vector<int>{id}, m_sink.WaitFor(1, 20000));
    CDownloadThread::THREAD_PARAM_DOWN done;
    ASSERT_TRUE(Result(id, done));
    EXPECT_EQ(service::Pattern(100), FileBytes(m_dir / L"r.bin"));
    EXPECT_EQ(1u, service::Requests(tag).size());
}

TEST_F(DownloadThreadTest, ExhaustedRetriesDropTheTaskSilently) {
    StartThread(3, 20);
    CString tag = service::Tag(L"exhaust");
    int dropped = Queue(RefusedUrl(), m_dir / L"d.bin", TRUE);
    int next = Queue(service::Url(L"/data/") + tag + L".bin?size=10", m_dir / L"n.bin");
    // Tasks run in order, so the message of the next task proves the first one is over.
    ASSERT_EQ(std::vector<int>{next}, m_sink.WaitFor(1, 20000));
    CDownloadThread::THREAD_PARAM_DOWN done;
    EXPECT_FALSE(Result(dropped, done));
    EXPECT_TRUE(Result(next, done));
}

TEST_F(DownloadThreadTest, UrlCacheTargetAndTwoTasksForOneAddress) {
    StartThread();
    CString tag = service::Tag(L"cache");
    // (the name needs an extension: the platform derives the cache file's extension from it)
    CString url = service::Url(L"/data/") + tag + L".bin?size=2048";
    int a = Queue(url, L"");
    int b = Queue(url, L"");
    ASSERT_EQ((std::vector<int>{a, b}), m_sink.WaitFor(2, 20000));
    CDownloadThread::THREAD_PARAM_DOWN first, second;
    ASSERT_TRUE(Result(a, first));
    ASSERT_TRUE(Result(b, second));
    EXPECT_NE(url, first.strUrl);
    EXPECT_NE(url, second.strUrl);
    // The second task removed the first one's cache entry (and file) before fetching again.
    EXPECT_EQ(service::Pattern(2048), FileBytes(second.strUrl));
    EXPECT_EQ(2u, service::Requests(tag).size()); // both fetched afresh
}

TEST_F(DownloadThreadTest, PathThatDoesNotFitFailsAtOnceEvenWithRetry) {
    StartThread(100, 1000);
    CString longName(L'n', 300);
    SetEnvironmentVariableW(L"PELLAR_DL_LONG", CString(L'x', 250));
    CString tag = service::Tag(L"long");
    int tooLong = Queue(service::Url(L"/data/") + tag, m_dir / longName, TRUE);
    int expandsTooLong = Queue(service::Url(L"/data/") + tag, L"C:\\%PELLAR_DL_LONG%\\file.bin", TRUE);
    ASSERT_EQ((std::vector<int>{tooLong, expandsTooLong}), m_sink.WaitFor(2, 5000));
    CDownloadThread::THREAD_PARAM_DOWN done;
    EXPECT_FALSE(Result(tooLong, done));
    EXPECT_FALSE(Result(expandsTooLong, done));
    EXPECT_TRUE(service::Requests(tag).empty());
}

TEST_F(DownloadThreadTest, StopWhileIdleEndsTheThreadInRunningState) {
    StartThread();
    HANDLE handle = m_thread->GetThreadHandle();
    ASSERT_NE(nullptr, handle);
    m_thread->Stop();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handle, 10000));
    DWORD code = 0;
    GetExitCodeThread(handle, &code);
    EXPECT_EQ(1u, code);
    EXPECT_EQ(CThreadBase::StateRunning, m_thread->GetState());
    EXPECT_TRUE(StopAndRelease(m_thread, 0));
    EXPECT_EQ(nullptr, m_thread);
}

TEST_F(DownloadThreadTest, StopDuringRetryWaitEndsTheThreadWithoutReport) {
    StartThread(100, 60000);
    int id = Queue(RefusedUrl(), m_dir / L"x.bin", TRUE);
    Sleep(300); // the refused attempt is over; the thread waits to retry
    m_thread->Stop();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_thread->GetThreadHandle(), 10000));
    EXPECT_EQ(CThreadBase::StateEnded, m_thread->GetState());
    EXPECT_TRUE(m_sink.WaitFor(1, 200).empty());
    CDownloadThread::THREAD_PARAM_DOWN done;
    EXPECT_FALSE(Result(id, done));
}

TEST_F(DownloadThreadTest, OwnerKeepsTheObjectAliveWhileADownloadIsUnderWay) {
    StartThread();
    CString tag = service::Tag(L"slow");
    int slow = Queue(service::Url(L"/data/") + tag + L"?size=500&_delay=2000", m_dir / L"slow.bin");
    int queued = Queue(service::Url(L"/data/") + tag + L"-next?size=10", m_dir / L"next.bin");
    for (int i = 0; i < 100 && service::Requests(tag).empty(); ++i)
        Sleep(20);
    ASSERT_FALSE(service::Requests(tag).empty()) << "the slow download never started";

    CDownloadThread* alive = m_thread.get();
    EXPECT_FALSE(StopAndRelease(m_thread, 100)); // the fetch is still running
    EXPECT_EQ(nullptr, m_thread);

    // The thread finishes what it has (also the queued task), then sees the stop and ends.
    ASSERT_EQ((std::vector<int>{slow, queued}), m_sink.WaitFor(2, 20000));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(alive->GetThreadHandle(), 10000));
    EXPECT_EQ(service::Pattern(500), FileBytes(m_dir / L"slow.bin"));
    m_thread.reset(alive);
    EXPECT_TRUE(StopAndRelease(m_thread, 0));
}

TEST_F(DownloadThreadTest, PausedThreadStillFetchesAndStopEndsItsRetryWait) {
    StartThread(100, 50);
    m_thread->Pause();
    EXPECT_EQ(CThreadBase::StateSuspended, m_thread->GetState());
    int fetched = Queue(service::Url(L"/data/paused?size=10"), m_dir / L"p.bin");
    ASSERT_EQ(std::vector<int>{fetched}, m_sink.WaitFor(1, 20000));
    // A failing retried task now waits for the resume; a stop ends that wait.
    Queue(RefusedUrl(), m_dir / L"q.bin", TRUE);
    Sleep(300);
    m_thread->Stop();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_thread->GetThreadHandle(), 10000));
    EXPECT_EQ(CThreadBase::StateEnded, m_thread->GetState());
}

TEST(ThreadBase, SuspendedStartMakesTheThreadOnlyAtResume) {
    CDownloadThread thread;
    EXPECT_EQ(CThreadBase::StateNew, thread.GetState());
    thread.Start(TRUE);
    EXPECT_EQ(CThreadBase::StateSuspended, thread.GetState());
    EXPECT_EQ(nullptr, thread.GetThreadHandle());
    thread.Pause(); // only in the running state
    EXPECT_EQ(CThreadBase::StateSuspended, thread.GetState());
    thread.Resume();
    EXPECT_EQ(CThreadBase::StateRunning, thread.GetState());
    ASSERT_NE(nullptr, thread.GetThreadHandle());
    thread.Pause();
    thread.Resume();
    EXPECT_EQ(CThreadBase::StateRunning, thread.GetState());
    thread.Stop();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetThreadHandle(), 10000));
}

TEST_F(DownloadThreadTest, ServedInstallerRunsAndRecordsItsArguments) {
    StartThread();
    int id = Queue(service::Url(L"/download/PellarNext.exe?mytime=5"), m_dir / L"next.exe");
    ASSERT_EQ(std::vector<int>{id}, m_sink.WaitFor(1, 20000));
    CDownloadThread::THREAD_PARAM_DOWN done;
    ASSERT_TRUE(Result(id, done));

    CString record = m_dir / L"runs.txt";
    SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", record);
    CString command = L"\"" + done.strUrl + L"\" install 7";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    command.ReleaseBuffer();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 20000));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", nullptr);
    std::string line = FileBytes(record);
    EXPECT_NE(std::string::npos, line.find("next.exe|install 7")) << line;
}

} // namespace
