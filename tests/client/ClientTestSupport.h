// The client in-process for tests: GDI+ started, a private profile folder, the demo configuration
// beside this program, message boxes answered and recorded, and a main frame built as start-up builds
// it (the frame deletes itself when its window goes).
#pragma once

#include "BrowserTestHost.h"
#include "TempDir.h"

#include "client/MainFrame.h"
#include "foundation/Config.h"
#include "foundation/Settings.h"
#include "framework/App.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "skin/SkinWndCommon.h"

#include <gdiplus.h>

#include <functional>
#include <vector>

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};
inline ::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

struct Box {
    CString text, caption;
    UINT type;
    HWND owner;
};

// The program's configuration, a private profile folder, message boxes answered and recorded.
class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"userprofile", m_profile.Path());
        LoadConfigXml(GetModuleDir());
        m_previousBoxes = AfxSetMessageBoxHandler(
            [this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
                m_boxes.push_back({text, caption ? caption : L"", type, owner});
                if (m_onBox) m_onBox();
                return m_answer;
            });
    }
    void TearDown() override {
        if (g_pMainFrame) g_pMainFrame->DestroyWindow(); // the frame deletes itself
        AfxSetMessageBoxHandler(m_previousBoxes);
        LoadConfigXml(GetModuleDir());
    }

    CMainFrame* StartFrame(const wchar_t* cmdUrl = L"") {
        auto* frame = new CMainFrame;
        frame->m_strCmdUrl = cmdUrl;
        m_app.m_pMainWnd = frame;
        return frame->LoadFrame(IDR_MAINFRAME)
                   ? frame
                   : nullptr; // on failure it deleted itself frame->LoadFrame(IDR_MAINFRAME) ? frame :
                              // nullptr; // on failure it deleted itself
    }
    static void Click(CSkinWndCommon* wnd, const wchar_t* name) {
        CSkinButton* button = nullptr;
        ASSERT_TRUE(wnd->FindButton(name, &button)) << CString(name).ToUtf8();
        button->SendMessage(BM_CLICK);
    }
    static void Pump(DWORD ms = 200) { PumpUntil(nullptr, ms); }

    TempDir m_profile;
    CWinApp m_app;
    std::vector<Box> m_boxes;
    int m_answer = IDOK;
    std::function<void()> m_onBox;
    MessageBoxHandler m_previousBoxes;
};
