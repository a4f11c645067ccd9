// The download thread against the local stand-in for the operator's service: ordering, ids,
// targets, retries, stopping, and completion messages received by a message-only window.
#include "foundation/DownloadThread.h"
#include "foundation/Http.h"
#include "framework/Wnd.h"

#include "OperatorService.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const UINT WM_TASK_DONE = WM_USER + 102;

// A message-only window that records the task id (lParam) of every completion message.
class MessageSink : public CWnd {
public:
    MessageSink() { CreateEx(0, AfxRegisterWndClass(0), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr); }
    HWND Handle() const { return m_hWnd; }

    // Pumps messages until count ids have arrived or timeoutMs passed; returns the ids.
    std::vector<int> WaitFor(size_t count, DWORD timeoutMs) {
        for (DWORD start = GetTickCount(); m_ids.size() < count && GetTickCount() - start < timeoutMs;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
        return m_ids;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_TASK_DONE) return CWnd::WindowProc(msg, wParam, lParam);
        EXPECT_EQ(0u, wParam);
        m_ids.push_back(static_cast<int>(lParam));
        return 0;
    }

private:
    std::vector<int> m_ids;
};

using Task = CDownloadThread::THREAD_PARAM_DOWN;

class DownloadThreadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GT(service::Port(), 0) << "the operator stand-in is not running"; }
    void TearDown() override {
        if (m_thread) {
            EXPECT_TRUE(StopAndRelease(m_thread, 20000));
        }
    }

    void StartThread(int attempts = 3, DWORD retryWaitMs = 20) {
        m_thread = std::make_unique<CDownloadThread>(attempts, retryWaitMs);
        m_thread->Start(FALSE);
        ASSERT_EQ(CThreadBase::StateRunning, m_thread->GetState());
    }

    // What a producer does: fill, queue, wake.
    int Queue(const CString& url, const CString& savePath, BOOL retry = FALSE, int fileSize = 0) {
        const int id = m_thread->QueueTask(Task{L"key:" + url, url, savePath, L"extra", fileSize,
                                                WM_TASK_DONE, -1, retry, 77, m_sink.Handle()});
        m_thread->Wake();
        return id;
    }

    bool Result(int id, Task& task) { return m_thread->GetResult(id, task) != FALSE; }
    bool HasResult(int id) {
        Task ignored;
        return Result(id, ignored);
    }

    // Nothing listens on port 1 of the loopback address: the connection is refused at once.
    static CString RefusedUrl() { return L"http://127.0.0.1:1/refused"; }

    TempDir m_dir;
    MessageSink m_sink;
    std::unique_ptr<CDownloadThread> m_thread;
};

TEST_F(DownloadThreadTest, TasksGetIdsFromZeroAndFinishInQueueOrderIntoFiles) {
    StartThread();
    const std::string old = "already here, 29 bytes long!!";
    m_dir.WriteFile(L"kept.bin", old);
    m_dir.WriteFile(L"refetched.bin", old);
    SetEnvironmentVariableW(L"PELLAR_DL_DIR", m_dir.Path());
    const CString tag = service::Tag(L"order"), keptTag = service::Tag(L"kept");
    const CString url = service::Url(L"/data/") + tag;
    EXPECT_EQ(0, Queue(url + L"?size=5000", m_dir / L"a.bin"));
    // An existing file of the expected size is reported without network; size 0 always fetches.
    EXPECT_EQ(
        1, Queue(service::Url(L"/data/") + keptTag + L"?size=29", L"%PELLAR_DL_DIR%\\kept.bin", FALSE, 29));
    EXPECT_EQ(2, Queue(url + L"?size=29", L"%PELLAR_DL_DIR%\\refetched.bin"));
    ASSERT_EQ((std::vector<int>{0, 1, 2}), m_sink.WaitFor(3, 20000));

    Task done;
    ASSERT_TRUE(Result(0, done));
    EXPECT_EQ(m_dir / L"a.bin", done.strUrl);
    EXPECT_EQ(L"key:" + url + L"?size=5000", done.strKey);
    EXPECT_EQ(CString(L"extra"), done.strExtra);
    EXPECT_EQ(77, done.nReserved);
    EXPECT_EQ(service::Pattern(5000), TempDir::ReadFile(m_dir / L"a.bin"));
    ASSERT_TRUE(Result(1, done));
    EXPECT_EQ(m_dir / L"kept.bin", done.strUrl) << "the expanded path";
    EXPECT_EQ(old, TempDir::ReadFile(m_dir / L"kept.bin"));
    EXPECT_TRUE(service::Requests(keptTag).empty());
    ASSERT_TRUE(HasResult(2));
    EXPECT_EQ(service::Pattern(29), TempDir::ReadFile(m_dir / L"refetched.bin"));
    EXPECT_EQ(2u, service::Requests(tag).size());
}

TEST_F(DownloadThreadTest, FailuresAreReportedWithoutEntryAndExhaustedRetriesSilently) {
    StartThread(3, 20);
    const CString tag = service::Tag(L"fail");
    int failed = Queue(RefusedUrl(), m_dir / L"never.bin");
    int cacheFailed = Queue(RefusedUrl() + L".bin", L"");
    int dropped = Queue(RefusedUrl(), m_dir / L"d.bin", TRUE);
    // A path that does not fit (as given, or once expanded) fails at once, retry or not.
    SetEnvironmentVariableW(L"PELLAR_DL_LONG", CString(L'x', 250));
    int tooLong = Queue(service::Url(L"/data/") + tag, m_dir / CString(L'n', 300), TRUE);
    int expandsTooLong = Queue(service::Url(L"/data/") + tag, L"C:\\%PELLAR_DL_LONG%\\file.bin", TRUE);
    int next = Queue(service::Url(L"/data/") + tag + L".bin?size=10", m_dir / L"n.bin");
    // Tasks run in order, so the message of the last task proves the others are over.
    ASSERT_EQ((std::vector<int>{failed, cacheFailed, tooLong, expandsTooLong, next}),
              m_sink.WaitFor(5, 20000));
    for (int id : {failed, cacheFailed, dropped, tooLong, expandsTooLong})
        EXPECT_FALSE(HasResult(id)) << id;
    EXPECT_TRUE(HasResult(next));
    EXPECT_EQ(1u, service::Requests(tag).size());
}

TEST_F(DownloadThreadTest, RetriedTaskSucceedsOnceTheServerListens) {
    StartThread(100, 100);
    const CString tag = service::Tag(L"retry");
    // A port that refuses connections for the first 600 ms, then serves.
    int port = _wtoi(HttpGet(service::Url(L"/_control?late_port=600")));
    ASSERT_GT(port, 0);
    CString url;
    url.Format(L"http://127.0.0.1:%d/data/%s.bin?size=100", port, tag.GetString());
    int id = Queue(url, m_dir / L"r.bin", TRUE);
    ASSERT_EQ(std::vector<int>{id}, m_sink.WaitFor(1, 20000));
    ASSERT_TRUE(HasResult(id));
    EXPECT_EQ(service::Pattern(100), TempDir::ReadFile(m_dir / L"r.bin"));
    EXPECT_EQ(1u, service::Requests(tag).size());
}

TEST_F(DownloadThreadTest, UrlCacheTargetAndTwoTasksForOneAddress) {
    StartThread();
    const CString tag = service::Tag(L"cache");
    // (the name needs an extension: the platform derives the cache file's extension from it)
    const CString url = service::Url(L"/data/") + tag + L".bin?size=2048";
    int a = Queue(url, L"");
    int b = Queue(url, L"");
    ASSERT_EQ((std::vector<int>{a, b}), m_sink.WaitFor(2, 20000));
    Task first, second;
    ASSERT_TRUE(Result(a, first));
    ASSERT_TRUE(Result(b, second));
    EXPECT_NE(url, first.strUrl);
    // The second task removed the first one's cache entry (and file) before fetching again.
    EXPECT_EQ(service::Pattern(2048), TempDir::ReadFile(second.strUrl));
    EXPECT_EQ(2u, service::Requests(tag).size());
}

TEST_F(DownloadThreadTest, StopEndsARetryWaitPausedOrNot) {
    for (bool paused : {false, true}) {
        StartThread(100, paused ? 50 : 60000);
        if (paused) {
            m_thread->Pause();
            EXPECT_EQ(CThreadBase::StateSuspended, m_thread->GetState());
            // Pausing holds only retries back: a fresh task is still fetched.
            int fetched = Queue(service::Url(L"/data/paused?size=10"), m_dir / L"p.bin");
            ASSERT_EQ(std::vector<int>{fetched}, m_sink.WaitFor(1, 20000));
        }
        int id = Queue(RefusedUrl(), m_dir / L"x.bin", TRUE);
        Sleep(300); // the refused attempt is over; the thread waits to retry
        m_thread->Stop();
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_thread->GetThreadHandle(), 10000));
        EXPECT_EQ(CThreadBase::StateEnded, m_thread->GetState());
        EXPECT_FALSE(HasResult(id));
        EXPECT_TRUE(StopAndRelease(m_thread, 0));
    }
    EXPECT_EQ(1u, m_sink.WaitFor(2, 200).size()) << "no report of the stopped task";
}

TEST_F(DownloadThreadTest, PauseHoldsRetriesBackUntilResume) {
    StartThread(100, 20);
    m_thread->Pause();
    const CString tag = service::Tag(L"pause");
    // A port that refuses the first attempt and serves from 300 ms on.
    const int port = _wtoi(HttpGet(service::Url(L"/_control?late_port=300")));
    ASSERT_GT(port, 0);
    CString url;
    url.Format(L"http://127.0.0.1:%d/data/%s.bin?size=10", port, tag.GetString());
    const int id = Queue(url, m_dir / L"held.bin", TRUE);
    EXPECT_TRUE(m_sink.WaitFor(1, 1500).empty()) << "a paused thread retried";
    EXPECT_TRUE(service::Requests(tag).empty());
    m_thread->Resume();
    EXPECT_EQ(CThreadBase::StateRunning, m_thread->GetState());
    ASSERT_EQ(std::vector<int>{id}, m_sink.WaitFor(1, 20000)) << "Resume did not release the retry";
    EXPECT_TRUE(HasResult(id));
}

TEST_F(DownloadThreadTest, OwnerKeepsTheObjectAliveWhileADownloadIsUnderWay) {
    StartThread();
    const CString tag = service::Tag(L"slow");
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
    EXPECT_EQ(service::Pattern(500), TempDir::ReadFile(m_dir / L"slow.bin"));
    m_thread.reset(alive);
}

TEST(ThreadBase, SuspendedStartMakesTheThreadOnlyAtResume) {
    CDownloadThread thread;
    thread.Start(TRUE);
    EXPECT_EQ(CThreadBase::StateSuspended, thread.GetState());
    EXPECT_EQ(nullptr, thread.GetThreadHandle());
    thread.Pause(); // only in the running state
    EXPECT_EQ(CThreadBase::StateSuspended, thread.GetState());
    thread.Resume();
    EXPECT_EQ(CThreadBase::StateRunning, thread.GetState());
    ASSERT_NE(nullptr, thread.GetThreadHandle());
    thread.Stop();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetThreadHandle(), 10000));
}

} // namespace
