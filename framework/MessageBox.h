// Message boxes and string resources. Every message box of the program goes through
// AfxShowMessageBox, whose handler a test (or a test mode) can replace to answer it; by default it is
// the system's MessageBoxW.
#pragma once

#include "String.h"

#include <windows.h>

#include <functional>

using MessageBoxHandler =
    std::function<int(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)>;

// Shows a message box through the installed handler and returns its answer (IDOK, IDCANCEL...).
int AfxShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
// TRUE for the window of a message box (a dialog of the system's dialog class).
BOOL AfxIsMessageBoxWindow(HWND wnd);
// Installs a handler (an empty one restores MessageBoxW) and returns the previous one.
MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler);

// A box owned by the application's main window, captioned with the application's name (string
// AFX_IDS_APP_TITLE).
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK);
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK);

// A string resource of the program, or the empty text.
CString AfxLoadString(UINT id);

// The string that names the application.
constexpr UINT AFX_IDS_APP_TITLE = 57344;
