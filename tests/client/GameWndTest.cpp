// The game window's own buttons and keys: "refresh" and F5 on the game view, "pack" and "min".
#include "ClientHarness.h"

#include "client/IEView.h"

#include <algorithm>

namespace {

// Counts the calls of a browser control's Refresh while it lives. Wine's control has no document to
// reload (it has no HTML engine), so its own Refresh leaves no trace; instead the object is given a
// copy of its method table whose Refresh entry is ours, and its own table back at the end. The table
// layout is fixed by the interface: IUnknown (3 entries), IDispatch (4), GoBack, GoForward, GoHome,
// GoSearch, Navigate, then Refresh; IWebBrowser2 has 71 entries in all.
class RefreshCounter {
public:
    explicit RefreshCounter(IWebBrowser2* browser) : m_browser(browser) {
        s_calls = 0;
        m_own = *reinterpret_cast<void***>(browser);
        std::copy(m_own, m_own + kEntries, m_table);
        m_table[kRefresh] = reinterpret_cast<void*>(&CountRefresh);
        *reinterpret_cast<void***>(browser) = m_table;
    }
    ~RefreshCounter() { *reinterpret_cast<void***>(m_browser) = m_own; }
    RefreshCounter(const RefreshCounter&) = delete;
    RefreshCounter& operator=(const RefreshCounter&) = delete;

    int Calls() const { return s_calls; }

private:
    static constexpr size_t kEntries = 71, kRefresh = 12;
    static HRESULT STDMETHODCALLTYPE CountRefresh(IWebBrowser2*) {
        ++s_calls;
        return S_OK;
    }

    static inline int s_calls = 0;
    IWebBrowser2* m_browser;
    void** m_own = nullptr;
    void* m_table[kEntries] = {};
};

using GameWndTest = ToolWndHarness;

TEST_F(GameWndTest, RefreshReloadsTheGameAddressFreshlyStampedOrElseThePageAndSoDoesF5) {
    const CString game = L"http://127.0.0.1:1/game?sid=1";
    m_frame->StartGame(game);
    CIEView* view = m_frame->GetBrowserView();
    ASSERT_TRUE(view && view->GetBrowser());
    RefreshCounter refreshes(view->GetBrowser());
    view->Navigate(L"about:blank");
    ASSERT_TRUE(PumpUntil([&] { return view->GetLocationURL() == L"about:blank"; }, 3000));

    const DWORD since = GetTickCount();
    Game().OnSkinBtnClick(Button(L"refresh"));
    EXPECT_TRUE(PumpUntil([&] { return FreshlyStamped(view->GetLocationURL(), game, since); }, 3000))
        << view->GetLocationURL().ToUtf8();
    EXPECT_EQ(0, refreshes.Calls());

    // Without a game address the page itself is reloaded.
    m_frame->m_strGameUrl.Empty();
    Game().OnSkinBtnClick(Button(L"refresh"));
    EXPECT_EQ(1, refreshes.Calls());
    // F5 reloads the page and goes no further.
    MSG f5 = {Game().GetSafeHwnd(), WM_KEYDOWN, VK_F5, 0x003F0001};
    EXPECT_TRUE(Game().PreTranslateMessage(&f5));
    EXPECT_EQ(2, refreshes.Calls());
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
