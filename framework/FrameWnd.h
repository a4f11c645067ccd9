// CFrameWnd: a top-level frame in the class library's manner. LoadFrame creates it with the title and
// menu of one resource id; commands go to OnCmdMsg and, when no window takes them, to the application;
// the frame deletes itself when its window is destroyed, and the application's main frame ends the
// message loop then.
#pragma once

#include "Wnd.h"

// The frame adds the document's name to its title (kept for the styles the frame is loaded with).
constexpr DWORD FWS_ADDTOTITLE = 0x00008000L;

class CFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CFrameWnd)
public:
    CFrameWnd() = default;

    // Creates the frame window: the string resource id gives its title (up to the first line break), a
    // menu resource of the same id, when there is one, its menu.
    virtual BOOL LoadFrame(UINT idResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, void* context = nullptr);
    BOOL OnCmdMsg(UINT id, int code) override;

    BOOL m_bAutoMenuEnable = TRUE;

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;
};
