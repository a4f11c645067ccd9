// The client's hub for the tool-window tests: the real main frame made as in the hidden installation
// mode (skin loaded from the demo skin beside this program, no login window, browser or tray), with a
// game window, and on request a running download thread. Message boxes are answered and recorded; the
// settings are reset, and the user's profile folder points into a temporary folder.
#pragma once

#include "../skin/SkinTestSupport.h"

#include "client/GameWnd.h"
#include "client/MainFrame.h"
#include "foundation/Config.h"
#include "foundation/DownloadThread.h"
#include "foundation/Settings.h"
#include "framework/MessageBox.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace clienttest {

using skintest::PumpUntil;

struct Box {
    CString text, caption;
    UINT type;
};

// Records WM_USER + 1 completions (task id in lParam): the tests' own downloads.
class DownloadSink : public CWnd {
public:
    static const UINT kMsg = WM_USER + 1;
    DownloadSink() { CreateEx(0, AfxRegisterWndClass(0), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr); }
    std::vector<int> ids;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kMsg) return CWnd::WindowProc(msg, wParam, lParam);
        ids.push_back(static_cast<int>(lParam));
        return 0;
    }
};

class ClientHarness : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"userprofile", m_profile.Path());
        LoadConfigXml();
        INI_CONFIG* settings = GetIniConfig();
        settings->HotKey = 0;
        settings->UseHotKey = FALSE;
        settings->AlwaysTop = FALSE;
        settings->m_bEnable1 = FALSE;
        m_previousBox =
            AfxSetMessageBoxHandler([this](HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
                m_boxes.push_back({text, caption, type});
                return IDOK;
            });

        m_frame = new CMainFrame;
        m_frame->m_bInstallHidden = TRUE;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME)) << "demo skin not beside the program";
        ASSERT_EQ(m_frame, g_pMainFrame);
        m_frame->m_pGameWnd = new CGameWnd(L"GAMEWND");
        ASSERT_TRUE(m_frame->m_pGameWnd->CreateWnd(GetDesktopWindow(), WS_EX_APPWINDOW,
                                                   WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX));
    }
    void TearDown() override {
        if (g_pMainFrame) g_pMainFrame->DestroyWindow(); // the frame deletes itself and its windows
        g_pSkinDocument = nullptr;
        AfxSetMessageBoxHandler(m_previousBox);
    }

    CGameWnd& Game() { return *m_frame->m_pGameWnd; }

    void StartDownloads() {
        m_frame->m_pDownloadThread.reset(new CDownloadThread(1, 10));
        m_frame->m_pDownloadThread->Start(FALSE);
    }

    // Queues a download of our own behind everything queued so far and handles messages until it has
    // been reported: by then every earlier task's message has been handled too. Returns its id.
    int Barrier(const CString& url) {
        CDownloadThread& thread = *m_frame->m_pDownloadThread;
        CDownloadThread::THREAD_PARAM_DOWN task;
        task.strKey = task.strUrl = url;
        task.nMsg = DownloadSink::kMsg;
        task.hWnd = m_sink.m_hWnd;
        {
            CSingleLock lock(&thread.m_cs, TRUE);
            task.nId = thread.m_nNextId++;
            thread.m_queue.push_back(task);
        }
        SetEvent(thread.m_hWake.Get());
        const int id = task.nId;
        EXPECT_TRUE(PumpUntil([&] { return !m_sink.ids.empty() && m_sink.ids.back() == id; }, 30000));
        return id;
    }

    // Clicks a skin button as the mouse would.
    static void Click(CSkinWndCommon& wnd, const wchar_t* name) {
        CSkinButton* button = nullptr;
        ASSERT_TRUE(wnd.FindButton(name, &button)) << CString(name).ToUtf8();
        button->SendMessage(BM_CLICK);
    }

    TempDir m_profile;
    CMainFrame* m_frame = nullptr;
    DownloadSink m_sink;
    std::vector<Box> m_boxes;
    MessageBoxHandler m_previousBox;
};

} // namespace clienttest
