#include "MessageBox.h"

#include "App.h"
#include "Wnd.h"

#include <utility>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

} // namespace

BOOL AfxIsMessageBoxWindow(HWND wnd) {
    wchar_t cls[8] = {};
    return wnd && GetClassNameW(wnd, cls, 8) == 6 && wcscmp(cls, L"#32770") == 0;
}

int AfxShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    // A copy: the handler may replace itself while it runs.
    MessageBoxHandler handler = Handler();
    if (handler) return handler(owner, text ? text : L"", caption, type);
    return MessageBoxW(owner, text ? text : L"", caption, type);
}

MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

int AfxMessageBox(const wchar_t* text, UINT type) {
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    const CString caption = AfxLoadString(AFX_IDS_APP_TITLE);
    return AfxShowMessageBox(owner, text, caption.IsEmpty() ? nullptr : caption.GetString(), type);
}

int AfxMessageBox(UINT idPrompt, UINT type) {
    return AfxMessageBox(AfxLoadString(idPrompt), type);
}

CString AfxLoadString(UINT id) {
    // With a zero length LoadStringW hands out a pointer to the resource itself, so no length limit.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return CString();
    return CString(text, length);
}
