#include "ToolTipCtrl.h"

#include <vector>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

// The longest tip text kept; GetText's buffer holds it, whatever the control's version.
const int kMaxTipText = 1023;

// The text as the control keeps it (cut to kMaxTipText characters).
CString TipText(const wchar_t* text) {
    CString tip(text ? text : L"");
    if (tip.GetLength() > kMaxTipText) tip.Truncate(kMaxTipText);
    return tip;
}

// The size the version 5 common controls accept too: a program without a manifest gets those, and
// they reject the larger structure.
TOOLINFOW MakeToolInfo(CWnd* wnd, UINT_PTR id) {
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    ti.uId = id;
    return ti;
}

} // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    if (!CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, parent ? parent->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, LPCRECT rect, UINT_PTR id) {
    if (!m_hWnd || !wnd || !wnd->GetSafeHwnd()) return FALSE;
    TOOLINFOW ti = MakeToolInfo(wnd, id);
    ti.hinst = AfxGetInstanceHandle();
    CString tip = TipText(text);
    ti.lpszText = const_cast<wchar_t*>(tip.GetString());
    if (rect) ti.rect = *rect;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id) {
    if (!m_hWnd) return;
    TOOLINFOW ti = MakeToolInfo(wnd, id);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id) {
    if (!m_hWnd) return;
    TOOLINFOW ti = MakeToolInfo(wnd, id);
    ti.hinst = AfxGetInstanceHandle();
    CString tip = TipText(text);
    ti.lpszText = const_cast<wchar_t*>(tip.GetString());
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

CString CToolTipCtrl::GetText(CWnd* wnd, UINT_PTR id) const {
    if (!m_hWnd) return CString();
    // Older controls copy without a size: the buffer holds the longest text AddTool lets in.
    std::vector<wchar_t> buffer(kMaxTipText + 1, L'\0');
    TOOLINFOW ti = MakeToolInfo(wnd, id);
    ti.lpszText = buffer.data();
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(&ti));
    buffer.back() = L'\0';
    return CString(buffer.data());
}

int CToolTipCtrl::GetToolCount() const {
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void CToolTipCtrl::RelayEvent(MSG* msg) {
    if (m_hWnd && msg) SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}
