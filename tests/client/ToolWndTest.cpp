// The game window's tool windows of the "more" menu: the menu itself, the game window held disabled
// while one is open, the boss key's names, capture, storage and registration; the setup window's
// top-most choice; the cache window's cleaning and game exit.
#include "ClientHarness.h"

#include "client/tools/BossWnd.h"
#include "client/tools/CacheWnd.h"
#include "client/tools/MoreWnd.h"
#include "client/tools/SetupWnd.h"

#include <functional>
#include <utility>

namespace {

// The key-down parameter of a key as the keyboard sends it, and the layout's name for that key.
LPARAM KeyDown(int key, bool extended) {
    return 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16 | (extended ? 1 << 24 : 0);
}
CString KeyName(LPARAM keyDown) {
    wchar_t name[64] = {};
    GetKeyNameTextW(static_cast<LONG>(keyDown), name, 64);
    return name;
}

// The z-order band last asked of the watched window. Wine (8) puts an owner's owned pop-ups into the
// top-most band instead of the owner (WS_EX_TOPMOST stays clear on it; measured), so the request is
// watched as the window receives it.
HWND g_watched = nullptr, g_band = nullptr;
LRESULT CALLBACK WatchBand(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->hwnd == g_watched && msg->message == WM_WINDOWPOSCHANGING) {
        const HWND after = reinterpret_cast<const WINDOWPOS*>(msg->lParam)->hwndInsertAfter;
        if (after == HWND_TOPMOST || after == HWND_NOTOPMOST) g_band = after;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

using ToolWndTest = ToolWndHarness;

TEST_F(ToolWndTest, TheMoreMenuHandsItsItemOnAndHidesAfterItOrWhenItLosesTheActivation) {
    Game().ShowSkinWnd(TRUE);
    Game().OnSkinBtnClick(Button(L"more"));
    ASSERT_TRUE(Game().m_pMoreWnd);
    CMoreWnd& menu = *Game().m_pMoreWnd;
    EXPECT_TRUE(menu.IsWindowVisible());
    menu.SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(menu.IsWindowVisible());

    // Items go on as the skin spells them and the game window matches them exactly: this one opens
    // nothing, and the menu hides all the same.
    Game().OnSkinBtnClick(Button(L"more"));
    EXPECT_TRUE(menu.IsWindowVisible());
    menu.OnSkinBtnClick(Button(L"Setup"));
    EXPECT_FALSE(Game().m_pSetupWnd);
    EXPECT_FALSE(menu.IsWindowVisible());
    Game().OnSkinBtnClick(Button(L"more"));
    Click(&menu, L"setup");
    ASSERT_TRUE(Game().m_pSetupWnd);
    EXPECT_TRUE(Game().m_pSetupWnd->IsWindowVisible());
    EXPECT_FALSE(menu.IsWindowVisible());
}

TEST_F(ToolWndTest, EachToolWindowHoldsTheGameWindowDisabledUntilItIsClosed) {
    const std::pair<const wchar_t*, std::function<CSkinWnd2*()>> tools[] = {
        {L"boss", [&]() -> CSkinWnd2* { return Game().m_pBossWnd; }},
        {L"setup", [&]() -> CSkinWnd2* { return Game().m_pSetupWnd; }},
        {L"cache", [&]() -> CSkinWnd2* { return Game().m_pCacheWnd; }},
    };
    for (const auto& [item, opened] : tools) {
        Game().OnMoreItem(item);
        CSkinWnd2* tool = opened();
        ASSERT_TRUE(tool) << CString(item).ToUtf8();
        EXPECT_TRUE(tool->IsWindowVisible()) << CString(item).ToUtf8();
        EXPECT_FALSE(Game().IsWindowEnabled()) << CString(item).ToUtf8();
        EXPECT_TRUE(Game().m_bToolWndOpen) << CString(item).ToUtf8();
        Click(tool, L"close");
        EXPECT_FALSE(tool->IsWindowVisible()) << CString(item).ToUtf8();
        EXPECT_TRUE(Game().IsWindowEnabled()) << CString(item).ToUtf8();
        EXPECT_FALSE(Game().m_bToolWndOpen) << CString(item).ToUtf8();
    }
}

TEST_F(ToolWndTest, BossKeyIsNamedCapturedThenStoredAndRegisteredEvenWhenOnlySwitched) {
    for (int key : {VK_HOME, VK_LEFT, VK_INSERT, VK_F8}) { // the separate keys, not the keypad's
        CString name;
        EXPECT_TRUE(CBossWnd::GetHotKeyName(key, name));
        EXPECT_EQ(KeyName(KeyDown(key, key != VK_F8)), name) << key;
    }
    GetIniConfig()->HotKey = VK_HOME;
    Game().OnMoreItem(L"boss");
    ASSERT_TRUE(Game().m_pBossWnd && Game().m_pBossWnd->m_edit.GetSafeHwnd());
    CBossWnd& boss = *Game().m_pBossWnd;
    const CString home = L"Ctrl+Alt+" + KeyName(KeyDown(VK_HOME, true));
    EXPECT_EQ(home, boss.m_edit.GetWindowText());

    auto press = [&](int key) {
        boss.m_edit.PostMessage(WM_KEYDOWN, key, KeyDown(key, false));
        Pump(0);
    };
    for (int key :
         {VK_SPACE, VK_TAB, VK_BACK, VK_DELETE, VK_RETURN, VK_MENU, VK_CONTROL, VK_SHIFT, VK_CAPITAL})
        press(key);
    EXPECT_EQ(VK_HOME, boss.m_nHotKey);
    EXPECT_EQ(home, boss.m_edit.GetWindowText());
    press(VK_F8);
    EXPECT_EQ(VK_F8, boss.m_nHotKey);
    EXPECT_EQ(L"Ctrl+Alt+" + KeyName(KeyDown(VK_F8, false)), boss.m_edit.GetWindowText());
    EXPECT_EQ(VK_HOME, GetIniConfig()->HotKey); // stored only by "ok"

    Click(&boss, L"enable");
    EXPECT_TRUE(boss.IsWindowVisible()); // the check box only toggles
    EXPECT_FALSE(Game().IsWindowEnabled());
    Click(&boss, L"ok");
    EXPECT_EQ(VK_F8, GetIniConfig()->HotKey);
    EXPECT_TRUE(GetIniConfig()->UseHotKey);
    EXPECT_TRUE(Game().IsWindowEnabled());
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL, VK_F8)) << "the game window holds it";

    // The same key switched off: stored and applied as well.
    Game().OnMoreItem(L"boss");
    Click(&boss, L"enable");
    Click(&boss, L"ok");
    EXPECT_FALSE(GetIniConfig()->UseHotKey);
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL, VK_F8));
    UnregisterHotKey(nullptr, 1);
    Pump(0);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ToolWndTest, SetupOkAppliesAndStoresTheTopMostChoice) {
    g_watched = Game().m_hWnd;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchBand, nullptr, GetCurrentThreadId());
    for (BOOL top : {TRUE, FALSE}) {
        g_band = nullptr;
        Game().OnMoreItem(L"setup");
        ASSERT_TRUE(Game().m_pSetupWnd);
        Click(Game().m_pSetupWnd, L"enable1");
        Click(Game().m_pSetupWnd, L"enable2");
        EXPECT_EQ(nullptr, g_band); // applied by "ok" only
        Click(Game().m_pSetupWnd, L"ok");
        EXPECT_EQ(top ? HWND_TOPMOST : HWND_NOTOPMOST, g_band);
        EXPECT_EQ(top, GetIniConfig()->AlwaysTop);
        EXPECT_EQ(top, GetIniConfig()->m_bEnable1);
        EXPECT_TRUE(Game().IsWindowEnabled());
    }
    UnhookWindowsHookEx(hook);
}

TEST_F(ToolWndTest, SetupChecksOnlyToggleAndAnyButtonButOkClosesWithoutApplying) {
    g_watched = Game().m_hWnd;
    g_band = nullptr;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchBand, nullptr, GetCurrentThreadId());
    Game().OnMoreItem(L"setup");
    ASSERT_TRUE(Game().m_pSetupWnd);
    CSetupWnd& setup = *Game().m_pSetupWnd;
    Click(&setup, L"enable1");
    Click(&setup, L"enable2");
    EXPECT_TRUE(setup.IsWindowVisible());
    EXPECT_FALSE(Game().IsWindowEnabled());
    // The search for "enable" keeps its case: to it this is just another button.
    setup.OnSkinBtnClick(Button(L"ENABLE2"));
    EXPECT_FALSE(setup.IsWindowVisible());
    EXPECT_TRUE(Game().IsWindowEnabled());
    EXPECT_EQ(nullptr, g_band);
    EXPECT_FALSE(GetIniConfig()->AlwaysTop);
    EXPECT_FALSE(GetIniConfig()->m_bEnable1);
    UnhookWindowsHookEx(hook);
}

TEST_F(ToolWndTest, CacheOkEmptiesTheCachesKeepsTheRecordAndLeavesTheGame) {
    const wchar_t* const cached = L"http://127.0.0.1:1/cached/page.html";
    SeedCacheEntry(cached);
    ASSERT_TRUE(InCache(cached));
    const CString deep = m_profile.WriteFile(L"vessa\\a\\b\\c.dat", "x");
    m_profile.WriteFile(L"vessa\\pellar\\path.txt", "stale");
    Game().OnMoreItem(L"cache");
    ASSERT_TRUE(Game().m_pCacheWnd);
    Click(Game().m_pCacheWnd, L"ok");
    EXPECT_FALSE(InCache(cached));
    EXPECT_FALSE(TempDir::Exists(deep));
    EXPECT_TRUE(TempDir::Exists(m_profile / L"vessa\\a\\b"));
    EXPECT_EQ(GetModuleDir().ToAnsi(), TempDir::ReadFile(m_profile / L"vessa\\pellar\\path.txt"));
    EXPECT_TRUE(Game().IsWindowEnabled());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, Game().m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "the game is left next";
}

} // namespace
