// The screen lock: the digest a typed password must give, the unlock panel over a locked game window
// (the wrong-password box, Enter as "ok", an upper-case account digest, the 30-character box, an
// account without a digest), a cover that nothing but the password lifts, an answer that comes after
// the player hid the game window, and a panel whose skin has no password box.
#include "ClientHarness.h"

#include "client/tools/LockWnd.h"
#include "client/tools/UnLockWnd.h"
#include "skin/SkinDocument.h"

#include <tuple>

namespace {

TEST(UnlockDigest, PasswordAloneOrAfterTheWholeKeyInTheThreadCodePage) {
    ASSERT_EQ(936u, GetACP()) << "the tests run under the Chinese code page";
    const CString longKey = CString(L'钥', 3000) + L"k"; // 6001 bytes in code page 936
    const std::tuple<const wchar_t*, CString, const wchar_t*> cases[] = {
        {L"123456", L"", L"e10adc3949ba59abbe56e057f20f883e"},
        {L"123456", L"pellar-demo-key", L"72abdea651fd8077c09a750a70f5dcfd"},
        {L"密码锁", L"", L"44be909ec632e2dad1339656563743cf"}, // its GBK bytes
        {L"密码锁", longKey, L"1fb2e16a9971e9bcb992f54cdb528a09"},
    };
    for (const auto& [password, key, digest] : cases)
        EXPECT_EQ(CString(digest), CUnLockWnd::UnlockDigest(password, key)) << CString(password).ToUtf8();
}

using ScreenLockTest = ToolWndHarness;

TEST_F(ScreenLockTest, OnlyTheAccountPasswordLiftsTheLock) {
    g_strPwKey = L"pellar-demo-key";
    m_frame->m_strUserPwd = L"72ABDEA651FD8077C09A750A70F5DCFD"; // "123456", in upper case
    m_frame->LockScreen(TRUE);
    ASSERT_TRUE(m_frame->m_pLockWnd && m_frame->m_pLockWnd->m_pUnLockWnd);
    CLockWnd& lock = *m_frame->m_pLockWnd;
    CEdit& box = lock.m_pUnLockWnd->m_edit;
    ASSERT_TRUE(box.GetSafeHwnd());
    auto enter = [&](const CString& typed) {
        box.SetWindowText(typed);
        box.PostMessage(WM_KEYDOWN, VK_RETURN, 0x001C0001);
        Pump(0);
    };

    enter(L"654321");
    ASSERT_EQ(1u, m_boxes.size());
    const Box& wrong = m_boxes[0];
    EXPECT_EQ(
        std::make_tuple(CString(L"密码错误！"), CString(L"错误"), UINT(MB_ICONERROR | MB_OK), HWND(nullptr)),
        std::make_tuple(wrong.text, wrong.caption, wrong.type, wrong.owner));
    EXPECT_FALSE(Game().IsWindowEnabled());
    EXPECT_TRUE(lock.IsWindowVisible());
    EXPECT_EQ(CString(L"654321"), box.GetWindowText());

    enter(L"123456");
    EXPECT_EQ(1u, m_boxes.size());
    EXPECT_TRUE(Game().IsWindowEnabled());
    EXPECT_FALSE(Game().m_bToolWndOpen);
    EXPECT_FALSE(lock.IsWindowVisible());

    // The box takes 30 characters; a longer text put into it counts with its first 30.
    m_frame->m_strUserPwd = L"9867e6f0c1f7497086a6905d9ddb7a81"; // 30 times "a"
    m_frame->LockScreen(TRUE);
    EXPECT_TRUE(box.GetWindowText().IsEmpty());
    EXPECT_EQ(30, box.SendMessage(EM_GETLIMITTEXT));
    enter(CString(L'a', 40));
    EXPECT_EQ(1u, m_boxes.size());
    EXPECT_TRUE(Game().IsWindowEnabled());

    // Without a known digest no password lifts the lock, the empty one included.
    m_frame->m_strUserPwd.Empty();
    m_frame->LockScreen(TRUE);
    for (const wchar_t* typed : {L"", L"123456"}) {
        enter(typed);
        EXPECT_FALSE(Game().IsWindowEnabled()) << CString(typed).ToUtf8();
        EXPECT_TRUE(lock.IsWindowVisible());
    }
    EXPECT_EQ(3u, m_boxes.size());
}

TEST_F(ScreenLockTest, AnAnswerThatComesAfterThePlayerHidTheGameLeavesTheLockUntilTheGameIsBack) {
    g_strPwKey = L"pellar-demo-key";
    m_frame->m_strUserPwd = L"72abdea651fd8077c09a750a70f5dcfd"; // "123456"
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Click(&Game(), L"lock");
    ASSERT_TRUE(m_frame->m_pLockWnd && m_frame->m_pLockWnd->m_pUnLockWnd);
    CUnLockWnd& panel = *m_frame->m_pLockWnd->m_pUnLockWnd;
    g_bGameWndVisible = TRUE;
    Game().SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS);
    // The "ok" click that Enter posted arrives now: no box on an empty desktop, no lock lifted.
    for (const wchar_t* typed : {L"654321", L"123456"}) {
        panel.m_edit.SetWindowText(typed);
        Click(&panel, L"ok");
    }
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_frame->IsScreenLocked());
    Game().SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS);
    EXPECT_TRUE(m_frame->m_pLockWnd->IsWindowVisible());
    EXPECT_FALSE(Game().IsWindowEnabled());
    // With the game back, the password lifts the lock again.
    Click(&panel, L"ok");
    EXPECT_FALSE(m_frame->IsScreenLocked());
    EXPECT_TRUE(Game().IsWindowEnabled());
}

TEST_F(ScreenLockTest, AnUnlockPanelWithoutItsPasswordBoxMakesNoLock) {
    std::string xml = TempDir::ReadFile(GetModuleDir() + L"\\skin\\default\\skin.xml");
    const size_t edit = xml.find("name=\"editbox\"", xml.find("<UNLOCKWND"));
    ASSERT_NE(std::string::npos, edit);
    const size_t from = xml.rfind('<', edit);
    xml.erase(from, xml.find("/>", edit) + 2 - from);
    TempDir program;
    program.WriteFile(L"skin\\default\\skin.xml", xml);
    ASSERT_TRUE(m_frame->m_pSkin->LoadFrom(program.Path(), L"default"));

    Click(&Game(), L"lock");
    EXPECT_FALSE(m_frame->IsScreenLocked());
    EXPECT_TRUE(Game().IsWindowEnabled());
    EXPECT_FALSE(Game().m_bToolWndOpen);
}

TEST_F(ScreenLockTest, TheCoversOwnButtonsAndClosingItLeaveTheLockInPlace) {
    Game().OnSkinBtnClick(Button(L"lock"));
    ASSERT_TRUE(m_frame->m_pLockWnd && m_frame->m_pLockWnd->m_pUnLockWnd);
    CLockWnd& lock = *m_frame->m_pLockWnd;
    for (const wchar_t* name : {L"close", L"ok", L"min"})
        lock.OnSkinBtnClick(Button(name));
    lock.SendMessage(WM_CLOSE);
    Pump(0);
    ASSERT_TRUE(lock.IsWindow());
    EXPECT_TRUE(lock.IsWindowVisible());
    EXPECT_TRUE(lock.m_pUnLockWnd->IsWindowVisible());
    EXPECT_FALSE(Game().IsWindowEnabled());
    EXPECT_TRUE(Game().m_bToolWndOpen);
}

} // namespace
