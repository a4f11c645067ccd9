// Bounded waits for the driver: a condition is polled, with this thread's messages dispatched in
// between, so that the driver's own windows (the tip window) keep answering while it waits.
#pragma once

#include <windows.h>

namespace driver {

// How often a condition is looked at.
constexpr DWORD kPollMs = 10;

// Dispatches every message waiting for this thread.
void PumpMessages();

// Polls until cond() holds or ms milliseconds have passed; true when it held.
template <class Cond> bool WaitUntil(DWORD ms, Cond cond) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        PumpMessages();
        if (cond()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    }
}

} // namespace driver
