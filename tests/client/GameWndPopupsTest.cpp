// The pop-ups around the game window: the boss key takes them along and brings back the same ones,
// the drop-downs close with it, a message box it took comes back with whichever window of the client
// comes on screen, only the player brings back a game window the player hid (and only a game's start
// or the tray the one the logout page hid), and a pop-up whose window (or box) cannot be made leaves
// the game window as it was.
#include "ClientHarness.h"

#include "client/ClientMessages.h"
#include "client/HtmlWnd.h"
#include "client/tools/LockWnd.h"
#include "client/tools/MoreWnd.h"
#include "client/tools/SelectWnd.h"
#include "client/tools/ServerWnd.h"
#include "client/tools/SetupWnd.h"
#include "client/tools/UnLockWnd.h"

namespace {

// Refuses the creation of every window (or of the windows of one class) while armed, as the system
// does when it runs out of them.
bool g_vetoCreation = false;
const wchar_t* g_vetoClass = nullptr;
LRESULT CALLBACK VetoCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        wchar_t cls[32] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 32);
        if (g_vetoCreation || (g_vetoClass && _wcsicmp(cls, g_vetoClass) == 0)) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Inside a message box while it is up: where it stands (BoxState) is noted, then after each step
// again, then the box is answered.
struct BoxVisit {
    CString caption;
    std::vector<std::function<void()>> steps;
    std::vector<std::string> states;
};
BoxVisit g_boxVisit;
void CALLBACK VisitBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", g_boxVisit.caption);
    if (!box || !g_boxVisit.states.empty()) return;
    g_boxVisit.states.push_back(BoxState(box));
    for (const auto& step : g_boxVisit.steps) {
        step();
        g_boxVisit.states.push_back(BoxState(box));
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class GameWndPopupsTest : public ToolWndHarness {
protected:
    void SetUp() override {
        ToolWndHarness::SetUp();
        m_hook = SetWindowsHookExW(WH_CBT, &VetoCreation, nullptr, GetCurrentThreadId());
        ASSERT_NE(m_hook, nullptr);
    }
    void TearDown() override {
        g_vetoCreation = false;
        g_vetoClass = nullptr;
        UnhookWindowsHookEx(m_hook);
        ToolWndHarness::TearDown();
    }
    // Runs the steps inside the system's own box that show brings up (its caption given); returns what
    // the visit noted.
    std::vector<std::string> VisitBoxWith(const CString& caption, std::vector<std::function<void()>> steps,
                                          const std::function<void()>& show) {
        Pump(0);                     // a quit request left by an earlier client would end the box at once
        AfxSetMessageBoxHandler({}); // the system's own box
        g_boxVisit = {caption, std::move(steps), {}};
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &VisitBox);
        show();
        KillTimer(nullptr, timer);
        return g_boxVisit.states;
    }
    void BossKey() { Game().SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS); }

    HHOOK m_hook = nullptr;
};

TEST_F(GameWndPopupsTest, BossKeyTakesTheLockAndBoxesAlongAndClosesTheDropDowns) {
    m_frame->m_servers = {{L"一区", L"http://127.0.0.1:1/game?sid=1"}};
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Click(&Game(), L"more");
    Click(&Game(), L"server");
    ASSERT_TRUE(Game().m_pMoreWnd && Game().m_pServerWnd);
    Click(&Game(), L"lock");
    ASSERT_NE(m_frame->m_pLockWnd, nullptr);
    // The lock took the activation the drop-downs hide on losing: open again, with the server list.
    Game().m_pServerWnd->ShowSkinWnd(TRUE);
    Click(Game().m_pServerWnd, L"server");
    ASSERT_NE(Game().m_pServerWnd->m_pSelectWnd, nullptr);
    ::ShowWindow(Game().m_pMoreWnd->GetSafeHwnd(), SW_SHOWNA);
    CWnd* dropDowns[] = {Game().m_pMoreWnd, Game().m_pServerWnd, Game().m_pServerWnd->m_pSelectWnd};
    for (CWnd* popup : dropDowns)
        ASSERT_TRUE(popup->IsWindowVisible());

    g_bGameWndVisible = TRUE;
    for (BOOL visible : {FALSE, TRUE}) {
        BossKey();
        EXPECT_EQ(visible, Game().IsWindowVisible());
        EXPECT_EQ(visible, m_frame->m_pLockWnd->IsWindowVisible());
        for (CWnd* popup : dropDowns)
            EXPECT_FALSE(popup->IsWindowVisible()) << popup->GetRuntimeClass()->m_lpszClassName;
        EXPECT_TRUE(m_frame->IsScreenLocked());
        EXPECT_FALSE(Game().IsWindowEnabled());
    }

    // A wrong password's box (it has no owner) goes and comes back with the game window too.
    EXPECT_EQ(std::vector<std::string>({"seen", "hidden", "seen"}),
              VisitBoxWith(L"错误", {[this] { BossKey(); }, [this] { BossKey(); }},
                           [this] { Click(m_frame->m_pLockWnd->m_pUnLockWnd, L"ok"); }));
    EXPECT_TRUE(Game().IsWindowVisible());
    EXPECT_TRUE(m_frame->IsScreenLocked());
}

TEST_F(GameWndPopupsTest, OnlyThePlayersHidingTakesTheFramesBoxAlong) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    g_bGameWndVisible = TRUE;
    // The boss key's failure box is owned by the hidden frame: it goes with the boss key and comes
    // back with it; the logout page leaves it up, and so does "pack" while the login window (shown for
    // the logout page, with the game window that the tray brought back) is still on screen.
    EXPECT_EQ(
        std::vector<std::string>({"seen", "hidden", "seen", "seen", "seen", "seen"}),
        VisitBoxWith(AfxLoadString(AFX_IDS_APP_TITLE),
                     {[this] { BossKey(); }, [this] { BossKey(); }, [this] { m_frame->ShowLogoutPage(); },
                      [this] { m_frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN); },
                      [this] { Click(&Game(), L"pack"); }},
                     [this] { m_frame->SendMessage(WM_HOTKEY_FAILED); }));
    EXPECT_TRUE(m_frame->m_pMainHtmlWnd->IsWindowVisible() && !Game().IsWindowVisible());
}

TEST_F(GameWndPopupsTest, ABoxThePlayersHidingTookComesBackWithWhicheverWindowComesOnScreen) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    g_bGameWndVisible = TRUE;
    // Opened outside any handler; a game's exit waits for it, hidden or not.
    EXPECT_EQ(
        std::vector<std::string>({"seen", "hidden", "hidden", "seen", "seen", "seen", "hidden", "hidden"}),
        VisitBoxWith(L"错误",
                     {[this] { BossKey(); },
                      // a chat page's game, while nothing of the client is on screen
                      [this] { m_frame->StartGame(L"http://127.0.0.1:1/game?sid=2"); },
                      [this] { m_frame->ShowLogoutPage(); },
                      [this] { Click(m_frame->m_pMainHtmlWnd, L"min"); }, [this] { BossKey(); },
                      [this] { BossKey(); }, [this] { m_frame->ExitGame(); }},
                     [] { AfxShowMessageBox(nullptr, L"密码错误！", L"错误", MB_ICONERROR | MB_OK); }));
    Pump(0);
    EXPECT_EQ(nullptr, m_frame->m_pGameWnd);
}

TEST_F(GameWndPopupsTest, TheQuitQuestionIsKeptOnTopOnlyWhileItsGameWindowIsOnScreenAndKeptOnTop) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Game().SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // "always on top"
    std::vector<bool> onTop;
    const auto note = [&onTop] {
        const HWND box = FindWindowW(L"#32770", g_strGsClientAbout);
        onTop.push_back(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
    };
    // The logout page hides the game window: the question stays above the login window, in no band.
    EXPECT_EQ(std::vector<std::string>({"seen", "seen", "seen", "seen", "seen", "seen"}),
              VisitBoxWith(g_strGsClientAbout,
                           {note, [this] { m_frame->ShowLogoutPage(); }, note,
                            [this] { m_frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN); }, note},
                           [this] { Click(&Game(), L"close"); }));
    EXPECT_EQ(std::vector<bool>({true, false, true}), onTop);
    EXPECT_TRUE(Game().GetExStyle() & WS_EX_TOPMOST);
}

TEST_F(GameWndPopupsTest, AMenuOfTheGameWindowLeavesTheBoxesOutOfTheBandAndAWrongBandIsPutRight) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1"); // not kept on top
    std::vector<bool> onTop;
    const auto note = [&onTop] { onTop.push_back(IsTopMost(FindWindowW(L"#32770", L"错误"))); };
    EXPECT_EQ(std::vector<std::string>({"seen", "seen", "seen", "seen"}),
              VisitBoxWith(L"错误",
                           {// the browser's own menu over the page, while the watch looks at the box
                            [&] {
                                InsideMenu(
                                    [&] {
                                        Pump(300);
                                        note();
                                    },
                                    [this] { TrackMenuOf(Game()); });
                            },
                            [&] {
                                Pump(300);
                                note();
                            },
                            // in the band by anyone's doing: the watch puts it back
                            [&] {
                                const HWND box = FindWindowW(L"#32770", L"错误");
                                SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                                Pump(300);
                                note();
                            }},
                           [this] { AfxShowMessageBox(Game(), L"密码错误！", L"错误", MB_OK); }));
    EXPECT_EQ(std::vector<bool>({false, false, false}), onTop);
}

TEST_F(GameWndPopupsTest, OnlyTheWindowsThePlayerSeesCountAsTheClientOnScreen) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Game().OnUserLogin(L"u");
    ASSERT_NE(Game().m_pHostWnd, nullptr);
    g_bGameWndVisible = TRUE;
    BossKey();
    ASSERT_FALSE(CBoxKeeper::IsClientOnScreen());
    // The game window's tool tip and menu (both kept on top by the system, owned by it) are not.
    ::ShowWindow(Game().m_tooltip, SW_SHOWNA);
    EXPECT_FALSE(CBoxKeeper::IsClientOnScreen()) << "a tool tip";
    ::ShowWindow(Game().m_tooltip, SW_HIDE);
    bool inMenu = true;
    InsideMenu([&inMenu] { inMenu = CBoxKeeper::IsClientOnScreen(); }, [this] { TrackMenuOf(Game()); });
    EXPECT_FALSE(inMenu) << "a menu";
    // The game's host window is.
    Game().m_pHostWnd->ShowSkinWnd(TRUE);
    EXPECT_TRUE(CBoxKeeper::IsClientOnScreen()) << "the host window";
}

TEST_F(GameWndPopupsTest, AlwaysOnTopTurnedOffTakesTheGamesWindowsOutOfTheBandAndStaysOff) {
    m_frame->m_strGsUrl = L"http://127.0.0.1:1/chat";
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Game().OnUserLogin(L"u");
    SendLocalMessage(Game(), WM_GSNAME, 0, reinterpret_cast<LPARAM>(L"客服"));
    const auto turnOver = [this](BOOL on) {
        Game().OnMoreItem(L"setup");
        ASSERT_NE(Game().m_pSetupWnd, nullptr);
        Click(Game().m_pSetupWnd, L"enable2");
        Click(Game().m_pSetupWnd, L"ok");
        ASSERT_EQ(on, GetIniConfig()->AlwaysTop);
    };
    turnOver(TRUE);
    Click(&Game(), L"vip");
    ASSERT_TRUE(Game().m_pVipWnd && Game().m_pVipWnd->IsWindowVisible());
    turnOver(FALSE);
    EXPECT_FALSE(IsTopMost(Game()));
    EXPECT_FALSE(IsTopMost(*Game().m_pVipWnd)) << "the chat window";
    EXPECT_TRUE(IsTopMost(*Game().m_pHostWnd)) << "the host window is top-most by its own style";
    bool boxOnTop = true;
    VisitBoxWith(L"错误", {[&] { boxOnTop = IsTopMost(FindWindowW(L"#32770", L"错误")); }},
                 [this] { AfxShowMessageBox(Game(), L"密码错误！", L"错误", MB_OK); });
    EXPECT_FALSE(boxOnTop) << "a box opened afterwards";

    // Turned off after the boss key has hidden and shown a window kept on top, it stays off.
    g_bGameWndVisible = TRUE;
    turnOver(TRUE);
    BossKey();
    BossKey();
    turnOver(FALSE);
    BossKey();
    BossKey();
    EXPECT_TRUE(Game().IsWindowVisible());
    EXPECT_FALSE(IsTopMost(Game()));
}

TEST_F(GameWndPopupsTest, AGamesExitWaitsForABoxThatNoHandlerOpened) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    const CGameWnd* game = &Game();
    bool stayed = false;
    VisitBoxWith(L"提示", {[&] {
                     ReachPage(Game().m_pWebView, L"about:blank2");
                     Pump(300);
                     stayed = m_frame->m_bInGame && m_frame->m_pGameWnd == game;
                 }},
                 // A page's alert: the browser shows it from the page's script, outside any handler.
                 [this] { MessageBoxW(Game(), L"page", L"提示", MB_OK); });
    EXPECT_TRUE(stayed) << "the game ended inside the box";
    PumpUntil([this] { return !m_frame->m_bInGame; }, 3000);
    EXPECT_EQ(nullptr, m_frame->m_pGameWnd) << "the exit did not come once the box had closed";
}

TEST_F(GameWndPopupsTest, OnlyThePlayerBringsBackAGameWindowThePlayerHid) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Game().OnMoreItem(L"setup");
    ASSERT_NE(Game().m_pSetupWnd, nullptr);
    Game().OnSkinBtnClick(Button(L"pack"));
    ASSERT_FALSE(Game().m_pSetupWnd->IsWindowVisible());

    // Clicks still on their way, on the game window or on one it owns, do nothing: the tool window
    // stays (and comes back with the game window), nothing opens, nothing locks.
    Click(Game().m_pSetupWnd, L"close");
    Game().OnMoreItem(L"boss");
    Click(&Game(), L"lock");
    EXPECT_FALSE(Game().IsWindowVisible());
    EXPECT_TRUE(Game().m_bToolWndOpen);
    EXPECT_FALSE(m_frame->IsScreenLocked());
    EXPECT_EQ(nullptr, Game().m_pBossWnd);

    m_frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(Game().IsWindowVisible());
    EXPECT_TRUE(Game().m_pSetupWnd->IsWindowVisible());
    EXPECT_FALSE(Game().IsHiddenByPlayer());
    Click(Game().m_pSetupWnd, L"close");
    EXPECT_TRUE(Game().IsWindowEnabled());

    // The same for clicks that come after the logout page hid it: only a game's start or the tray.
    m_frame->ShowLogoutPage();
    for (const wchar_t* button : {L"max", L"lock", L"more"})
        Click(&Game(), button);
    Game().OnMoreItem(L"boss");
    m_frame->LockScreen(TRUE);
    EXPECT_FALSE(Game().IsWindowVisible());
    EXPECT_FALSE(m_frame->IsScreenLocked());
    EXPECT_EQ(nullptr, Game().m_pBossWnd);
    m_frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(Game().IsWindowVisible());
}

TEST_F(GameWndPopupsTest, APopupThatCannotBeMadeLeavesTheGameWindowAsItWas) {
    g_vetoCreation = true;
    for (const wchar_t* item : {L"boss", L"setup", L"cache"}) {
        Game().OnMoreItem(item);
        EXPECT_TRUE(Game().IsWindowEnabled()) << CString(item).ToUtf8();
        EXPECT_FALSE(Game().m_bToolWndOpen) << CString(item).ToUtf8();
    }
    EXPECT_TRUE(!Game().m_pBossWnd && !Game().m_pSetupWnd && !Game().m_pCacheWnd);
    Click(&Game(), L"lock");
    EXPECT_TRUE(Game().IsWindowEnabled());
    EXPECT_FALSE(Game().m_bToolWndOpen);
    EXPECT_FALSE(m_frame->IsScreenLocked());
    Click(&Game(), L"more");
    Click(&Game(), L"server");
    m_frame->m_strGsUrl = L"http://127.0.0.1:1/chat";
    Game().OnUserLogin(L"u");
    EXPECT_TRUE(!Game().m_pMoreWnd && !Game().m_pServerWnd && !Game().m_pVipWnd && !Game().m_pHostWnd);

    // A window whose edit box cannot be made is no window: no lock that could never be lifted.
    g_vetoCreation = false;
    g_vetoClass = L"EDIT";
    Click(&Game(), L"lock");
    Game().OnMoreItem(L"boss");
    EXPECT_TRUE(Game().IsWindowEnabled());
    EXPECT_FALSE(Game().m_bToolWndOpen);
    EXPECT_FALSE(m_frame->IsScreenLocked());
    EXPECT_EQ(nullptr, Game().m_pBossWnd);

    // Once windows can be made again, the same openings work.
    g_vetoClass = nullptr;
    Click(&Game(), L"lock");
    EXPECT_TRUE(m_frame->IsScreenLocked());
    EXPECT_FALSE(Game().IsWindowEnabled());
}

} // namespace
