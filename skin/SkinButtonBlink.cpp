// Blinking: a thread per blinking button posts WM_BUTTONBLINK about every 600 ms; each tick loads
// the other image set and repaints the game window at once.
//
// The thread gets copies of the window and the stop event and never touches the button. It waits on
// the stop event for its whole period (100 ms, then 500 ms), so a stop ends it at once; the UI thread
// waits for it before closing the handles. A start therefore never meets an old thread still running,
// and the button's destructor leaves no thread behind.
#include "skin/SkinButton.h"

#include "skin/GameWndHook.h"
#include "skin/SkinWnd2.h"

#include <process.h>

BOOL g_bBlinkPhase = FALSE;

namespace {

struct BlinkThreadArgs {
    HWND button;
    HANDLE stop;
};

unsigned __stdcall BlinkThreadProc(void* param) {
    BlinkThreadArgs args = *static_cast<BlinkThreadArgs*>(param);
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
    m_hBlinkStop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!m_hBlinkStop) return FALSE;
    auto* args = new BlinkThreadArgs{m_hWnd, m_hBlinkStop};
    uintptr_t thread = _beginthreadex(nullptr, 0, &BlinkThreadProc, args, 0, nullptr);
    if (!thread) {
        delete args;
        CloseHandle(m_hBlinkStop);
        m_hBlinkStop = nullptr;
        return FALSE;
    }
    m_hBlinkThread = reinterpret_cast<HANDLE>(thread);
    return TRUE;
}

void CSkinButton::StopBlinkThread() {
    if (m_hBlinkThread) {
        SetEvent(m_hBlinkStop);
        // The thread only waits on the event and posts: it ends within moments.
        WaitForSingleObject(m_hBlinkThread, INFINITE);
        CloseHandle(m_hBlinkThread);
        m_hBlinkThread = nullptr;
    }
    if (m_hBlinkStop) {
        CloseHandle(m_hBlinkStop);
        m_hBlinkStop = nullptr;
    }
}

void CSkinButton::EndBlink() {
    m_bBlinking = FALSE;
    StopBlinkThread();
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
