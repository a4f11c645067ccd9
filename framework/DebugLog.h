// One line to the debugger's output (OutputDebugStringW) for a failure that is handled where it
// happens and would otherwise leave no trace: exceptions caught at a window procedure, a COM method
// or a thread's edge. Callable from any thread; it never throws and allocates nothing.
#pragma once

// Writes "where: what" as one line; either may be null.
void DebugLog(const wchar_t* where, const wchar_t* what) noexcept;

// Only inside a catch block: logs where, with the caught exception's text when it has one.
void DebugLogException(const wchar_t* where) noexcept;
