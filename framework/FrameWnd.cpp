#include "FrameWnd.h"

#include "App.h"
#include "Menu.h"
#include "MessageBox.h"

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, void*) {
    CString title = AfxLoadString(idResource);
    const int lineBreak = title.Find(L'\n');
    if (lineBreak >= 0) title = title.Left(lineBreak);
    CMenu menu;
    menu.LoadMenu(idResource); // a frame without a menu resource has no menu
    if (!CreateEx(0, nullptr, title, style & ~FWS_ADDTOTITLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, parent ? parent->GetSafeHwnd() : nullptr, menu.GetSafeHmenu()))
        return FALSE; // the object may be gone: a frame that fails in OnCreate deletes itself
    // The window destroys its menu.
    if (GetMenu(m_hWnd) == menu.GetSafeHmenu()) menu.Detach();
    if (CWinAppEx* app = dynamic_cast<CWinAppEx*>(AfxGetApp())) app->LoadState();
    return TRUE;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code) {
    if (CWnd::OnCmdMsg(id, code)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!cs.lpszClass) {
        static CString frameClass;
        if (frameClass.IsEmpty())
            frameClass =
                AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
        if (frameClass.IsEmpty()) return FALSE;
        cs.lpszClass = frameClass;
    }
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    CWnd::OnDestroy();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) PostQuitMessage(0);
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
    delete this;
}
