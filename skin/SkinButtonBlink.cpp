// Blinking: a thread per blinking button posts WM_BUTTONBLINK about every 600 ms; each tick loads
// the other image set and repaints the game window at once.
//
// The thread (started through AfxBeginThread) gets copies of the window and the stop event and never
// touches the button. It waits on the stop event for its whole period (100 ms, then 500 ms), so a stop
// ends it at once; the UI thread waits for it before the owners close the handles. A start therefore
// never meets an old thread still running, and the button's destructor leaves no thread behind.
#include "skin/SkinButton.h"

#include "skin/GameWndHook.h"
#include "skin/SkinWnd2.h"

#include <new>

BOOL g_bBlinkPhase = FALSE;

namespace {

struct BlinkThreadArgs {
    HWND button;
    HANDLE stop;
};

UINT BlinkThreadProc(LPVOID param) {
    const BlinkThreadArgs args = *static_cast<BlinkThreadArgs*>(param);
    delete static_cast<BlinkThreadArgs*>(param);
    for (;;) {
        if (WaitForSingleObject(args.stop, 100) != WAIT_TIMEOUT) break;
        if (WaitForSingleObject(args.stop, 500) != WAIT_TIMEOUT) break;
        PostMessageW(args.button, WM_BUTTONBLINK, 0, 0);
    }
    return 0;
}

} // namespace

void CSkinButton::SetBlink(BOOL blink) {
    blink = blink ? TRUE : FALSE;
    if (blink == m_bBlinking) return;
    if (!blink) {
        EndBlink();
        return;
    }
    m_bBlinking = StartBlinkThread();
}

BOOL CSkinButton::StartBlinkThread() {
    StopBlinkThread(); // nothing may be left of an earlier blink
    if (!m_hWnd) return FALSE;
    m_hBlinkStop.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_hBlinkStop.IsValid()) return FALSE;
    std::unique_ptr<BlinkThreadArgs> args(new (std::nothrow) BlinkThreadArgs{m_hWnd, m_hBlinkStop});
    if (args) m_pBlinkThread = AfxBeginThread(&BlinkThreadProc, args.get());
    if (!m_pBlinkThread) {
        m_hBlinkStop.Close();
        return FALSE;
    }
    args.release(); // the thread frees them
    return TRUE;
}

void CSkinButton::StopBlinkThread() {
    if (m_pBlinkThread) {
        SetEvent(m_hBlinkStop);
        // The thread only waits on the event and posts: it ends within moments.
        WaitForSingleObject(m_pBlinkThread->GetHandle(), INFINITE);
        m_pBlinkThread.reset();
    }
    m_hBlinkStop.Close();
}

void CSkinButton::EndBlink() {
    m_bBlinking = FALSE;
    StopBlinkThread();
    // Ticks the ended thread posted are stale: a blink started soon after must not see them.
    MSG stale;
    if (m_hWnd)
        while (PeekMessageW(&stale, m_hWnd, WM_BUTTONBLINK, WM_BUTTONBLINK, PM_REMOVE | PM_NOYIELD)) {
        }
    ReloadImages(m_info.stand);
    RepaintGameWnd();
}

void CSkinButton::RepaintGameWnd() {
    CSkinWnd2* game = GetGameWnd();
    if (game && game->GetSafeHwnd()) game->OnPaint();
}

LRESULT CSkinButton::OnBlinkTick(WPARAM, LPARAM) {
    if (!m_bBlinking) return 1;
    if (!g_bBlinkPhase) {
        ReloadImages(m_info.stand);
        g_bBlinkPhase = TRUE;
    } else {
        ReloadImages(m_info.flash);
        g_bBlinkPhase = FALSE;
    }
    RepaintGameWnd();
    return 1;
}
