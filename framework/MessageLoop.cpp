#include "MessageLoop.h"

#include "Wnd.h"

BOOL PreTranslateTree(MSG* msg) {
    if (!msg) return FALSE;
    for (HWND hWnd = msg->hwnd; hWnd;) {
        // Look the window up afresh each step: a handler may destroy windows on the way.
        if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd)) {
            if (wnd->PreTranslateMessage(msg)) return TRUE;
        }
        if (!(GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD)) break; // top-level: its owner is no ancestor
        hWnd = GetParent(hWnd);
    }
    return FALSE;
}

BOOL PumpMessage(int* exitCode) {
    MSG msg = {};
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        if (exitCode) *exitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
        return FALSE;
    }
    if (!PreTranslateTree(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return TRUE;
}

int RunMessageLoop() {
    int exitCode = 0;
    while (PumpMessage(&exitCode)) {
    }
    return exitCode;
}
