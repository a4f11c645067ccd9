// The client's own window messages, and the one way its code sends a message whose parameter points
// into this process.
//
// WM_START_GAME and WM_GSNAME carry a text pointer. Any program can send or post a message to our
// windows, so a receiver acts on such a pointer only when SendLocalMessage is delivering exactly that
// message on this thread; anything else (another process, a post, a nested message) is ignored.
#pragma once

#include <windows.h>

constexpr UINT WM_TRAYNOTIFY = WM_USER + 100;
constexpr UINT WM_CONFIG_DOWNLOADED = WM_USER + 102;
constexpr UINT WM_UPDATE_DOWNLOADED = WM_USER + 104;
constexpr UINT WM_GSNAME = WM_USER + 106;
constexpr UINT WM_NEWMSG = WM_USER + 107;
constexpr UINT WM_PING = WM_USER + 108;
constexpr UINT WM_START_GAME = WM_USER + 109;

// SendMessageW, marked as coming from this program's own code.
LRESULT SendLocalMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// TRUE when the message being handled is the one SendLocalMessage is delivering now; the mark is
// taken, so it holds for one handler only.
BOOL TakeLocalMessage(UINT msg, WPARAM wParam, LPARAM lParam);
