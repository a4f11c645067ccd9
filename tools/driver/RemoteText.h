// CRemoteText: a text placed in another process's memory, for the messages whose parameter points
// into the receiver (WM_START_GAME, WM_GSNAME). A garbage pointer only shows that the receiver
// survives (the system swallows a window procedure's access faults here); a pointer that is valid in
// the receiver shows whether it acts on a pointer someone else handed it.
#pragma once

#include "framework/String.h"

#include <windows.h>

namespace driver {

class CRemoteText {
public:
    CRemoteText() = default;
    ~CRemoteText();
    CRemoteText(const CRemoteText&) = delete;
    CRemoteText& operator=(const CRemoteText&) = delete;

    // Writes the text, and a CString object holding it, into the process (a handle with the rights
    // to allocate and write its memory). The text must be too long for a string's inline buffer.
    bool Create(HANDLE process, const CString& text);
    // The zero-terminated UTF-16 text in the other process.
    LPARAM Chars() const { return reinterpret_cast<LPARAM>(m_remote + kObjectRoom); }
    // A CString in the other process, laid out as this program's own, whose text is Chars().
    WPARAM Object() const { return reinterpret_cast<WPARAM>(m_remote); }

private:
    static constexpr size_t kObjectRoom = 64; // room for the object before the text

    HANDLE m_process = nullptr; // not owned
    BYTE* m_remote = nullptr;
};

} // namespace driver
