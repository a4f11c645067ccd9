// The game window's tool windows of the "more" menu: the boss key's capture, names, storage and
// registration; the setup window's top-most choice; the cache window's cleaning and game exit.
#include "ClientHarness.h"

#include "client/tools/BossWnd.h"
#include "client/tools/CacheWnd.h"
#include "client/tools/SetupWnd.h"

namespace {

using clienttest::ClientHarness;

// The key-down parameter of a key as the keyboard sends it.
LPARAM KeyDownParam(int key, bool extended) {
    return 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16 | (extended ? 1 << 24 : 0);
}

CString KeyName(LPARAM keyDown) {
    wchar_t name[64] = {};
    GetKeyNameTextW(static_cast<LONG>(keyDown), name, 64);
    return name;
}

TEST(BossKeyName, IsTheNameOfThePressedKeyTheSeparateKeysNotTheKeypad) {
    for (int key : {VK_HOME, VK_LEFT, VK_NEXT, VK_INSERT, VK_DELETE}) {
        CString name;
        EXPECT_TRUE(CBossWnd::GetHotKeyName(key, name));
        EXPECT_EQ(KeyName(KeyDownParam(key, true)), name) << key;
    }
    CString name;
    EXPECT_TRUE(CBossWnd::GetHotKeyName(VK_F8, name));
    EXPECT_EQ(KeyName(KeyDownParam(VK_F8, false)), name);
    EXPECT_FALSE(CBossWnd::GetHotKeyName(0, name));
    EXPECT_TRUE(name.IsEmpty());
}

class ToolWndTest : public ClientHarness {};

TEST_F(ToolWndTest, BossKeyIsCapturedThenStoredAndRegisteredEvenWhenOnlySwitched) {
    Game().OnMoreItem(L"boss");
    ASSERT_TRUE(Game().m_pBossWnd);
    CBossWnd& boss = *Game().m_pBossWnd;
    ASSERT_TRUE(boss.m_edit.GetSafeHwnd());
    EXPECT_EQ(CString(L"Ctrl+Alt+"), boss.m_edit.GetWindowText()); // no key stored yet

    auto press = [&](int key) {
        boss.m_edit.PostMessage(WM_KEYDOWN, key, KeyDownParam(key, false));
        skintest::PumpPending();
    };
    for (int key :
         {VK_SPACE, VK_TAB, VK_BACK, VK_DELETE, VK_RETURN, VK_MENU, VK_CONTROL, VK_SHIFT, VK_CAPITAL})
        press(key);
    EXPECT_EQ(0, boss.m_nHotKey);
    EXPECT_EQ(CString(L"Ctrl+Alt+"), boss.m_edit.GetWindowText());
    press(VK_F8);
    EXPECT_EQ(VK_F8, boss.m_nHotKey);
    EXPECT_EQ(L"Ctrl+Alt+" + KeyName(KeyDownParam(VK_F8, false)), boss.m_edit.GetWindowText());
    EXPECT_EQ(0, GetIniConfig()->HotKey); // stored only by "ok"

    Click(boss, L"enable");
    Click(boss, L"ok");
    EXPECT_EQ(VK_F8, GetIniConfig()->HotKey);
    EXPECT_TRUE(GetIniConfig()->UseHotKey);
    EXPECT_TRUE(Game().IsWindowEnabled());
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL, VK_F8)) << "the game window holds it";

    // The same key switched off: stored and applied as well.
    Game().OnMoreItem(L"boss");
    Click(boss, L"enable");
    Click(boss, L"ok");
    EXPECT_FALSE(GetIniConfig()->UseHotKey);
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL, VK_F8));
    UnregisterHotKey(nullptr, 1);
    skintest::PumpPending();
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ToolWndTest, SetupOkAppliesAndStoresTheTopMostChoiceOtherButtonsOnlyClose) {
    auto topMost = [&] { return (Game().GetExStyle() & WS_EX_TOPMOST) != 0; };
    Game().OnMoreItem(L"setup");
    ASSERT_TRUE(Game().m_pSetupWnd);
    CSetupWnd& setup = *Game().m_pSetupWnd;
    Click(setup, L"enable2");
    Click(setup, L"close");
    EXPECT_FALSE(topMost());
    EXPECT_FALSE(GetIniConfig()->AlwaysTop);
    EXPECT_TRUE(Game().IsWindowEnabled());

    Game().OnMoreItem(L"setup"); // "enable2" is still checked
    Click(setup, L"enable1");
    Click(setup, L"ok");
    EXPECT_TRUE(topMost());
    EXPECT_TRUE(GetIniConfig()->AlwaysTop);
    EXPECT_TRUE(GetIniConfig()->m_bEnable1);

    Game().OnMoreItem(L"setup");
    Click(setup, L"enable2");
    Click(setup, L"ok");
    EXPECT_FALSE(topMost());
    EXPECT_FALSE(GetIniConfig()->AlwaysTop);
    EXPECT_TRUE(Game().IsWindowEnabled());
}

TEST_F(ToolWndTest, CacheOkEmptiesTheGameDataKeepsItsRecordAndLeavesTheGame) {
    g_strInfoPath = L"\\pellar\\path.txt";
    const CString deep = m_profile.WriteFile(L"vessa\\a\\b\\c.dat", "x");
    m_profile.WriteFile(L"vessa\\pellar\\path.txt", "stale");
    Game().OnMoreItem(L"cache");
    ASSERT_TRUE(Game().m_pCacheWnd);
    Click(*Game().m_pCacheWnd, L"ok");
    EXPECT_FALSE(TempDir::Exists(deep));
    EXPECT_TRUE(TempDir::Exists(m_profile / L"vessa\\a\\b"));
    EXPECT_EQ(GetModuleDir().ToAnsi(), TempDir::ReadFile(m_profile / L"vessa\\pellar\\path.txt"));
    EXPECT_TRUE(Game().IsWindowEnabled());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, Game().m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "the game is left next";
}

} // namespace
