#include "client/tools/LockWnd.h"

#include "client/tools/UnLockWnd.h"

IMPLEMENT_DYNAMIC(CLockWnd, CSkinWnd2)

CLockWnd::CLockWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CLockWnd::~CLockWnd() {
    m_unLockWnd.Reset();
}

int CLockWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    // A cover without its panel could never be lifted: then there is no cover at all.
    if (!m_pUnLockWnd && !m_unLockWnd.Create(new CUnLockWnd(L"UNLOCKWND"), m_hWnd, 0, WS_CHILD | WS_VISIBLE))
        return -1;
    m_bDraggable = FALSE;
    return 0;
}

void CLockWnd::ShowSkinWnd(BOOL show) {
    CSkinWnd2::ShowSkinWnd(show);
    if (m_pUnLockWnd) m_pUnLockWnd->ShowSkinWnd(show);
}

void CLockWnd::OnSkinBtnClick(const SkinButtonInfo&) {
    // The cover's buttons (its "close" too) must not lift the lock.
}

BOOL CLockWnd::MoveToRect(const RECT& rect, BOOL repaint) {
    MoveWindow(&rect, repaint);
    // The panel paints itself; our picture leaves its place alone.
    m_vecChildRects.clear();
    if (m_pUnLockWnd && m_pUnLockWnd->IsWindow()) {
        m_pUnLockWnd->CenterWindow();
        CRect panel;
        m_pUnLockWnd->GetWindowRect(&panel);
        ScreenToClient(&panel);
        m_vecChildRects.push_back(panel);
    }
    return TRUE;
}
