#include "client/BoxKeeper.h"

#include "framework/MessageBox.h"

#include <utility>

namespace {

// How often the boxes are settled again while one is up.
constexpr UINT kWatchMs = 100;

// The keeper that watches this thread's boxes (the hook calls back without one).
CBoxKeeper* g_pWatchingKeeper = nullptr;

// The shown top-level windows of this thread, top first; boxes or all the others.
std::vector<HWND> ShownWindows(bool boxes) {
    std::vector<HWND> found;
    const DWORD thread = GetCurrentThreadId();
    for (HWND wnd = GetTopWindow(nullptr); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (!IsWindowVisible(wnd) || GetWindowThreadProcessId(wnd, nullptr) != thread) continue;
        if (CBoxKeeper::IsClientBox(wnd) == boxes) found.push_back(wnd);
    }
    return found;
}

} // namespace

CBoxKeeper::~CBoxKeeper() {
    m_cbtHook.Unhook();
    if (g_pWatchingKeeper == this) g_pWatchingKeeper = nullptr;
}

void CBoxKeeper::Start(HWND watch) {
    m_hWatch = watch;
    g_pWatchingKeeper = this;
    m_cbtHook.Attach(SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK CBoxKeeper::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    // A box coming up: above every window of the client from its first moment (the system would put
    // it under a window kept always on top).
    const HWND wnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && g_pWatchingKeeper && IsClientBox(wnd)) {
        SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        g_pWatchingKeeper->WatchBoxes();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CBoxKeeper::WatchBoxes() {
    if (m_hWatch) ::SetTimer(m_hWatch, kWatchTimer, kWatchMs, nullptr);
}

bool CBoxKeeper::IsClientBox(HWND wnd) {
    return ::IsWindow(wnd) && GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId() &&
           AfxIsMessageBoxWindow(wnd);
}

bool CBoxKeeper::IsClientOnScreen() {
    return !ShownWindows(false).empty();
}

void CBoxKeeper::Settle() {
    if (!IsClientOnScreen()) return;
    for (HWND box : std::exchange(m_taken, {}))
        if (IsClientBox(box)) ::ShowWindow(box, SW_SHOWNA); // one answered meanwhile is gone
    // Into the top-most band, which a window the client raises later cannot pass unless it is top-most
    // itself; the lowest first, so that the boxes keep their order among themselves.
    const std::vector<HWND> boxes = ShownWindows(true);
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box)
        SetWindowPos(*box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!boxes.empty()) WatchBoxes();
}

void CBoxKeeper::TakeAlong() {
    if (IsClientOnScreen()) {
        Settle();
        return;
    }
    for (HWND box : ShownWindows(true)) {
        ::ShowWindow(box, SW_HIDE);
        m_taken.push_back(box);
    }
}

void CBoxKeeper::OnWatchTimer() {
    if (m_taken.empty() && ShownWindows(true).empty()) {
        ::KillTimer(m_hWatch, kWatchTimer);
        return;
    }
    Settle();
}
