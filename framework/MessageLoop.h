// The UI thread's message loop: every message first goes to PreTranslateMessage of the window it is
// for and then of that window's parents up to its top-level window (tooltip relays, accelerators),
// and is dispatched only when none of them ate it.
#pragma once

#include <windows.h>

// Offers the message to the bound windows from msg->hwnd up to its top-level window; TRUE when one
// of them ate it.
BOOL PreTranslateTree(MSG* msg);

// Waits for one message and handles it; FALSE when it was WM_QUIT (its exit code in *exitCode).
BOOL PumpMessage(int* exitCode = nullptr);

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop();
