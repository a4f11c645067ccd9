// How the login and game windows hold the one browser view, and what the tray and the lock do across
// games, in-process on the demo skin.
#include "ClientTestSupport.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/IEWnd.h"
#include "client/tools/LockWnd.h"
#include "foundation/Config.h"
#include "skin/SkinDocument.h"

#include <tuple>

namespace {

CRect WindowRect(HWND hWnd) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// Whether the game window existed when the login window was first shown.
int g_gameAtLoginShow = -1;
LRESULT CALLBACK WatchLoginShow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam && g_gameAtLoginShow < 0 &&
        g_pMainHtmlWnd && msg->hwnd == g_pMainHtmlWnd->GetSafeHwnd())
        g_gameAtLoginShow = g_pMainFrame && g_pMainFrame->m_pGameWnd ? 1 : 0;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(ClientTest, TheLoginWindowShowsBeforeTheHiddenGameWindowIsMade) {
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchLoginShow, nullptr, GetCurrentThreadId());
    CMainFrame* frame = StartFrame();
    UnhookWindowsHookEx(hook);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(0, g_gameAtLoginShow);
    ASSERT_NE(frame->m_pGameWnd, nullptr);
    EXPECT_FALSE(frame->m_pGameWnd->IsWindowVisible());
}

TEST_F(ClientTest, LoginPopupFollowsItsRectangleAndTheGameViewFillsItsOwn) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    CHtmlWnd* login = frame->m_pMainHtmlWnd;
    HWND popup = login->m_pIEWnd->GetSafeHwnd();
    // The demo's "ie" of MAINWND does not stretch: the record's rectangle at the window's client origin.
    CRect origin = WindowRect(login->GetSafeHwnd());
    EXPECT_EQ(WindowRect(popup),
              CRect(origin.left + 10, origin.top + 40, origin.left + 950, origin.top + 554));
    login->MoveWindow(origin.left + 37, origin.top + 21, origin.Width(), origin.Height());
    EXPECT_EQ(WindowRect(popup),
              CRect(origin.left + 47, origin.top + 61, origin.left + 987, origin.top + 575));
    login->SendMessage(WM_SIZE, SIZE_MINIMIZED, 0); // no size: the pop-up stays
    EXPECT_EQ(WindowRect(popup).Width(), 940);

    // In the game window the view stretches: one pixel short of the rectangle at the design size, and
    // the only part of the window its picture leaves alone.
    frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    CGameWnd* game = frame->m_pGameWnd;
    CIEView* view = frame->GetBrowserView();
    game->MoveWindow(0, 0, game->m_wndInfo.width, game->m_wndInfo.height);
    CRect placed = WindowRect(view->GetSafeHwnd());
    game->ScreenToClient(&placed);
    EXPECT_EQ(placed, CRect(2, 36, 2 + 996 - 1, 36 + 602 - 1));
    game->MoveWindow(0, 0, game->m_wndInfo.width + 100, game->m_wndInfo.height + 50);
    game->MoveWindow(0, 0, game->m_wndInfo.width + 20, game->m_wndInfo.height + 10);
    ASSERT_EQ(game->m_vecChildRects.size(), 1u);
    EXPECT_EQ(game->m_vecChildRects[0], CRect(2, 36, 2 + 996 + 19, 36 + 602 + 9));
    MINMAXINFO limits = {};
    game->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, game->m_wndInfo.mWidth);
    EXPECT_EQ(limits.ptMinTrackSize.y, game->m_wndInfo.mHeight);

    // Hidden by the boss key, the game comes back from the tray; outside a game the login window does.
    game->ShowSkinWnd(FALSE);
    frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(game->IsWindowVisible());
    // Leaving the game gives the login window a fresh pop-up, placed over its rectangle once the
    // posted size arrives.
    frame->ExitGame();
    Pump();
    origin = WindowRect(login->GetSafeHwnd());
    EXPECT_EQ(WindowRect(login->m_pIEWnd->GetSafeHwnd()),
              CRect(origin.left + 10, origin.top + 40, origin.left + 950, origin.top + 554));
    login->ShowSkinWnd(FALSE);
    frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(login->IsWindowVisible());
}

TEST_F(ClientTest, LockCoversTheGameWindowOfEveryGameAndQuittingWhileLockedIsClean) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    for (int game = 0; game < 2; ++game) {
        frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
        ASSERT_NE(frame->m_pGameWnd, nullptr);
        Click(frame->m_pGameWnd, L"lock");
        ASSERT_NE(frame->m_pLockWnd, nullptr);
        EXPECT_TRUE(frame->m_pLockWnd->IsWindowVisible()) << "game " << game;
        EXPECT_EQ(WindowRect(frame->m_pLockWnd->GetSafeHwnd()), WindowRect(frame->m_pGameWnd->GetSafeHwnd()));
        EXPECT_FALSE(frame->m_pGameWnd->IsWindowEnabled());
        if (game == 0) {
            // Leaving the game takes the lock window's window with it; its object stays with the frame.
            frame->m_pGameWnd->m_bToolWndOpen = FALSE;
            frame->ExitGame();
        }
    }
    frame->PostMessage(WM_COMMAND, ID_APP_EXIT);
    Pump();
    EXPECT_EQ(g_pMainFrame, nullptr);
    // Nothing the frame owned stays reachable through the globals.
    EXPECT_EQ(g_pMainHtmlWnd, nullptr);
    EXPECT_EQ(g_pSkinDocument, nullptr);
}

TEST_F(ClientTest, TrayMenuIsFollowedByANullMessageToTheFrame) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    Pump();
    // Nobody clicks: the menu is ended from outside, as a click elsewhere would.
    SetTimer(nullptr, 0, 100, &EndMenuSoon);
    frame->ShowTrayMenu();
    bool nullPosted = false;
    MSG msg;
    while (PeekMessageW(&msg, frame->GetSafeHwnd(), 0, 0, PM_REMOVE))
        nullPosted = nullPosted || msg.message == WM_NULL;
    EXPECT_TRUE(nullPosted);
}

TEST_F(ClientTest, AServerChangeKeepsTheGameWindowAndItsViewAndReloadsWithAFreshStamp) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    CGameWnd* game = frame->m_pGameWnd;
    ASSERT_NE(game, nullptr);
    const HWND gameWnd = game->GetSafeHwnd();
    CIEView* view = frame->GetBrowserView();
    const HWND viewWnd = view->GetSafeHwnd();

    const DWORD since = GetTickCount();
    frame->StartGame(L"http://127.0.0.1:1/game?sid=2");
    EXPECT_EQ(frame->m_pGameWnd, game);
    EXPECT_EQ(game->GetSafeHwnd(), gameWnd);
    EXPECT_EQ(frame->GetBrowserView(), view);
    EXPECT_EQ(view->GetSafeHwnd(), viewWnd);
    EXPECT_EQ(::GetParent(viewWnd), gameWnd);
    EXPECT_TRUE(game->IsWindowVisible());
    EXPECT_TRUE(PumpUntil(
        [&] { return FreshlyStamped(view->GetLocationURL(), L"http://127.0.0.1:1/game?sid=2", since); },
        3000))
        << view->GetLocationURL().ToUtf8();
}

TEST_F(ClientTest, LinkButtonsOpenTheOperatorsPagesInTheDefaultBrowser) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    BrowserProbe browser;
    g_strGwUrl = L"http://127.0.0.1:1/home";
    g_strBbsUrl = L"http://127.0.0.1:1/bbs";
    g_strPaymentUrl = L"http://127.0.0.1:1/pay";
    g_strServiceUrl = L"http://127.0.0.1:1/service";
    // No reply gives the frame a payment page of its own: "pay" takes the configured one.
    ASSERT_TRUE(frame->GetPayUrl().IsEmpty());
    const std::tuple<CSkinWndCommon*, const wchar_t*, const char*> links[] = {
        {frame->m_pGameWnd, L"home", "http://127.0.0.1:1/home"},
        {frame->m_pGameWnd, L"bbs", "http://127.0.0.1:1/bbs"},
        {frame->m_pGameWnd, L"pay", "http://127.0.0.1:1/pay"},
        {frame->m_pMainHtmlWnd, L"service", "http://127.0.0.1:1/service"},
    };
    size_t opened = 0;
    for (const auto& [wnd, button, page] : links) {
        Click(wnd, button);
        EXPECT_EQ(page, browser.Opened(++opened));
    }
}
