#include "client/PageRules.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/IEView.h"
#include "client/MainFrame.h"
#include "foundation/Config.h"
#include "foundation/Http.h"
#include "foundation/ShellHelpers.h"
#include "foundation/UrlHelpers.h"
#include "foundation/UserInfo.h"

BOOL CPageRules::FoundAfterStart(const CString& url, const CString& text) {
    if (text.IsEmpty()) return FALSE;
    return url.Find(text) >= 1;
}

HWND CPageRules::GetGameWindow() {
    return m_pFrame && m_pFrame->m_pGameWnd ? m_pFrame->m_pGameWnd->GetSafeHwnd() : nullptr;
}

void CPageRules::RequestUserInfo(CIEView& view) {
    const CString reply = HttpGet(GetUserInfoUrl());
    if (m_pFrame) m_pFrame->OnLoginReply(reply, &view);
}

void CPageRules::BeforeNavigate2(CIEView& view, const CString& url, BOOL* cancel) {
    // A page's event comes from the browser control, outside any window's handler: it counts as one,
    // so that a game's exit waits until the rule has returned.
    CHandlerScope scope;
    CHtmlWnd* login = m_pFrame ? m_pFrame->m_pMainHtmlWnd : nullptr;
    if (url.Find(L"app://minimize|") >= 0 && login) {
        login->ShowSkinWnd(FALSE);
        if (cancel) *cancel = TRUE;
        return;
    }
    if (url.Find(L"app://exitgame|") >= 0 && login) {
        if (cancel) *cancel = TRUE;
        login->ConfirmQuit();
        return;
    }
    CString game = url;
    if (url.Find(L"app://loadgame") >= 0) {
        const int bar = url.Find(L'|');
        if (bar >= 0) game = url.Mid(bar + 1);
    }
    if (FoundAfterStart(url, GetGameCheck())) {
        // StartGame refuses anything but a web page too; a page's refused address starts nothing.
        if (m_pFrame && !view.IsGameView() && IsBrowserWebAddress(game)) m_pFrame->StartGame(game);
        return;
    }
    if (FoundAfterStart(url, GetLoginCheck())) {
        RequestUserInfo(view);
        if (g_pMainHtmlWnd) g_pMainHtmlWnd->SetChooseOn();
    }
}

void CPageRules::DocumentComplete(CIEView& view, const CString& url) {
    CHandlerScope scope;
    CString lower = url;
    lower.MakeLower();
    if (lower.Find(L"about:") >= 0) return;
    if (m_pFrame && view.IsGameView()) RequestUserInfo(view);
}

void CPageRules::NavigateComplete2(CIEView& view, const CString&) {
    CHandlerScope scope;
    const CString location = view.GetLocationURL();
    if (location.Find(L"about:blank2") == 0) {
        if (m_pFrame && view.IsGameView()) m_pFrame->PostExitGame();
        return;
    }
    if (location.Find(L"about:blank3") == 0) {
        if (m_pFrame && view.IsGameView()) m_pFrame->ShowLogoutPage();
    }
}

void CPageRules::NewWindow3(CIEView& view, const CString& url, BOOL* cancel) {
    CHandlerScope scope;
    if (!FoundAfterStart(url, GetGameCheck())) {
        if (cancel) *cancel = TRUE;
        OpenInDefaultBrowser(url);
        return;
    }
    if (m_pFrame && !view.IsGameView()) {
        if (cancel) *cancel = TRUE;
        if (IsBrowserWebAddress(url)) m_pFrame->StartGame(url);
    }
}

void CPageRules::GetNewMsg(CIEView&) {
    CHandlerScope scope;
    if (HWND game = GetGameWindow()) SendMessageW(game, WM_NEWMSG, 0, 0);
}

void CPageRules::GetGsName(CIEView&, const CString& name) {
    CHandlerScope scope;
    if (HWND game = GetGameWindow())
        SendLocalMessage(game, WM_GSNAME, 0, reinterpret_cast<LPARAM>(name.GetString()));
}

void CPageRules::GameFullScreen(CIEView&) {
    OutputDebugStringW(L"GameFullScreen");
}
