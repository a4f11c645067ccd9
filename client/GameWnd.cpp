#include "client/GameWnd.h"

#include "client/BoxKeeper.h"
#include "client/ClientMessages.h"
#include "client/HtmlWnd.h"
#include "client/IEView.h"
#include "client/MainFrame.h"
#include "client/OperatorPages.h"
#include "client/WindowStyles.h"
#include "client/tools/BossWnd.h"
#include "client/tools/CacheWnd.h"
#include "client/tools/MoreWnd.h"
#include "client/tools/ServerWnd.h"
#include "client/tools/SetupWnd.h"
#include "client/tools/VIPWnd.h"
#include "foundation/Config.h"
#include "foundation/Settings.h"
#include "foundation/ShellHelpers.h"
#include "foundation/UrlHelpers.h"
#include "framework/MessageBox.h"

#include <algorithm>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(CGameWnd, CSkinWnd2)

BOOL g_bGameWndVisible = TRUE;

namespace {

// Edges are this wide; corners are squares of the larger size.
constexpr int kEdge = 3;
constexpr int kCorner = 10;

// TRUE for a window of this thread that goes and comes back with the game window: one it owns,
// directly or through other pop-ups. Not a message box: the frame's box keeper decides where those go.
bool GoesWith(HWND wnd, HWND game) {
    if (!::IsWindow(wnd) || GetWindowThreadProcessId(wnd, nullptr) != GetCurrentThreadId() ||
        CBoxKeeper::IsClientBox(wnd))
        return false;
    for (HWND up = GetWindow(wnd, GW_OWNER); up; up = GetWindow(up, GW_OWNER))
        if (up == game) return true;
    return false;
}

// The top-level windows of this thread that go with the game window and match.
struct PopupSearch {
    HWND game;
    bool (*match)(HWND);
    std::vector<HWND> found;
};

BOOL CALLBACK CollectPopup(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<PopupSearch*>(param);
    if (search->match(wnd) && GoesWith(wnd, search->game)) search->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> Popups(HWND game, bool (*match)(HWND)) {
    PopupSearch search{game, match, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsShown(HWND wnd) {
    return IsWindowVisible(wnd) != FALSE;
}

// The cursor of a sizing hit code, or null for any other code.
LPCWSTR SizingCursor(UINT hit) {
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
        return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM:
        return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return IDC_SIZENESW;
    default:
        return nullptr;
    }
}

} // namespace

CGameWnd::CGameWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CGameWnd::~CGameWnd() {
    m_moreWnd.Reset();
    m_bossWnd.Reset();
    m_serverWnd.Reset();
    m_setupWnd.Reset();
    m_cacheWnd.Reset();
    m_vipWnd.Reset();
    m_hostWnd.Reset();
}

CGameWnd* CGameWnd::FromToolWnd(const CWnd* toolWnd) {
    CGameWnd* game = g_pMainFrame ? g_pMainFrame->m_pGameWnd : nullptr;
    if (!game || !game->GetSafeHwnd() || !toolWnd || !toolWnd->GetSafeHwnd()) return nullptr;
    return toolWnd->GetParentHwnd() == game->GetSafeHwnd() ? game : nullptr;
}

BOOL CGameWnd::AllowsClickOn(HWND wnd) {
    const CGameWnd* game = g_pMainFrame ? g_pMainFrame->m_pGameWnd : nullptr;
    if (!game || !game->m_hWnd || !game->IsPutAway()) return TRUE;
    // A button's window may be a child (the unlock panel inside the lock): its top-level window counts.
    const HWND top = GetAncestor(wnd, GA_ROOT);
    const bool withGame = top == game->m_hWnd || GoesWith(top, game->m_hWnd) ||
                          (game->m_pHostWnd && top == game->m_pHostWnd->GetSafeHwnd());
    return withGame ? FALSE : TRUE;
}

void CGameWnd::HoldForToolWnd() {
    m_bToolWndOpen = TRUE;
    EnableWindow(FALSE);
    ShowSkinWnd(TRUE);
}

void CGameWnd::ReleaseFromToolWnd(const CWnd* closed) {
    m_bToolWndOpen = FALSE;
    EnableWindow(TRUE);
    if (!IsPutAway()) {
        ShowSkinWnd(TRUE); // a version answer that waited for the tool window follows
        return;
    }
    const HWND gone = closed ? closed->GetSafeHwnd() : nullptr;
    m_vecHiddenPopups.erase(std::remove(m_vecHiddenPopups.begin(), m_vecHiddenPopups.end(), gone),
                            m_vecHiddenPopups.end());
}

void CGameWnd::CloseToolWnd(CSkinWnd2& tool) {
    tool.ShowSkinWnd(FALSE);
    if (CGameWnd* game = FromToolWnd(&tool)) game->ReleaseFromToolWnd(&tool);
}

int CGameWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    static const wchar_t* const kHandButtons[] = {L"home", L"bbs",  L"refresh", L"lock",
                                                  L"pay",  L"more", L"vip",     L"host"};
    for (const wchar_t* name : kHandButtons) {
        CSkinButton* button = nullptr;
        if (FindButton(name, &button)) button->m_bHandCursor = TRUE;
    }
    ShowButton(L"vip", SW_HIDE);
    ShowButton(L"restore", SW_HIDE);
    if (g_pMainFrame) g_pMainFrame->SetHotKey(GetIniConfig()->UseHotKey);
    return 0;
}

LRESULT CGameWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_HOTKEY:
        OnHotKey(static_cast<int>(wParam));
        return 0;
    case WM_NCLBUTTONDOWN:
        OnNcLButtonDown(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_GSNAME:
        if (!TakeLocalMessage(WM_GSNAME, wParam, lParam)) return 0;
        return OnGsName(lParam);
    case WM_NEWMSG:
        return OnNewMsg();
    default:
        return CSkinWnd2::WindowProc(msg, wParam, lParam);
    }
}

BOOL CGameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F5) {
        if (m_pWebView && m_pWebView->GetBrowser()) m_pWebView->GetBrowser()->Refresh();
        return TRUE;
    }
    return CSkinWnd2::PreTranslateMessage(msg);
}

void CGameWnd::ShowSkinWnd(BOOL show) {
    if (show) {
        m_bHiddenByPlayer = m_bHiddenForLogout = FALSE;
        if (g_pMainFrame) SetSkinText(L"text_username", g_pMainFrame->GetUserName());
        if (std::exchange(m_bOnTopWhenShown, FALSE)) SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, kRestackOnly);
        ShowWindow(m_bMinimized ? SW_RESTORE : SW_SHOW);
        BringWindowToTop();
        SetForegroundWindow();
        ShowHiddenPopups();
        // The player's version answer may have waited for a tool window or for this window itself.
        if (g_pMainFrame && g_pMainFrame->m_pGameWnd == this) g_pMainFrame->ShowHeldUpdateAnswer();
        return;
    }
    Hide();
}

void CGameWnd::HideForPlayer() {
    m_bHiddenByPlayer = TRUE;
    Hide();
    if (g_pMainFrame) g_pMainFrame->m_boxKeeper.TakeAlong();
}

void CGameWnd::HideForLogoutPage() {
    m_bHiddenForLogout = TRUE;
    Hide();
}

void CGameWnd::Hide() {
    if (m_pVipWnd) m_pVipWnd->ShowSkinWnd(FALSE);
    if (m_pHostWnd) {
        m_pHostWnd->ShowSkinWnd(FALSE);
        m_pHostWnd->m_view.Navigate(L"about:blank");
    }
    // The drop-downs close as a menu does: shown again without the activation, a click elsewhere would
    // no longer close them.
    if (m_pMoreWnd) m_pMoreWnd->ShowSkinWnd(FALSE);
    if (m_pServerWnd) m_pServerWnd->ShowSkinWnd(FALSE);
    HidePopups();
    ShowWindow(SW_HIDE);
    // Kept on top only while on screen: a box it owns (the quit question) would stay above every other
    // program with it. It is kept on top again when it comes back.
    if (GetExStyle() & WS_EX_TOPMOST) {
        m_bOnTopWhenShown = TRUE;
        SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, kRestackOnly);
    }
}

void CGameWnd::KeepOnTop(BOOL on) {
    if (on && !IsWindowVisible()) {
        m_bOnTopWhenShown = TRUE; // kept on top once it is back
        return;
    }
    m_bOnTopWhenShown = FALSE;
    if (on) {
        SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        return;
    }
    // Not every system takes the windows it owns out of the band with it: the client does, once their
    // owner is out (before, the system keeps them above it). The boxes follow the client's windows as
    // the keeper hears of the restacking.
    SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    for (HWND popup : Popups(m_hWnd, &IsTopMost))
        LeaveTopMostBand(popup);
}

void CGameWnd::HidePopups() {
    if (!m_hWnd) return;
    for (HWND popup : Popups(m_hWnd, &IsShown)) {
        ::ShowWindow(popup, SW_HIDE);
        m_vecHiddenPopups.push_back(popup);
    }
}

void CGameWnd::ShowHiddenPopups() {
    std::vector<HWND> hidden;
    hidden.swap(m_vecHiddenPopups);
    for (HWND popup : hidden) {
        // Only what is still there and still goes with us; a pop-up closed meanwhile stays closed.
        if (GoesWith(popup, m_hWnd)) ::ShowWindow(popup, SW_SHOWNA);
    }
}

void CGameWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    // A click still on its way when this window went (the boss key's message comes before input that
    // is already queued) never gets here: AllowsClickOn drops it.
    const CString& name = info.name;
    if (name.CompareNoCase(L"close") == 0) {
        CWndGuard alive(this);
        const int answer =
            AfxShowMessageBox(m_hWnd, L"此操作将退出游戏，是否继续？", g_strGsClientAbout, kQuitBoxType);
        // The box runs its own message loop: the game (or the client) may have ended meanwhile.
        if (answer == IDCANCEL || !alive.IsAlive() || !g_pMainFrame || g_pMainFrame->m_pGameWnd != this)
            return;
        g_pMainFrame->PostExitGame();
    } else if (name.CompareNoCase(L"min") == 0) {
        ShowWindow(SW_MINIMIZE);
    } else if (name.CompareNoCase(L"pack") == 0) {
        HideForPlayer();
    } else if (OpenOperatorPage(name)) {
        // "home", "bbs" or "pay"
    } else if (name.CompareNoCase(L"more") == 0) {
        ShowMoreMenu();
    } else if (name.CompareNoCase(L"lock") == 0) {
        if (m_bToolWndOpen) return;
        m_bToolWndOpen = TRUE;
        if (g_pMainFrame) g_pMainFrame->LockScreen(TRUE);
    } else if (name.CompareNoCase(L"server") == 0) {
        ShowServerPanel();
    } else if (name.CompareNoCase(L"refresh") == 0) {
        RefreshGame();
    } else if (name.CompareNoCase(L"vip") == 0) {
        if (m_pVipWnd && PlaceUnder(L"vip", *m_pVipWnd, Align::HalfRight)) m_pVipWnd->ShowSkinWnd(TRUE);
    } else if (name.CompareNoCase(L"host") == 0) {
        if (!m_pHostWnd) return;
        m_pHostWnd->m_view.Navigate(g_pMainFrame ? g_pMainFrame->GetHostUrl() : CString());
        if (PlaceUnder(L"host", *m_pHostWnd, Align::Right)) m_pHostWnd->ShowSkinWnd(TRUE);
    } else if (name.CompareNoCase(L"max") == 0) {
        m_wndInfo.wmode = 0;
        ToggleMaximize();
    } else if (name.CompareNoCase(L"restore") == 0) {
        m_wndInfo.wmode = 1;
        ToggleMaximize();
    }
}

template <class T> T* CGameWnd::GetToolWnd(COwner<T>& owner, const wchar_t* skinName) {
    if (owner.Get()) return owner.Get();
    return owner.Create(new T(skinName), m_hWnd, 0, kToolStyle);
}

void CGameWnd::ShowMoreMenu() {
    if (!FindButton(L"more", nullptr)) return;
    CMoreWnd* menu = GetToolWnd(m_moreWnd, L"MOREWND");
    if (menu && PlaceUnder(L"more", *menu, Align::Left)) menu->ShowSkinWnd(TRUE);
}

void CGameWnd::ShowServerPanel() {
    CServerWnd* panel = GetToolWnd(m_serverWnd, L"SERVERWND");
    if (panel && PlaceUnder(L"server", *panel, Align::Right)) panel->ShowSkinWnd(TRUE);
}

void CGameWnd::RefreshGame() {
    if (!m_pWebView) return;
    CString url = g_pMainFrame ? g_pMainFrame->GetGameUrl() : CString();
    if (!url.IsEmpty()) {
        AppendTimeStamp(url);
        Navigate(url);
    } else if (m_pWebView->GetBrowser()) {
        m_pWebView->GetBrowser()->Refresh();
    }
}

void CGameWnd::AttachView(CIEView* view) {
    m_pWebView = view;
    if (view && view->GetSafeHwnd()) ::SetParent(view->GetSafeHwnd(), m_hWnd);
    LayoutView(m_nWidth, m_nHeight);
}

void CGameWnd::Navigate(const wchar_t* url) {
    if (m_pWebView) m_pWebView->Navigate(url);
}

BOOL CGameWnd::PlaceUnder(const wchar_t* buttonName, CWnd& popup, Align align) {
    CSkinButton* button = nullptr;
    if (!FindButton(buttonName, &button) || !popup.GetSafeHwnd()) return FALSE;
    CRect b;
    button->GetWindowRect(&b);
    CRect client;
    popup.GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    int left = b.left;
    if (align == Align::Right) left = b.right - w;
    if (align == Align::HalfRight) left = b.right - w / 2;
    popup.MoveWindow(left, b.bottom, w, h, TRUE);
    return TRUE;
}

template <class T> void CGameWnd::OpenToolWnd(COwner<T>& owner, const wchar_t* skinName) {
    // An item that comes after this window went has nothing to open over.
    if (IsPutAway()) return;
    T* tool = GetToolWnd(owner, skinName);
    if (!tool) return;
    tool->CenterWindow();
    tool->ShowSkinWnd(TRUE);
    HoldForToolWnd();
}

void CGameWnd::OnMoreItem(const wchar_t* item) {
    const CString name(item);
    if (name == L"boss") {
        OpenToolWnd(m_bossWnd, L"BOSSWND");
    } else if (name == L"setup") {
        OpenToolWnd(m_setupWnd, L"SETUPWND");
    } else if (name == L"cache") {
        OpenToolWnd(m_cacheWnd, L"CACHEWND");
    } else if (name == L"ver") {
        if (g_pMainFrame) g_pMainFrame->RequestRemoteConfig(FALSE);
    }
}

void CGameWnd::OnUserLogin(const wchar_t* userName) {
    SetSkinText(L"text_username", userName ? userName : L"");
    if (!m_pHostWnd)
        m_hostWnd.Create(new CVIPWnd(L"HOSTWND"), GetDesktopWindow(), kWebPopupExStyle | WS_EX_TOPMOST,
                         kTopStyle);
    if (m_pHostWnd) {
        m_pHostWnd->ShowSkinWnd(FALSE);
        m_pHostWnd->m_view.Navigate(L"about:blank");
    }

    const CString hostUrl = g_pMainFrame ? g_pMainFrame->GetHostUrl() : CString();
    ShowButton(L"host", hostUrl.IsEmpty() ? SW_HIDE : SW_SHOW);
    ShowButton(L"vip", SW_HIDE);

    // The chat address comes from the account service: only a web page counts, anything else as none.
    CString chatUrl = g_pMainFrame ? g_pMainFrame->GetGsUrl() : CString();
    if (!IsBrowserWebAddress(chatUrl)) chatUrl.Empty();
    if (chatUrl.IsEmpty()) {
        if (m_pVipWnd) m_pVipWnd->m_view.Navigate(L"about:blank");
        return;
    }
    if (m_pVipWnd) {
        // Not when the chat page itself asked for this reply: a chat address that is also a login
        // address would otherwise fetch the reply again for ever.
        if (!g_pMainFrame || g_pMainFrame->m_pReplySource != &m_pVipWnd->m_view)
            m_pVipWnd->m_view.Navigate(chatUrl);
        return;
    }
    if (!m_vipWnd.Create(new CVIPWnd(L"VIPWND"), m_hWnd, kWebPopupExStyle, WS_POPUP | WS_SYSMENU)) return;
    DeleteMenu(GetSystemMenu(m_pVipWnd->GetSafeHwnd(), FALSE), SC_MAXIMIZE, MF_BYCOMMAND);
    m_pVipWnd->m_view.Navigate(chatUrl);
}

LRESULT CGameWnd::OnGsName(LPARAM lParam) {
    const wchar_t* name = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
    CSkinButton* button = nullptr;
    if (FindButton(L"vip", &button)) {
        button->SetCaption(name);
        button->ShowWindow(SW_SHOWNORMAL);
    }
    if (m_pVipWnd) m_pVipWnd->SetChatTitle(name);
    return 0;
}

LRESULT CGameWnd::OnNewMsg() {
    CSkinButton* button = nullptr;
    if (FindButton(L"vip", &button) && m_pVipWnd && !m_pVipWnd->IsWindowVisible()) button->SetBlink(TRUE);
    return 0;
}

void CGameWnd::OnHotKey(int id) {
    if (id != ID_HOTKEY_BOSS) return;
    if (!g_pMainHtmlWnd || !g_pMainHtmlWnd->IsWindow() || g_pMainHtmlWnd->IsWindowVisible()) return;
    if (g_bGameWndVisible) {
        HideForPlayer();
        g_bGameWndVisible = FALSE;
    } else {
        ShowSkinWnd(TRUE);
        g_bGameWndVisible = TRUE;
    }
}

void CGameWnd::OnSetFocus(HWND) {
    if (m_pWebView && m_pWebView->IsWindow()) m_pWebView->SetFocus();
}

void CGameWnd::OnClose() {
    // Alt+F4 or the cache window: leave the game without the question, once this handler is done.
    if (g_pMainFrame && g_pMainFrame->m_pGameWnd == this) g_pMainFrame->PostExitGame();
}

void CGameWnd::OnSize(UINT type, int cx, int cy) {
    CSkinWnd2::OnSize(type, cx, cy);
    LayoutView(cx, cy);
}

void CGameWnd::LayoutView(int cx, int cy) {
    if (cx > 0 && cy > 0 && m_pWebView) PlaceChildOverRect(*m_pWebView, L"ie");
}

void CGameWnd::ToggleMaximize() {
    const BOOL maximize = m_wndInfo.wmode == 0;
    ShowButton(L"max", maximize ? SW_HIDE : SW_SHOW);
    ShowButton(L"restore", maximize ? SW_SHOW : SW_HIDE);
    ShowWindow(maximize ? SW_MAXIMIZE : SW_RESTORE);
    OnSize(SIZE_RESTORED, m_nWidth, m_nHeight);
    m_bDraggable = !maximize;
    OnPaint();
}

void CGameWnd::OnLButtonDblClk(UINT flags, CPoint point) {
    if (point.y <= m_wndInfo.titleHeight && !IsPutAway()) {
        m_wndInfo.wmode = m_wndInfo.wmode == 0 ? 1 : 0;
        ToggleMaximize();
    }
    CSkinWnd2::OnLButtonDblClk(flags, point);
}

void CGameWnd::OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = m_wndInfo.mWidth;
    info->ptMinTrackSize.y = m_wndInfo.mHeight;
    CSkinWnd2::OnGetMinMaxInfo(info);
}

LRESULT CGameWnd::OnNcHitTest(CPoint point) {
    CRect w;
    GetWindowRect(&w);
    UINT hit = 0;
    if (point.x <= w.left + kEdge) hit = HTLEFT;
    if (point.x >= w.right - kEdge) hit = HTRIGHT;
    if (point.y <= w.top + kEdge) hit = HTTOP;
    if (point.y >= w.bottom - kEdge) hit = HTBOTTOM;
    if (point.x <= w.left + kCorner && point.y <= w.top + kCorner) hit = HTTOPLEFT;
    if (point.x >= w.right - kCorner && point.y <= w.top + kCorner) hit = HTTOPRIGHT;
    if (point.x <= w.left + kCorner && point.y >= w.bottom - kCorner) hit = HTBOTTOMLEFT;
    if (point.x >= w.right - kCorner && point.y >= w.bottom - kCorner) return HTBOTTOMRIGHT;
    return hit ? hit : CSkinWnd2::OnNcHitTest(point);
}

void CGameWnd::OnNcLButtonDown(UINT hitTest, LPARAM point) {
    if (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT)
        SendMessage(WM_SYSCOMMAND, SC_SIZE + (hitTest - HTLEFT + WMSZ_LEFT), point);
    Default();
}

BOOL CGameWnd::OnSetCursor(HWND, UINT hitTest, UINT) {
    LPCWSTR cursor = SizingCursor(hitTest);
    SetCursor(LoadCursor(nullptr, cursor ? cursor : IDC_ARROW));
    return TRUE;
}
