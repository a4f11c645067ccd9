#include "client/tools/VIPWnd.h"

IMPLEMENT_DYNAMIC(CVIPWnd, CSkinWnd2)

CVIPWnd::CVIPWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CVIPWnd::~CVIPWnd() {
    m_view.DestroyWindow();
}

int CVIPWnd::OnCreate(LPCREATESTRUCTW cs) {
    // The view is placed over "ie" by the size message that follows the window's creation.
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    // The pop-up exists for its page alone.
    if (!m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, IDC_WEBVIEW))
        return -1;
    m_view.Navigate(L"about:blank");
    return 0;
}

void CVIPWnd::OnSize(UINT type, int cx, int cy) {
    CSkinWnd2::OnSize(type, cx, cy);
    if (cx > 0 && cy > 0) PlaceChildOverRect(m_view, L"ie");
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
