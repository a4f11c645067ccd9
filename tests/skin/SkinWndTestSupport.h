// Helpers for the tests of skinned windows and buttons: counting the process's threads, pumping
// messages for a while, a plain owner window, and a skin document installed as the process's one.
#pragma once

#include "SkinTestSupport.h"
#include "framework/MessageLoop.h"
#include "framework/Wnd.h"
#include "skin/SkinDocument.h"

#include <tlhelp32.h>

#include <memory>

namespace skintest {

// Threads of this process right now, from a toolhelp snapshot.
inline int CountThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// Handles the waiting messages through the project's loop (with pre-translation).
inline void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) return;
        PumpMessage();
    }
}

// Pumps messages until done() holds or the time is up; returns done().
template <class Pred>
bool PumpUntil(Pred done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done() && GetTickCount64() < end) {
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

// A plain pop-up that owns buttons in tests and records the clicks they send.
class COwnerWnd : public CWnd {
public:
    std::vector<UINT> clicks;

    BOOL CreateOwner(int width, int height) {
        return CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP, 0, 0, width, height, nullptr,
                        nullptr);
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED) {
            clicks.push_back(LOWORD(wParam));
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
};

// A skin folder "demo" beside a temporary program folder, loaded and installed in g_pSkinDocument
// for the life of the object.
class InstalledSkin {
public:
    explicit InstalledSkin(const std::string& xml) {
        m_folder.WriteXml(L"demo", xml);
    }
    ~InstalledSkin() {
        if (g_pSkinDocument == m_document.get()) g_pSkinDocument = nullptr;
    }
    InstalledSkin(const InstalledSkin&) = delete;
    InstalledSkin& operator=(const InstalledSkin&) = delete;

    // Loads after the images are written; TRUE when the skin loaded.
    bool Install() {
        m_document.reset(new CSkinDocument);
        if (!m_document->LoadFrom(m_folder.ProgramDir(), L"demo")) return false;
        g_pSkinDocument = m_document.get();
        return true;
    }
    CString Image(const wchar_t* file) const { return m_folder.ImagePath(L"demo", file); }
    const SkinFolder& Folder() const { return m_folder; }

private:
    SkinFolder m_folder;
    std::unique_ptr<CSkinDocument> m_document;
};

} // namespace skintest
