// What the driver can learn about, and do to, another process's windows from outside: find them by
// process and class, read their texts, post the input a player's mouse or keyboard would cause, and
// read and answer the system's message boxes.
#pragma once

#include "framework/String.h"

#include <windows.h>

#include <vector>

namespace driver {

CString ClassOf(HWND wnd);
CString TextOf(HWND wnd);
DWORD ProcessOf(HWND wnd);

// Top-level windows of one process, front to back.
std::vector<HWND> TopLevelWindows(DWORD processId);
// The first top-level window of the process with this class and this title (either null: any).
HWND FindTopLevel(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr);
// Direct children of a window, of one class unless className is null.
std::vector<HWND> ChildWindows(HWND parent, const wchar_t* className = nullptr);

// Posts a left click (button down, then up) at the centre of the window's client area.
bool PostClick(HWND wnd);
// Posts a key press (down, then up) to a window.
bool PostKey(HWND wnd, UINT virtualKey);
// Posts the characters of a text as typing brings them to a window (WM_CHAR, one per UTF-16 unit).
bool PostChars(HWND wnd, const CString& text);

// A message box as the player sees it.
struct MessageBoxInfo {
    HWND box = nullptr;
    CString caption;
    CString text; // the message, without the button captions
};
MessageBoxInfo ReadMessageBox(HWND box);
// Presses the box's button with this id (IDOK, IDCANCEL...); false when it has no such button.
bool PressDialogButton(HWND dialog, int buttonId);

// Message boxes and pop-up menus are windows of these system classes.
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMenuClass[] = L"#32768";

} // namespace driver
