#include "client/HtmlWnd.h"

#include "client/IEWnd.h"
#include "client/MainFrame.h"
#include "client/OperatorPages.h"
#include "client/WindowStyles.h"
#include "foundation/Config.h"
#include "foundation/ShellHelpers.h"
#include "framework/App.h"
#include "framework/MessageBox.h"

IMPLEMENT_DYNAMIC(CHtmlWnd, CSkinWnd)

CHtmlWnd::CHtmlWnd(const wchar_t* skinName) : CSkinWnd(skinName) {}

CHtmlWnd::~CHtmlWnd() {
    m_ieWnd.Reset();
}

int CHtmlWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd::OnCreate(cs) == -1) return -1;
    // A login window without its page is of no use: it fails with it.
    if (!CreateBrowserPopup()) return -1;
    m_pIEWnd->m_view.Navigate(L"about:blank");
    return 0;
}

BOOL CHtmlWnd::CreateBrowserPopup() {
    m_ieWnd.Reset();
    return m_ieWnd.Create(new CIEWnd, m_hWnd, 0, WS_POPUP) != nullptr;
}

void CHtmlWnd::ShowSkinWnd(BOOL show) {
    CSkinWnd::ShowSkinWnd(show);
    if (m_pIEWnd && m_pIEWnd->GetSafeHwnd()) m_pIEWnd->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CHtmlWnd::InitSkin() {
    CSkinWnd::InitSkin();
    ShowImage(L"choose", FALSE);
}

void CHtmlWnd::SetChooseOn() {
    ShowImage(L"choose", TRUE);
    InvalidateRect(nullptr, TRUE);
}

void CHtmlWnd::ConfirmQuit() {
    AskQuit(nullptr);
}

void CHtmlWnd::AskQuit(HWND owner) {
    CWndGuard alive(this);
    const int answer = AfxShowMessageBox(owner, GetQuitTip(), GetAppTitle(), kQuitBoxType);
    // The box runs its own message loop: the client may have ended meanwhile.
    if (answer == IDCANCEL || !alive.IsAlive()) return;
    ShowSkinWnd(FALSE);
    if (g_pMainFrame) g_pMainFrame->PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
}

void CHtmlWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    const CString& name = info.name;
    if (name.CompareNoCase(L"close") == 0) {
        AskQuit(m_hWnd);
    } else if (name.CompareNoCase(L"min") == 0) {
        ShowSkinWnd(FALSE);
    } else if (OpenOperatorPage(name)) {
        // "home", "bbs" or "pay"
    } else if (name.CompareNoCase(L"service") == 0) {
        OpenInDefaultBrowser(GetServiceUrl());
    }
}

void CHtmlWnd::OnSize(UINT type, int cx, int cy) {
    CSkinWnd::OnSize(type, cx, cy);
    if (cx > 0 && cy > 0) PlacePopup(TRUE);
}

void CHtmlWnd::OnMove(int x, int y) {
    CSkinWnd::OnMove(x, y);
    PlacePopup(FALSE);
}

void CHtmlWnd::PlacePopup(BOOL resize) {
    CRect rect;
    if (!m_pIEWnd || !m_pIEWnd->IsWindow() || !GetPlacedRect(L"ie", rect)) return;
    ClientToScreen(&rect);
    if (resize) {
        m_pIEWnd->MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
        m_pIEWnd->SetWindowPos(m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        m_pIEWnd->SetWindowPos(m_hWnd, rect.left, rect.top, 0, 0, SWP_NOSIZE);
    }
}
