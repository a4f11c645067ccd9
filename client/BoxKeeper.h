// CBoxKeeper: keeps the client's message boxes where the player sees them, and no higher. A box waits
// for an answer, and so does the handler that opened it (a game's exit waits for that handler): while
// any window of the client is on screen, every box of the client that is up lies above all of them. A
// box is in the top-most band only while a shown window of the client is kept on top (the game window
// "always on top", the host window): another program the player brings forward stays in front of the
// client's boxes as it stays in front of its windows, until the client itself shows or raises one.
//
// What counts as the client on screen is what the player sees of it: the login window, the game
// window, the game's host window and the windows they own, shown and not minimised; not its menus,
// tool tips or boxes (the system keeps all three on top, owned by the window they belong to). Only the
// player's own hiding of the game window (the boss key, "pack") takes the boxes along, and only when it
// leaves nothing of the client on screen; they come back with whichever window of the client is shown
// next.
//
// The main frame keeps the one keeper for the life of its window: the game window that took boxes
// along may be gone (its game ended) before they come back. The window system may still restack the
// windows after the client has shown them (under X without a window manager, a late expose moves a
// top-most window above a box without any message), so while a box and a window of the client are
// both on screen the frame's timer looks again; it moves a box only when one lies under a window of
// the client or is not in the band their windows call for, and it does not run at all otherwise.
#pragma once

#include "framework/Handle.h"

#include <windows.h>

#include <vector>

class CBoxKeeper {
public:
    CBoxKeeper() = default;
    ~CBoxKeeper();
    CBoxKeeper(const CBoxKeeper&) = delete;
    CBoxKeeper& operator=(const CBoxKeeper&) = delete;

    // Watches the boxes of this thread from now on; watch: the window whose timer looks at them while
    // one is up (the frame). Without the watch on new boxes (it cannot be set up), they are still
    // settled whenever the client shows, raises or hides a window.
    void Start(HWND watch);
    // After the client has shown, raised or hidden one of its windows: boxes taken along come back
    // when a window of the client is on screen, every box that is up goes into the band the client's
    // windows call for, and one that lies under a window of the client goes right above the highest.
    void Settle();
    // After the player has hidden the game window: when nothing of the client is left on screen, the
    // boxes that are up go too, until Settle brings them back.
    void TakeAlong();
    // The watch timer's tick: settles again when a box lies under a window of the client or out of
    // its band, and stops once no box or no window of the client is on screen.
    void OnWatchTimer();

    // TRUE for a window of the client that the player sees (see above).
    static bool IsSeenClientWindow(HWND wnd);
    // TRUE while the player sees a window of the client.
    static bool IsClientOnScreen();
    // TRUE for a message box (or any dialog) of this thread: the client's boxes are made by the system.
    static bool IsClientBox(HWND wnd);

    static constexpr UINT_PTR kWatchTimer = 0x5E02;

private:
    // Sees the boxes of this thread come up and go.
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    // Bands and places the boxes that are up; coming: a box about to be shown, counted as up.
    void Restack(HWND coming = nullptr);
    // The timer runs while a box and a window of the client are both on screen, and only then.
    void Watch(bool on);

    HWND m_hWatch = nullptr;
    bool m_bWatching = false;
    bool m_bRestacking = false;
    std::vector<HWND> m_taken;
    CScopedHook m_cbtHook;
};

// TRUE for a window in the top-most band.
bool IsTopMost(HWND wnd);
// Takes a window of the client out of the top-most band. Wine refuses while the window's owner lies
// right under it at the top of the other windows (it keeps an owned window above its owner by
// inserting it after the last top-most window, band and all): then the owner steps to the bottom for
// a moment, and back under it.
void LeaveTopMostBand(HWND wnd);
