#include "client/tools/SelectWnd.h"

#include "client/GameWnd.h"
#include "client/MainFrame.h"
#include "client/tools/ServerWnd.h"

IMPLEMENT_DYNAMIC(CSelectWnd, CSkinWnd2)

namespace {

// The server panel that owns this drop-down, when that is the panel of the main frame's game window.
CServerWnd* OwnerPanel(const CSelectWnd& select) {
    CGameWnd* game = g_pMainFrame ? g_pMainFrame->m_pGameWnd : nullptr;
    CServerWnd* panel = game ? game->m_pServerWnd : nullptr;
    if (!panel || !panel->GetSafeHwnd() ||
        ::GetWindow(select.GetSafeHwnd(), GW_OWNER) != panel->GetSafeHwnd())
        return nullptr;
    return panel;
}

} // namespace

CSelectWnd::CSelectWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CSelectWnd::~CSelectWnd() {
    // The list goes before the font it draws with.
    m_list.DestroyWindow();
    m_font.DeleteObject();
}

int CSelectWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    SkinRectInfo place;
    CRect rect(0, 0, m_nWidth, m_nHeight); // a skin without the RECT "select": the whole window
    if (GetRectInfo(L"select", place)) rect = place.rect;

    m_font.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"宋体");
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, rect, this, IDC_SERVER_LIST))
        return 0;
    m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    if (!g_pMainFrame) return 0;
    const std::vector<ServerEntry>& servers = g_pMainFrame->m_servers;
    for (size_t i = 0; i < servers.size(); ++i) {
        const int item = m_list.AddString(servers[i].strName);
        if (item >= 0) m_list.SetItemData(item, i);
    }
    return 0;
}

void CSelectWnd::OnSkinBtnClick(const SkinButtonInfo&) {}

BOOL CSelectWnd::OnCmdMsg(UINT id, int code) {
    if (id == IDC_SERVER_LIST && code == LBN_SELCHANGE) {
        OnSelChange();
        return TRUE;
    }
    return CSkinWnd2::OnCmdMsg(id, code);
}

void CSelectWnd::OnSelChange() {
    // No selection reads as an index outside the list, which chooses nothing.
    const DWORD_PTR index = m_list.GetItemData(m_list.GetCurSel());
    if (CServerWnd* panel = OwnerPanel(*this)) panel->SetChosenServer(static_cast<uint32_t>(index));
    ShowSkinWnd(FALSE);
}

void CSelectWnd::OnActivate(UINT state, HWND other, BOOL minimized) {
    CSkinWnd2::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE) ShowSkinWnd(FALSE);
}
