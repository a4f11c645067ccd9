// Game start and exit: the one browser view moves from the login window into the game window at a
// start, and at the end the game window goes with its tool windows and the login window gets a fresh
// view on the home page. Exits are posted: they must not destroy the window or view whose handler
// asked for them.
#include "client/BoxKeeper.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/IEWnd.h"
#include "client/MainFrame.h"
#include "client/WindowStyles.h"
#include "foundation/Config.h"
#include "foundation/UrlHelpers.h"
#include "foundation/UserInfo.h"
#include "framework/App.h"

void CMainFrame::StartGame(const wchar_t* url) {
    CIEView* view = GetBrowserView();
    if (!view) return;
    // Whoever asks (a page, the server list of a reply, another program's message), the game view is
    // only ever sent to a web page: any other address counts as none, and the view keeps its page.
    const CString address = IsBrowserWebAddress(url) ? CString(url) : CString();
    // A start while a window of the client is on screen (the player's pick in the login window, the
    // server panel, a page with the login window up) shows the game; one while nothing of the client
    // is (a page of the hidden game, of its chat or host window) leaves a game window the player hid
    // hidden, until the player brings it back.
    const bool seen = CBoxKeeper::IsClientOnScreen();
    ParseServerId(address);
    m_bInGame = TRUE;
    if (m_pMainHtmlWnd) m_pMainHtmlWnd->ShowSkinWnd(FALSE);

    if (!m_pGameWnd) {
        CGameWnd* game = new CGameWnd(L"GAMEWND");
        // Before the window exists, so that its first layout places the view.
        game->m_pWebView = view;
        if (!m_gameWnd.Create(game, GetDesktopWindow(), kTopExStyle, kTopStyle)) {
            m_bInGame = FALSE;
            if (m_pMainHtmlWnd) m_pMainHtmlWnd->ShowSkinWnd(TRUE);
            return;
        }
    }
    m_pGameWnd->ShowSkinWnd(FALSE);
    m_pGameWnd->AttachView(view);

    if (!address.IsEmpty()) {
        CString busted = address;
        AppendTimeStamp(busted);
        m_strGameUrl = address;
        view->Navigate(busted);
    }
    if (!m_pGameWnd) return; // the navigation's rules ended the game meanwhile
    if (m_pGameWnd->IsHiddenByPlayer() && !seen) return;
    m_pGameWnd->CenterWindow();
    m_pGameWnd->ToggleMaximize();
    m_pGameWnd->ShowSkinWnd(TRUE);
}

void CMainFrame::PostExitGame() {
    PostMessage(WM_EXIT_GAME);
}

void CMainFrame::ExitGame() {
    if (m_strCmdUrl.IsEmpty() && !m_bInGame) return;
    // Only from the message loop itself: a handler further out (a box's, a menu's, a page's) or a box
    // up (a page's own alert, which its script waits on) may belong to what goes now. The exit comes
    // back once they have all returned.
    if (CWnd::IsInsideOuterLoop(1)) {
        CWnd::PostWhenOuterLoopsReturn(m_hWnd, WM_EXIT_GAME);
        return;
    }
    if (!m_strCmdUrl.IsEmpty()) {
        PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
        return;
    }
    m_bInGame = FALSE;

    CIEView* view = GetBrowserView();
    if (m_pGameWnd) {
        m_pGameWnd->ShowSkinWnd(FALSE);
        if (view && view->GetSafeHwnd()) ::SetParent(view->GetSafeHwnd(), nullptr);
        m_pGameWnd->m_pWebView = nullptr;
        m_gameWnd.Reset();
    }
    m_heldUpdate.reset(); // the player asked in the game just left

    if (!m_pMainHtmlWnd) return;
    m_pMainHtmlWnd->CreateBrowserPopup();
    m_pMainHtmlWnd->PostMessage(
        WM_SIZE, SIZE_RESTORED,
        MAKELPARAM(m_pMainHtmlWnd->m_wndInfo.width, m_pMainHtmlWnd->m_wndInfo.height));
    if (CIEView* fresh = GetBrowserView()) fresh->Navigate(GetHomeUrl());
    m_pMainHtmlWnd->ShowSkinWnd(TRUE);
}

void CMainFrame::OnTimer(UINT_PTR id) {
    if (id == CBoxKeeper::kWatchTimer) {
        m_boxKeeper.OnWatchTimer();
        return;
    }
    CFrameWnd::OnTimer(id);
}

void CMainFrame::ShowLogoutPage() {
    // A version answer still waiting for the game window would come back with it later, after the
    // player logged out: it is dropped, and so is one that arrives before the game window is back.
    m_heldUpdate.reset();
    if (m_pGameWnd) m_pGameWnd->HideForLogoutPage();
    // The address comes from the account service: only a web page counts, anything else as none.
    const CString logout = IsBrowserWebAddress(m_strLogoutUrl) ? m_strLogoutUrl : CString();
    if (CIEView* view = GetBrowserView()) view->Navigate(logout);
    if (m_pMainHtmlWnd) m_pMainHtmlWnd->ShowSkinWnd(TRUE);
}
