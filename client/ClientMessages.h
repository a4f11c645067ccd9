// The client's window messages, and the one way its code sends a message whose parameter points
// into this process.
//
// WM_START_GAME and WM_GSNAME carry a text pointer. Any program can send or post a message to our
// windows, so a receiver acts on such a pointer only when SendLocalMessage is delivering exactly that
// message on this thread; anything else (another process, a post, a nested message) is ignored.
#pragma once

#include <windows.h>

// The client's messages, as its windows have always numbered them.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 100;        // tray icon callback to the main frame
constexpr UINT WM_CONFIG_DOWNLOADED = WM_USER + 102; // remote configuration downloaded (lParam: task id)
constexpr UINT WM_UPDATE_DOWNLOADED = WM_USER + 104; // update installer downloaded (lParam: task id)
constexpr UINT WM_TITLE_CHANGED = WM_USER + 105;     // page title (lParam), to a browser view's parent
constexpr UINT WM_GSNAME = WM_USER + 106;            // chat peer name (lParam: text), to the game window
constexpr UINT WM_NEWMSG = WM_USER + 107;            // new chat message, to the game window
constexpr UINT WM_PING = WM_USER + 108;              // answered with 1 by the main frame
constexpr UINT WM_START_GAME = WM_USER + 109;        // start a game (wParam: address), to the main frame

// Private messages the frame posts to itself.
constexpr UINT WM_EXIT_GAME = WM_APP + 1;     // leave the game once the handler that asked has returned
constexpr UINT WM_HOTKEY_FAILED = WM_APP + 2; // tell the player the boss key could not be registered

// SendMessageW, marked as coming from this program's own code.
LRESULT SendLocalMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// TRUE when the message being handled is the one SendLocalMessage is delivering now; the mark is
// taken, so it holds for one handler only.
BOOL TakeLocalMessage(UINT msg, WPARAM wParam, LPARAM lParam);
