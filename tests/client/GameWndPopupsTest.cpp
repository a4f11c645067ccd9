// The pop-ups around the game window: the boss key takes them along and brings back the same ones,
// and a pop-up whose window cannot be made leaves the game window as it was.
#include "ClientHarness.h"

#include "client/tools/LockWnd.h"
#include "client/tools/MoreWnd.h"
#include "client/tools/ServerWnd.h"

namespace {

// Refuses the creation of every window while armed, as the system does when it runs out of them.
bool g_vetoCreation = false;
LRESULT CALLBACK VetoCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_vetoCreation) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
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
        UnhookWindowsHookEx(m_hook);
        ToolWndHarness::TearDown();
    }
    HHOOK m_hook = nullptr;
};

TEST_F(GameWndPopupsTest, BossKeyTakesTheShownPopupsAlongAndBringsBackTheSameOnesUnderTheLock) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Click(&Game(), L"more");
    ASSERT_NE(Game().m_pMoreWnd, nullptr);
    Game().m_pMoreWnd->ShowSkinWnd(FALSE); // closed before: it must stay closed
    Click(&Game(), L"server");
    Click(&Game(), L"lock");
    ASSERT_NE(m_frame->m_pLockWnd, nullptr);
    Game().m_pServerWnd->ShowSkinWnd(TRUE); // the lock took the activation it hides on losing
    CWnd* shown[] = {m_frame->m_pLockWnd, Game().m_pServerWnd};
    for (CWnd* popup : shown)
        ASSERT_TRUE(popup->IsWindowVisible());

    g_bGameWndVisible = TRUE;
    for (BOOL visible : {FALSE, TRUE}) {
        Game().SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS);
        EXPECT_EQ(visible, Game().IsWindowVisible());
        for (CWnd* popup : shown)
            EXPECT_EQ(visible, popup->IsWindowVisible()) << popup->GetRuntimeClass()->m_lpszClassName;
        EXPECT_FALSE(Game().m_pMoreWnd->IsWindowVisible());
        EXPECT_TRUE(m_frame->IsScreenLocked());
        EXPECT_FALSE(Game().IsWindowEnabled());
    }
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

    // Once windows can be made again, the same openings work.
    g_vetoCreation = false;
    Click(&Game(), L"lock");
    EXPECT_TRUE(m_frame->IsScreenLocked());
    EXPECT_FALSE(Game().IsWindowEnabled());
}

} // namespace
