// Game start and exit: the one browser view moves from the login window into the game window at a
// start, and at the end the game window goes with its tool windows and the login window gets a fresh
// view on the home page. Exits are posted: they must not destroy the window or view whose handler
// asked for them.
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/IEWnd.h"
#include "client/MainFrame.h"
#include "foundation/Config.h"
#include "foundation/UrlHelpers.h"
#include "foundation/UserInfo.h"
#include "framework/App.h"

namespace {

constexpr DWORD kTopStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kTopExStyle = WS_EX_APPWINDOW;
// While a handler is still running (a message box inside it lets the exit in), the exit waits.
constexpr UINT_PTR kExitRetryTimer = 0x5E01;
constexpr UINT kExitRetryMs = 50;

} // namespace

void CMainFrame::StartGame(const wchar_t* url) {
    CIEView* view = GetBrowserView();
    if (!view) return;
    const CString address(url);
    ParseServerId(address);
    m_bInGame = TRUE;
    if (m_pMainHtmlWnd) m_pMainHtmlWnd->ShowSkinWnd(FALSE);

    if (!m_pGameWnd) {
        m_pGameWnd = new CGameWnd(L"GAMEWND");
        // Before the window exists, so that its first layout places the view.
        m_pGameWnd->m_pWebView = view;
        if (!m_pGameWnd->CreateWnd(GetDesktopWindow(), kTopExStyle, kTopStyle)) {
            m_pGameWnd->m_pWebView = nullptr;
            delete m_pGameWnd;
            m_pGameWnd = nullptr;
            m_bInGame = FALSE;
            if (m_pMainHtmlWnd) m_pMainHtmlWnd->ShowSkinWnd(TRUE);
            return;
        }
    }
    m_pGameWnd->ShowSkinWnd(FALSE);
    m_pGameWnd->m_pWebView = view;
    if (view->GetSafeHwnd()) ::SetParent(view->GetSafeHwnd(), m_pGameWnd->GetSafeHwnd());

    if (!address.IsEmpty()) {
        CString busted = address;
        AppendTimeStamp(busted);
        m_strGameUrl = address;
        view->Navigate(busted);
    }
    if (!m_pGameWnd) return; // the navigation's rules ended the game meanwhile
    m_pGameWnd->CenterWindow();
    m_pGameWnd->ToggleMaximize();
    m_pGameWnd->ShowSkinWnd(TRUE);
}

void CMainFrame::PostExitGame() {
    PostMessage(WM_EXIT_GAME);
}

void CMainFrame::ExitGame() {
    if (!m_strCmdUrl.IsEmpty()) {
        PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
        return;
    }
    if (!m_bInGame) return;
    // Only from the message loop itself: a handler further out may belong to what goes now.
    if (CWnd::GetHandlerDepth() > 1 || (m_pPageRules && m_pPageRules->IsBusy())) {
        SetTimer(kExitRetryTimer, kExitRetryMs);
        return;
    }
    KillTimer(kExitRetryTimer);
    m_bInGame = FALSE;

    CIEView* view = GetBrowserView();
    if (m_pGameWnd) {
        m_pGameWnd->ShowSkinWnd(FALSE);
        if (view && view->GetSafeHwnd()) ::SetParent(view->GetSafeHwnd(), nullptr);
        m_pGameWnd->m_pWebView = nullptr;
        CGameWnd* game = m_pGameWnd;
        m_pGameWnd = nullptr;
        delete game;
    }

    if (!m_pMainHtmlWnd) return;
    delete m_pMainHtmlWnd->m_pIEWnd;
    m_pMainHtmlWnd->m_pIEWnd = nullptr;
    m_pMainHtmlWnd->CreateBrowserPopup();
    m_pMainHtmlWnd->PostMessage(
        WM_SIZE, SIZE_RESTORED,
        MAKELPARAM(m_pMainHtmlWnd->m_wndInfo.width, m_pMainHtmlWnd->m_wndInfo.height));
    if (CIEView* fresh = GetBrowserView()) fresh->Navigate(GetHomeUrl());
    m_pMainHtmlWnd->ShowSkinWnd(TRUE);
}

void CMainFrame::OnTimer(UINT_PTR id) {
    if (id == kExitRetryTimer) {
        ExitGame();
        return;
    }
    CFrameWnd::OnTimer(id);
}

void CMainFrame::ShowLogoutPage() {
    if (m_pGameWnd) m_pGameWnd->ShowSkinWnd(FALSE);
    if (CIEView* view = GetBrowserView()) view->Navigate(m_strLogoutUrl);
    if (m_pMainHtmlWnd) m_pMainHtmlWnd->ShowSkinWnd(TRUE);
}
