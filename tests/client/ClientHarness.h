// The main frame as start-up builds it, for the tests of the game window's tool windows: the settings
// reset first, and a way to wait until every download queued so far has been reported and handled;
// and where a message box stands among the windows of the client.
#pragma once

#include "ClientTestSupport.h"

#include "client/BoxKeeper.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/tools/VIPWnd.h"
#include "foundation/DownloadThread.h"

#include <string>

// A window of the client that the player sees: the client's own one test of it.
inline bool IsSeenClientWindow(HWND wnd) {
    return CBoxKeeper::IsSeenClientWindow(wnd);
}

// Where a message box of this thread stands: "hidden", "buried" (a window of the client that the
// player sees lies above it) or "seen".
inline std::string BoxState(HWND box) {
    if (!IsWindowVisible(box)) return "hidden";
    for (HWND up = GetWindow(box, GW_HWNDPREV); up; up = GetWindow(up, GW_HWNDPREV)) {
        if (IsSeenClientWindow(up)) return "buried";
    }
    return "seen";
}

class ToolWndHarness : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        INI_CONFIG* settings = GetIniConfig();
        settings->HotKey = settings->UseHotKey = settings->AlwaysTop = settings->m_bEnable1 = 0;
        m_frame = StartFrame();
        ASSERT_TRUE(m_frame && m_frame->m_pGameWnd && m_frame->m_pDownloadThread);
    }

    CGameWnd& Game() { return *m_frame->m_pGameWnd; }

    // Queues a download behind every task queued so far; returns its id once it is stored and the
    // messages of the earlier tasks have been handled (or once the client has ended).
    int Barrier(const CString& url) {
        CDownloadThread& thread = *m_frame->m_pDownloadThread;
        CDownloadThread::THREAD_PARAM_DOWN task;
        task.strKey = task.strUrl = url;
        task.hWnd = m_frame->m_hWnd; // reported with WM_NULL
        const int id = thread.QueueTask(task);
        thread.Wake();
        // The client may end meanwhile, and its download thread with it.
        EXPECT_TRUE(PumpUntil([&] { return !g_pMainFrame || thread.GetResult(id, task); }, 30000));
        Pump(0);
        return id;
    }

    CMainFrame* m_frame = nullptr;
};
