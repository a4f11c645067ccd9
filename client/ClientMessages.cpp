#include "client/ClientMessages.h"

namespace {

struct PendingSend {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool taken;
};

// The send in progress on this thread, innermost first (a handler may send again).
thread_local PendingSend* t_pPending = nullptr;

} // namespace

LRESULT SendLocalMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    PendingSend pending = {msg, wParam, lParam, false};
    PendingSend* outer = t_pPending;
    t_pPending = &pending;
    // A window of another thread would receive the message outside our mark: send only to our own.
    LRESULT result = 0;
    if (GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId())
        result = SendMessageW(hWnd, msg, wParam, lParam);
    t_pPending = outer;
    return result;
}

BOOL TakeLocalMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A message sent by another thread or process is delivered with InSendMessage set.
    if (!t_pPending || InSendMessage()) return FALSE;
    if (t_pPending->taken || t_pPending->msg != msg || t_pPending->wParam != wParam ||
        t_pPending->lParam != lParam)
        return FALSE;
    t_pPending->taken = true;
    return TRUE;
}
