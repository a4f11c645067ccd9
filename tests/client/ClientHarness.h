// The hub of the tool-window tests: the real main frame made as in the hidden installation mode (demo
// skin and configuration beside this program; no login window, browser or tray) with a game window.
// Message boxes are recorded and answered; settings are reset; the user's profile is a temporary folder.
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

#include <tuple>
#include <vector>

namespace clienttest {

class ClientHarness : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"userprofile", m_profile.Path());
        LoadConfigXml();
        INI_CONFIG* settings = GetIniConfig();
        settings->HotKey = settings->UseHotKey = settings->AlwaysTop = settings->m_bEnable1 = 0;
        m_previousBox =
            AfxSetMessageBoxHandler([this](HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
                m_boxes.emplace_back(text, caption, type);
                return IDOK;
            });
        m_frame = new CMainFrame;
        m_frame->m_bInstallHidden = TRUE;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME)) << "demo skin not beside the program";
        m_frame->m_pGameWnd = new CGameWnd(L"GAMEWND");
        ASSERT_TRUE(
            Game().CreateWnd(GetDesktopWindow(), WS_EX_APPWINDOW, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX));
    }
    void TearDown() override {
        if (g_pMainFrame) g_pMainFrame->DestroyWindow(); // the frame deletes itself and its windows
        g_pSkinDocument = nullptr;
        AfxSetMessageBoxHandler(m_previousBox);
    }

    CGameWnd& Game() { return *m_frame->m_pGameWnd; }

    // Queues a download behind every task queued so far; returns its id once it is stored and the
    // messages of the earlier tasks have been handled.
    int Barrier(const CString& url) {
        CDownloadThread& thread = *m_frame->m_pDownloadThread;
        CDownloadThread::THREAD_PARAM_DOWN task;
        task.strKey = task.strUrl = url;
        task.hWnd = m_frame->m_hWnd; // reported with WM_NULL
        {
            CSingleLock lock(&thread.m_cs, TRUE);
            task.nId = thread.m_nNextId++;
            thread.m_queue.push_back(task);
        }
        SetEvent(thread.m_hWake.Get());
        auto stored = [&] {
            CSingleLock lock(&thread.m_cs, TRUE);
            return thread.m_results.count(task.nId) > 0;
        };
        EXPECT_TRUE(skintest::PumpUntil(stored, 30000));
        skintest::PumpPending();
        return task.nId;
    }

    // Clicks a skin button as the mouse would.
    static void Click(CSkinWndCommon& wnd, const wchar_t* name) {
        CSkinButton* button = nullptr;
        ASSERT_TRUE(wnd.FindButton(name, &button)) << CString(name).ToUtf8();
        button->SendMessage(BM_CLICK);
    }

    TempDir m_profile;
    CMainFrame* m_frame = nullptr;
    std::vector<std::tuple<CString, CString, UINT>> m_boxes; // text, caption, type
    MessageBoxHandler m_previousBox;
};

} // namespace clienttest
