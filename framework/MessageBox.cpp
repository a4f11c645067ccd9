#include "MessageBox.h"

#include "App.h"
#include "Handle.h"
#include "Wnd.h"

#include <utility>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

// Puts a box of this thread into the top-most band as it is activated.
LRESULT CALLBACK RaiseActivatedBox(int code, WPARAM wParam, LPARAM lParam) {
    const HWND wnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && AfxIsMessageBoxWindow(wnd))
        SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

BOOL AfxIsMessageBoxWindow(HWND wnd) {
    wchar_t cls[8] = {};
    return wnd && GetClassNameW(wnd, cls, 8) == 6 && wcscmp(cls, L"#32770") == 0;
}

int AfxSystemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    if (!text) text = L"";
    if (!(type & MB_TOPMOST)) return MessageBoxW(owner, text, caption, type);
    CScopedHook raise(SetWindowsHookExW(WH_CBT, &RaiseActivatedBox, nullptr, GetCurrentThreadId()));
    return MessageBoxW(owner, text, caption, type);
}

int AfxShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    // A copy: the handler may replace itself while it runs.
    MessageBoxHandler handler = Handler();
    if (handler) return handler(owner, text ? text : L"", caption, type);
    return AfxSystemMessageBox(owner, text, caption, type);
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
