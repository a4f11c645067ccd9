// The game window's own buttons and keys: "refresh" and F5 on the game view, "pack" and "min".
#include "BrowserCallRecorder.h"
#include "ClientHarness.h"

#include "client/IEView.h"

namespace {

using GameWndTest = ToolWndHarness;

TEST_F(GameWndTest, RefreshReloadsTheGameAddressFreshlyStampedOrElseThePageAndSoDoesF5) {
    const CString game = L"http://127.0.0.1:1/game?sid=1";
    m_frame->StartGame(game);
    CIEView* view = m_frame->GetBrowserView();
    ASSERT_TRUE(view && view->GetBrowser());
    BrowserCallRecorder calls(view->GetBrowser());
    view->Navigate(L"about:blank");
    ASSERT_TRUE(PumpUntil([&] { return view->GetLocationURL() == L"about:blank"; }, 3000));

    const DWORD since = GetTickCount();
    Game().OnSkinBtnClick(Button(L"refresh"));
    EXPECT_TRUE(PumpUntil([&] { return FreshlyStamped(view->GetLocationURL(), game, since); }, 3000))
        << view->GetLocationURL().ToUtf8();
    EXPECT_EQ(0, calls.Refreshes());

    // Without a game address the page itself is reloaded.
    m_frame->m_strGameUrl.Empty();
    Game().OnSkinBtnClick(Button(L"refresh"));
    EXPECT_EQ(1, calls.Refreshes());
    // F5 reloads the page and goes no further.
    MSG f5 = {Game().GetSafeHwnd(), WM_KEYDOWN, VK_F5, 0x003F0001};
    EXPECT_TRUE(Game().PreTranslateMessage(&f5));
    EXPECT_EQ(2, calls.Refreshes());
}

TEST_F(GameWndTest, PackHidesTheWindowAndMinMinimisesIt) {
    Game().ShowSkinWnd(TRUE);
    Game().OnSkinBtnClick(Button(L"Pack"));
    EXPECT_FALSE(Game().IsWindowVisible());
    EXPECT_FALSE(::IsIconic(Game().GetSafeHwnd()));
    Game().ShowSkinWnd(TRUE);
    Game().OnSkinBtnClick(Button(L"MIN"));
    EXPECT_TRUE(Game().IsWindowVisible());
    EXPECT_TRUE(::IsIconic(Game().GetSafeHwnd()));
}

} // namespace
