// The real Pellar.exe, started in a program folder of its own with the demo skin and driven from
// outside the way a player, the system or another program reaches it: messages to its windows, clicks
// on its skin buttons, answers to its message boxes and its tray menu.
#include "ClientBlackBox.h"

#include "tools/driver/RemoteText.h"

#include "framework/Wnd.h"

using namespace blackbox;

namespace {

// A window of the configured tipClass, standing for an older client still running: a starting client
// asks it to close. It stays open, counting the requests.
class CTipWindow : public CWnd {
public:
    bool Create(const wchar_t* className) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = CWnd::GetWndProc();
        wc.hInstance = AfxGetInstanceHandle();
        wc.lpszClassName = className;
        return AfxRegisterClass(&wc) && CreateEx(0, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
    }
    int m_nCloseRequests = 0;

protected:
    void OnClose() override { ++m_nCloseRequests; }
};

TEST_F(ClientBlackBox, AnswersPingAndIgnoresTextPointersFromOtherProcesses) {
    HWND frame = StartClient();
    ASSERT_TRUE(frame);
    EXPECT_EQ(1, Ping(frame));
    HWND login = WaitForLoginWindow();
    ASSERT_TRUE(login);
    const SkinWindowLayout* gameLayout = m_skin.Window(L"GAMEWND");
    ASSERT_TRUE(gameLayout);
    HWND game = FindSkinWindow(m_client.Id(), *gameLayout);
    ASSERT_TRUE(game);
    HWND vip = Button(game, L"GAMEWND", L"vip");
    ASSERT_TRUE(vip);
    // The game window is hidden, so the button's own visibility is what a chat name would change.
    auto shown = [](HWND wnd) { return (GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; };
    ASSERT_FALSE(shown(vip));

    // A garbage pointer: acting on it would fault (the system swallows a window procedure's faults
    // here, so this shows only that the client survives).
    const WPARAM garbage = static_cast<WPARAM>(0xDEAD0000BEEF);
    LRESULT answer = -1;
    EXPECT_TRUE(SendBounded(frame, WM_START_GAME, garbage, garbage, &answer));
    EXPECT_EQ(0, answer);
    EXPECT_TRUE(SendBounded(game, WM_GSNAME, garbage, garbage, &answer));
    EXPECT_EQ(0, answer);
    EXPECT_TRUE(PostMessageW(frame, WM_START_GAME, garbage, garbage));
    EXPECT_TRUE(PostMessageW(game, WM_GSNAME, 0, 0));

    // Pointers that are valid in the client: acting on them would start a game and name a chat peer.
    const CString tag = service::Tag(L"foreign");
    CRemoteText url, peer;
    ASSERT_TRUE(url.Create(m_client.Handle(), service::Url(L"/game?sid=1&tag=") + tag));
    ASSERT_TRUE(peer.Create(m_client.Handle(), L"a chat peer named by someone else"));
    EXPECT_TRUE(SendBounded(frame, WM_START_GAME, url.Object(), 0, &answer));
    EXPECT_EQ(0, answer);
    EXPECT_TRUE(SendBounded(game, WM_GSNAME, 0, peer.Chars(), &answer));
    EXPECT_EQ(0, answer);
    EXPECT_TRUE(PostMessageW(frame, WM_START_GAME, url.Object(), 0));
    EXPECT_TRUE(PostMessageW(game, WM_GSNAME, 0, peer.Chars()));

    EXPECT_EQ(1, Ping(frame)); // after the posted ones too: the frame's queue has been worked through
    EXPECT_TRUE(SendBounded(game, WM_NULL, 0, 0, nullptr));
    EXPECT_TRUE(m_client.IsRunning());
    EXPECT_TRUE(IsWindowVisible(login));
    EXPECT_FALSE(IsWindowVisible(game));
    EXPECT_FALSE(shown(vip));
    EXPECT_TRUE(service::Requests(tag).empty());
}

TEST_F(ClientBlackBox, StartAsksAnOlderClientWindowToClose) {
    // A class of this run's own: any client started meanwhile by another test would close the first
    // window of the demo's class it finds.
    const CString tipClass = service::Tag(L"PellarTipWnd");
    ASSERT_TRUE(m_folder.SetConfigValue("tipClass", tipClass.ToUtf8()));
    ASSERT_EQ(tipClass, ReadConfigValue(m_folder.Path(), L"tipClass"));
    CTipWindow tip;
    ASSERT_TRUE(tip.Create(tipClass));
    ASSERT_TRUE(StartClient());
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return tip.m_nCloseRequests > 0; }));
    EXPECT_EQ(1, tip.m_nCloseRequests);
    EXPECT_TRUE(WaitForLoginWindow()); // and starts normally
}

TEST_F(ClientBlackBox, HiddenInstallSendsOneReportAndEndsWithoutWindows) {
    const CString channel = service::Tag(L"7");
    ASSERT_TRUE(m_client.Start(m_folder.Program(), {L"/install_hide", channel}));
    bool sawWindow = false;
    DWORD exitCode = 1;
    const bool ended = WaitUntil(kStartMs, [&] {
        sawWindow = sawWindow || m_client.FindWindow(m_imClass) || m_client.FindWindow(kDialogClass);
        for (HWND wnd : TopLevelWindows(m_client.Id()))
            sawWindow = sawWindow || IsWindowVisible(wnd);
        return !m_client.IsRunning();
    });
    ASSERT_TRUE(ended);
    ASSERT_TRUE(m_client.WaitForExit(0, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_FALSE(sawWindow);
    const std::vector<Json::Value> reports = service::Requests(channel);
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ("/install", reports[0]["path"].asString());
    EXPECT_EQ("channel=" + channel.ToUtf8(), reports[0]["query"].asString());
    EXPECT_FALSE(TempDir::Exists(m_folder.File(L"config.ini")));
}

TEST_F(ClientBlackBox, InstallSendsItsReportThenStartsAsUsual) {
    const CString channel = service::Tag(L"8");
    HWND frame = StartClient({L"install", channel});
    ASSERT_TRUE(frame);
    EXPECT_TRUE(WaitForLoginWindow());
    // The report follows the frame's creation, which answers messages while it builds the client.
    ASSERT_TRUE(WaitUntil(kReactMs, [&] { return !service::Requests(channel).empty(); }));
    EXPECT_EQ(1, Ping(frame));
    const std::vector<Json::Value> reports = service::Requests(channel);
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ("/install", reports[0]["path"].asString());
    EXPECT_EQ("channel=" + channel.ToUtf8(), reports[0]["query"].asString());
}

TEST_F(ClientBlackBox, QuitsThroughTheTrayMenu) {
    HWND frame = StartClient();
    ASSERT_TRUE(frame);
    ASSERT_TRUE(WaitForLoginWindow());
    ASSERT_TRUE(PostMessageW(frame, WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN));
    HWND menu = m_client.WaitForMenu(kReactMs);
    ASSERT_TRUE(menu);
    // "退出" is the menu's last item: from no selection, up selects it.
    PostKey(menu, VK_UP);
    PostKey(menu, VK_RETURN);
    DWORD exitCode = 1;
    ASSERT_TRUE(m_client.WaitForExit(kExitMs, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(TempDir::Exists(m_folder.File(L"config.ini")));
}

TEST_F(ClientBlackBox, LoginCloseButtonAsksBeforeQuitting) {
    HWND frame = StartClient();
    ASSERT_TRUE(frame);
    HWND login = WaitForLoginWindow();
    ASSERT_TRUE(login);
    HWND close = Button(login, L"MAINWND", L"close");
    ASSERT_TRUE(close);
    EXPECT_EQ(1, Ping(frame));
    ExpectQuestionThenQuit(close, ReadConfigValue(m_folder.Path(), L"quitTip"),
                           ReadConfigValue(m_folder.Path(), L"userClientAbout") + L" Ver " +
                               ReadConfigValue(m_folder.Path(), L"clientVer"),
                           login);
}

} // namespace
