#include "client/IEWnd.h"

#include "skin/SkinWndCommon.h"

IMPLEMENT_DYNAMIC(CIEWnd, CWnd)

CIEWnd::~CIEWnd() {
    // Detach first (the derived part is going), then the view, then the window.
    HWND hWnd = UnsubclassWindow();
    m_view.DestroyWindow();
    if (hWnd) ::DestroyWindow(hWnd);
}

BOOL CIEWnd::CreateWnd(HWND parent, DWORD exStyle, DWORD style) {
    const CString wndClass =
        AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    if (wndClass.IsEmpty()) return FALSE;
    return CreateEx(exStyle, wndClass, nullptr, style, 0, 0, 0, 0, parent, nullptr);
}

LRESULT CIEWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The window stands where it was put already; its handlers touch no other window.
    if (msg == WM_WINDOWPOSCHANGED)
        TellSkinWndRestacked(m_hWnd, reinterpret_cast<const WINDOWPOS*>(lParam)->flags);
    return CWnd::WindowProc(msg, wParam, lParam);
}

int CIEWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    // The pop-up exists for its view alone.
    if (!m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, IDC_WEBVIEW))
        return -1;
    return 0;
}

void CIEWnd::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (cx > 0 && cy > 0 && m_view.IsWindow() && ::GetParent(m_view.GetSafeHwnd()) == m_hWnd)
        m_view.MoveWindow(0, 0, cx, cy, TRUE);
}

void CIEWnd::OnClose() {
    // Alt+F4 on the page asks the login window's quit question; the page itself never closes.
    if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER)) ::PostMessageW(owner, WM_CLOSE, 0, 0);
}
