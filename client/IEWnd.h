// CIEWnd: the login window's browser pop-up: a borderless window owned by the login window whose only
// child is the browser view, always filling it. Like the skinned windows, it tells the client's box
// keeper when it comes on screen or moves in the z-order (it comes up above its login window).
#pragma once

#include "client/IEView.h"
#include "framework/Wnd.h"

class CIEWnd : public CWnd {
    DECLARE_DYNAMIC(CIEWnd)
public:
    CIEWnd() = default;
    ~CIEWnd() override;

    virtual BOOL CreateWnd(HWND parent, DWORD exStyle, DWORD style);

    CIEView m_view;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
};
