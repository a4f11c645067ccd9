// The fixture of the black-box cases: the real Pellar.exe in a program folder of its own with the demo
// skin, its configuration pointed at the stand-in for the operator's service. The client is ended when
// the case ends, passed or failed; a failed case leaves a screenshot beside the test program.
#pragma once

#include "tests/foundation/OperatorService.h"
#include "tools/driver/ClientProcess.h"
#include "tools/driver/Poll.h"
#include "tools/driver/ProgramFolder.h"
#include "tools/driver/Screenshot.h"
#include "tools/driver/SkinLayout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace blackbox {

using namespace driver;

constexpr UINT WM_TRAYNOTIFY = WM_USER + 100;
constexpr UINT WM_GSNAME = WM_USER + 106;
constexpr UINT WM_PING = WM_USER + 108;
constexpr UINT WM_START_GAME = WM_USER + 109;
const wchar_t kFrameClass[] = L"MyNewClass";
// Generous bounds: a first start under Wine can take seconds; every wait ends as soon as it can.
constexpr DWORD kStartMs = 30000;
constexpr DWORD kReactMs = 10000;
// Ending takes seconds here: without a window manager, Wine waits for each shown window to be withdrawn.
constexpr DWORD kExitMs = 30000;

class ClientBlackBox : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.Create(L"" PELLAR_CLIENT_EXE, L"" PELLAR_DEMO_SKIN, service::Port()));
        ASSERT_TRUE(m_skin.Load(m_folder.Path()));
        m_imClass = ReadConfigValue(m_folder.Path(), L"imClass");
        ASSERT_FALSE(m_imClass.IsEmpty());
    }

    // The screen as it was when the case failed, taken while the client still runs.
    void TearDown() override {
        CDibSection screen;
        if (HasFailure() && CaptureScreen(screen)) SaveShot(screen, L"failure");
    }

    // Writes the image beside the test program as "<case>.<what>.bmp".
    static void SaveShot(const CDibSection& image, const wchar_t* what) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        CString path(self);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        CString name = CString::FromUtf8(info->name());
        name.Replace(L'/', L'_'); // parameterised cases
        path = path.Left(path.ReverseFind(L'\\') + 1) + name + L"." + what + L".bmp";
        if (SaveBitmapFile(image, path)) printf("screen: %s\n", path.ToUtf8().c_str());
    }

    // Starts the client and waits for its main frame; null when it did not come.
    HWND StartClient(const std::vector<CString>& arguments = {}) {
        if (!m_client.Start(m_folder.Program(), arguments)) return nullptr;
        return m_client.WaitForWindow(kFrameClass, kStartMs);
    }

    HWND WaitForLoginWindow() { return m_client.WaitForWindow(m_imClass, kStartMs, true); }

    // The frame's answer to WM_PING, or -1 when it did not answer.
    LRESULT Ping(HWND frame) {
        LRESULT answer = -1;
        return SendBounded(frame, WM_PING, 0, 0, &answer) ? answer : -1;
    }

    // The client's top-level window of this skin element (a visible one preferred), or null.
    HWND SkinWindow(const wchar_t* element) {
        const SkinWindowLayout* layout = m_skin.Window(element);
        return layout ? FindSkinWindow(m_client.Id(), *layout) : nullptr;
    }

    HWND Button(HWND wnd, const wchar_t* element, const wchar_t* name) {
        const SkinWindowLayout* layout = m_skin.Window(element);
        return layout ? FindSkinButton(wnd, *layout, name) : nullptr;
    }

    // A close button whose question keeps the client on Cancel (the window stays shown) and ends it
    // cleanly on OK, with its settings written.
    void ExpectQuestionThenQuit(HWND close, const CString& text, const CString& caption, HWND stays) {
        ASSERT_TRUE(PostClick(close));
        MessageBoxInfo box = m_client.WaitForMessageBox(kReactMs);
        ASSERT_TRUE(box.box);
        EXPECT_EQ(text, box.text);
        EXPECT_EQ(caption, box.caption);
        ASSERT_TRUE(PressDialogButton(box.box, IDCANCEL));
        ASSERT_TRUE(WaitUntil(kReactMs, [&] { return !IsWindow(box.box); }));
        EXPECT_TRUE(IsWindowVisible(stays));

        ASSERT_TRUE(PostClick(close));
        box = m_client.WaitForMessageBox(kReactMs);
        ASSERT_TRUE(box.box);
        ASSERT_TRUE(PressDialogButton(box.box, IDOK));
        DWORD exitCode = 1;
        ASSERT_TRUE(m_client.WaitForExit(kExitMs, &exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_TRUE(TempDir::Exists(m_folder.File(L"config.ini")));
    }

    CProgramFolder m_folder; // declared first, so the client has ended before its folder goes
    CClientProcess m_client;
    CSkinLayout m_skin;
    CString m_imClass;
};

} // namespace blackbox
