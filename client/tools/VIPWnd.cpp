#include "client/tools/VIPWnd.h"

IMPLEMENT_DYNAMIC(CVIPWnd, CSkinWnd2)

namespace {

// Puts the view over the RECT "ie", grown with the window when the RECT stretches, and makes that
// rectangle the one part of the window that painting leaves alone.
void PlaceView(CVIPWnd& wnd) {
    SkinRectInfo ie;
    if (!wnd.GetRectInfo(L"ie", ie) || !wnd.m_view.IsWindow()) return;
    CRect rect(ie.rect);
    if (ie.strech) {
        // At the design size a stretched view is one pixel narrower and shorter than its RECT.
        rect.right += wnd.m_nWidth - wnd.m_wndInfo.width - 1;
        rect.bottom += wnd.m_nHeight - wnd.m_wndInfo.height - 1;
    }
    wnd.m_vecChildRects.assign(1, rect);
    wnd.m_view.MoveWindow(&rect, TRUE);
    wnd.m_view.SetWindowPos(wnd.GetSafeHwnd(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

} // namespace

CVIPWnd::CVIPWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CVIPWnd::~CVIPWnd() {
    m_view.DestroyWindow();
}

int CVIPWnd::OnCreate(LPCREATESTRUCTW cs) {
    // The view is placed over "ie" by the size message that follows the window's creation.
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    if (!m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, IDC_WEBVIEW))
        return 0;
    m_view.Navigate(L"about:blank");
    return 0;
}

void CVIPWnd::OnSize(UINT type, int cx, int cy) {
    CSkinWnd2::OnSize(type, cx, cy);
    if (cx > 0 && cy > 0) PlaceView(*this);
}

void CVIPWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    if (info.name.CompareNoCase(L"close") == 0 || info.name.CompareNoCase(L"min") == 0) ShowSkinWnd(FALSE);
}

void CVIPWnd::SetChatTitle(const wchar_t* name) {
    // The name is text, never a format.
    const CString title = CString(name) + L"正在与您交谈";
    m_wndInfo.title = title;
    SetWindowText(title);
}
