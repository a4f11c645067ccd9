#include "client/ChildView.h"

#include "framework/Gdi.h"

IMPLEMENT_DYNAMIC(CChildView, CWnd)

BOOL CChildView::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    static CString viewClass;
    if (viewClass.IsEmpty())
        viewClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    if (viewClass.IsEmpty()) return FALSE;
    cs.lpszClass = viewClass;
    return TRUE;
}

void CChildView::OnPaint() {
    CPaintDC dc(m_hWnd);
}
