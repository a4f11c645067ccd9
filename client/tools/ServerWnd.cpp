// The server panel hides itself before it acts on a button: "change" and "logout" reach the main
// frame and the game view, whose handlers move windows around and must find nothing of this panel
// left to touch afterwards.
#include "client/tools/ServerWnd.h"

#include "client/GameWnd.h"
#include "client/IEView.h"
#include "client/MainFrame.h"
#include "client/WindowStyles.h"
#include "client/tools/SelectWnd.h"

IMPLEMENT_DYNAMIC(CServerWnd, CSkinWnd2)

CServerWnd::CServerWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CServerWnd::~CServerWnd() {
    m_selectWnd.Reset();
}

int CServerWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    CSkinButton* logout = nullptr;
    if (FindButton(L"logout", &logout)) logout->m_bHandCursor = TRUE;
    m_bDraggable = FALSE;
    if (g_pMainFrame) {
        SetSkinText(L"text_server", g_pMainFrame->GetCurServerName());
        const std::vector<ServerEntry>& servers = g_pMainFrame->m_servers;
        if (!servers.empty()) {
            m_nChosen = static_cast<uint32_t>(servers.size() - 1);
            SetSkinText(L"text_other", servers.back().strName);
        }
    }
    return 0;
}

void CServerWnd::ShowSkinWnd(BOOL show) {
    if (show && g_pMainFrame) SetSkinText(L"text_server", g_pMainFrame->GetCurServerName());
    if (m_pSelectWnd) m_pSelectWnd->ShowSkinWnd(show);
    CSkinWnd2::ShowSkinWnd(show);
}

void CServerWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    if (info.name.CompareNoCase(L"logout") == 0) {
        ShowSkinWnd(FALSE);
        // Before the first game the game window has no view: there is nothing to log out of.
        CGameWnd* game = CGameWnd::FromToolWnd(this);
        if (game && game->m_pWebView) game->m_pWebView->Navigate(L"about:blank3");
        return;
    }
    if (info.name.CompareNoCase(L"server") == 0) {
        CSkinButton* button = nullptr;
        if (!FindButton(L"server", &button)) return;
        CRect under;
        button->GetWindowRect(&under);

        m_selectWnd.Reset();
        // Known before its window exists: showing it takes the activation from this panel, which
        // must then recognise it and stay.
        if (!m_selectWnd.Create(new CSelectWnd(L"SELECTWND"), m_hWnd, 0, kToolStyle)) return;
        CRect client;
        m_pSelectWnd->GetClientRect(&client);
        m_pSelectWnd->MoveWindow(under.right - client.Width(), under.bottom, client.Width(), client.Height(),
                                 TRUE);
        m_pSelectWnd->ShowSkinWnd(TRUE);
        return;
    }
    ShowSkinWnd(FALSE);
    if (info.name.CompareNoCase(L"change") != 0 || !g_pMainFrame) return;
    const std::vector<ServerEntry>& servers = g_pMainFrame->m_servers;
    if (m_nChosen >= servers.size()) return;
    const CString url = servers[m_nChosen].strUrl;
    g_pMainFrame->StartGame(url);
}

void CServerWnd::SetChosenServer(uint32_t index) {
    m_nChosen = index;
    if (!g_pMainFrame) return;
    const std::vector<ServerEntry>& servers = g_pMainFrame->m_servers;
    if (index < servers.size()) SetSkinText(L"text_other", servers[index].strName);
}

void CServerWnd::OnActivate(UINT state, HWND other, BOOL minimized) {
    CSkinWnd2::OnActivate(state, other, minimized);
    if (state != WA_INACTIVE) return;
    // The panel stays while its own drop-down has the activation; losing it to anything else, also
    // to another program (no window named), hides it.
    if (m_pSelectWnd && other && other == m_pSelectWnd->GetSafeHwnd()) return;
    ShowSkinWnd(FALSE);
}
