// CBoxKeeper: keeps the client's message boxes where the player sees them. A box waits for an
// answer, and so does the handler that opened it (a game's exit waits for that handler): while any
// window of the client is on screen, every box of the client that is up is shown, above all of them
// (a game window kept always on top included). Only the player's own hiding of the game window (the
// boss key, "pack") takes the boxes along, and only when it leaves nothing of the client on screen;
// they come back with whichever window of the client is shown next.
//
// The main frame keeps the one keeper for the life of its window: the game window that took boxes
// along may be gone (its game ended) before they come back. A box goes into the top-most band as it
// comes up, whoever opens it, so that a window raised later passes it only when that window is top-most
// itself. The window system may still restack the windows after the client has shown them (under X
// without a window manager, a late expose moves a top-most window above a box), so while a box is up
// the frame's timer settles them again.
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

    // Watches the boxes of this thread from now on; watch: the window whose timer settles them while
    // one is up (the frame). Without the watch on new boxes (it cannot be set up), they are still
    // settled whenever the client shows or raises a window.
    void Start(HWND watch);
    // After the client has shown or raised one of its windows: boxes taken along come back, and every
    // box that is up goes above the client's windows.
    void Settle();
    // After the player has hidden the game window: when nothing of the client is left on screen, the
    // boxes that are up go too, until Settle brings them back.
    void TakeAlong();
    // The watch timer's tick: settles again, or stops once no box is up.
    void OnWatchTimer();

    // TRUE while a window of this thread other than a message box is on screen.
    static bool IsClientOnScreen();
    // TRUE for a message box (or any dialog) of this thread: the client's boxes are made by the system.
    static bool IsClientBox(HWND wnd);

    static constexpr UINT_PTR kWatchTimer = 0x5E02;

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    void WatchBoxes();

    HWND m_hWatch = nullptr;
    std::vector<HWND> m_taken;
    CScopedHook m_cbtHook;
};
