#include "client/BoxKeeper.h"

#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/MainFrame.h"
#include "client/WindowStyles.h"
#include "client/tools/VIPWnd.h"
#include "framework/MessageBox.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

// How often the boxes are looked at again while one is up over a window of the client.
constexpr UINT kWatchMs = 100;

// The keeper that watches this thread's boxes (the hook calls back without one).
CBoxKeeper* g_pWatchingKeeper = nullptr;

// Boxes, menus and tool tips come and go over the client's windows (a menu and a tool tip are kept on
// top by the system, owned by the window they belong to): none of them is a window the player sees of
// the client.
bool IsPassingWindow(HWND wnd) {
    wchar_t cls[32] = {};
    if (GetClassNameW(wnd, cls, 32) == 0) return true;
    return AfxIsMessageBoxWindow(wnd) || wcscmp(cls, L"#32768") == 0 || _wcsicmp(cls, TOOLTIPS_CLASSW) == 0;
}

HWND SafeHwnd(const CWnd* wnd) {
    return wnd ? wnd->GetSafeHwnd() : nullptr;
}

// The login window, the game window, the game's host window, or a window one of them owns.
bool IsClientWindow(HWND wnd) {
    const CMainFrame* frame = g_pMainFrame;
    if (!frame) return false;
    const CGameWnd* game = frame->m_pGameWnd;
    const HWND roots[] = {SafeHwnd(frame->m_pMainHtmlWnd), SafeHwnd(game),
                          game ? SafeHwnd(game->m_pHostWnd) : nullptr};
    for (HWND up = wnd; up; up = GetWindow(up, GW_OWNER))
        for (HWND root : roots)
            if (root && up == root) return true;
    return false;
}

// This thread's boxes that are up and the client's windows that the player sees, as they lie.
struct Stack {
    std::vector<HWND> boxes; // top first
    size_t above = 0;        // how many of them lie above every window of the client
    HWND top = nullptr;      // the highest window of the client
    bool keptOnTop = false;  // a window of the client is in the top-most band
    bool misbanded = false;  // a box is not in that band
};

// coming: a box about to be shown, counted as up.
Stack ReadStack(HWND coming) {
    Stack stack;
    const DWORD thread = GetCurrentThreadId();
    for (HWND wnd = GetTopWindow(nullptr); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(wnd, nullptr) != thread) continue;
        if (CBoxKeeper::IsClientBox(wnd) && (wnd == coming || IsWindowVisible(wnd))) {
            stack.boxes.push_back(wnd);
            if (!stack.top) stack.above = stack.boxes.size();
        } else if (CBoxKeeper::IsSeenClientWindow(wnd)) {
            if (!stack.top) stack.top = wnd;
            stack.keptOnTop = stack.keptOnTop || IsTopMost(wnd);
        }
    }
    for (HWND box : stack.boxes)
        stack.misbanded = stack.misbanded || IsTopMost(box) != stack.keptOnTop;
    return stack;
}

bool IsShownBox(HWND wnd) {
    return IsWindowVisible(wnd) && CBoxKeeper::IsClientBox(wnd);
}

// Whether a top-level window of this thread matches: the thread's windows alone, not the desktop's.
struct ThreadSearch {
    bool (*match)(HWND);
    bool found;
};
BOOL CALLBACK MatchThreadWindow(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<ThreadSearch*>(param);
    search->found = search->match(wnd);
    return search->found ? FALSE : TRUE;
}
bool AnyThreadWindow(bool (*match)(HWND)) {
    ThreadSearch search{match, false};
    EnumThreadWindows(GetCurrentThreadId(), &MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool IsTopMost(HWND wnd) {
    return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void LeaveTopMostBand(HWND wnd) {
    SetWindowPos(wnd, HWND_NOTOPMOST, 0, 0, 0, 0, kRestackOnly);
    const HWND owner = GetWindow(wnd, GW_OWNER);
    if (!IsTopMost(wnd) || !owner || IsTopMost(owner)) return;
    SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, kRestackOnly);
    SetWindowPos(wnd, HWND_NOTOPMOST, 0, 0, 0, 0, kRestackOnly);
    SetWindowPos(owner, wnd, 0, 0, 0, 0, kRestackOnly);
}

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
    const HWND wnd = reinterpret_cast<HWND>(wParam);
    CBoxKeeper* keeper = g_pWatchingKeeper;
    if (keeper && (code == HCBT_ACTIVATE || code == HCBT_DESTROYWND) && IsClientBox(wnd)) {
        if (code == HCBT_ACTIVATE) {
            // A box coming up: in its band and above every window of the client from its first moment
            // (the system would put it under a window kept on top, or keep a system-modal one above
            // every program).
            keeper->Restack(wnd);
        } else {
            std::vector<HWND> up = ReadStack(nullptr).boxes;
            up.erase(std::remove(up.begin(), up.end(), wnd), up.end());
            if (up.empty()) keeper->Watch(false); // the last box goes
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CBoxKeeper::Watch(bool on) {
    if (!m_hWatch || on == m_bWatching) return;
    m_bWatching = on;
    if (on)
        ::SetTimer(m_hWatch, kWatchTimer, kWatchMs, nullptr);
    else
        ::KillTimer(m_hWatch, kWatchTimer);
}

bool CBoxKeeper::IsClientBox(HWND wnd) {
    return ::IsWindow(wnd) && GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId() &&
           AfxIsMessageBoxWindow(wnd);
}

bool CBoxKeeper::IsSeenClientWindow(HWND wnd) {
    return IsWindowVisible(wnd) && !IsIconic(wnd) && !IsPassingWindow(wnd) && IsClientWindow(wnd);
}

bool CBoxKeeper::IsClientOnScreen() {
    return AnyThreadWindow(&CBoxKeeper::IsSeenClientWindow);
}

void CBoxKeeper::Restack(HWND coming) {
    // An owner moved on the way here tells the keeper again.
    if (m_bRestacking) return;
    // Most windows come and go while no box is up: the desktop's list is read only when one is.
    if (!coming && !AnyThreadWindow(&IsShownBox)) {
        Watch(false);
        return;
    }
    m_bRestacking = true;
    Stack stack = ReadStack(coming);
    // Into the band first, the lowest first so that the boxes keep their order among themselves; a
    // box that changes band lands on top of it.
    bool moved = false;
    for (auto box = stack.boxes.rbegin(); box != stack.boxes.rend(); ++box) {
        if (IsTopMost(*box) == stack.keptOnTop) continue;
        if (stack.keptOnTop)
            SetWindowPos(*box, HWND_TOPMOST, 0, 0, 0, 0, kRestackOnly);
        else
            LeaveTopMostBand(*box);
        moved = true;
    }
    if (moved) stack = ReadStack(coming);
    // A box under a window of the client goes right above the highest of them, and no higher: the
    // program the player has in front stays there. The highest box first, each under the one before.
    for (size_t i = stack.above; i < stack.boxes.size(); ++i) {
        HWND over = GetWindow(stack.top, GW_HWNDPREV);
        if (!over) over = IsTopMost(stack.top) ? HWND_TOPMOST : HWND_TOP;
        SetWindowPos(stack.boxes[i], over, 0, 0, 0, 0, kRestackOnly);
    }
    Watch(stack.top && !stack.boxes.empty());
    m_bRestacking = false;
}

void CBoxKeeper::Settle() {
    if (!m_taken.empty() && IsClientOnScreen()) {
        for (HWND box : std::exchange(m_taken, {}))
            if (IsClientBox(box)) ::ShowWindow(box, SW_SHOWNA); // one answered meanwhile is gone
    }
    Restack();
}

void CBoxKeeper::TakeAlong() {
    if (IsClientOnScreen()) {
        Settle();
        return;
    }
    for (HWND box : ReadStack(nullptr).boxes) {
        ::ShowWindow(box, SW_HIDE);
        m_taken.push_back(box);
    }
    Watch(false);
}

void CBoxKeeper::OnWatchTimer() {
    const Stack stack = ReadStack(nullptr);
    if (!stack.top || stack.boxes.empty()) {
        Watch(false);
        return;
    }
    if (stack.above < stack.boxes.size() || stack.misbanded) Restack();
}
