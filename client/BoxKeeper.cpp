#include "client/BoxKeeper.h"

#include "framework/MessageBox.h"

#include <utility>

namespace {

// How often the boxes are settled again while one is up.
constexpr UINT kWatchMs = 100;

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
    if (!boxes.empty() && m_hWatch) ::SetTimer(m_hWatch, kWatchTimer, kWatchMs, nullptr);
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
