// CSkinWnd: the layered skinned window (the login window's base). Its picture, composed like that of
// CSkinWnd2 but with enlarged images stretched, goes to the system with its alpha channel through
// UpdateLayeredWindow, so the transparent parts of the skin are transparent parts of the window.
// The window class is the one CreateWnd registers, copied under the configured name `imClass`.
#pragma once

#include "framework/Handle.h"
#include "skin/SkinWndCommon.h"

// The control id of the next button any CSkinWnd makes; separate from the CSkinWnd2 counter.
extern int g_nSkinWndBtnId;

class CSkinWnd : public CSkinWndCommon {
    DECLARE_DYNAMIC(CSkinWnd)
public:
    explicit CSkinWnd(const wchar_t* skinName);
    ~CSkinWnd() override;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Also draws the picture after showing.
    void ShowSkinWnd(BOOL show) override;

    // Shows or hides every IMG record of that name; the next DrawSkin shows the change.
    void ShowImage(const wchar_t* name, BOOL visible);
    // Composes the picture and hands it to the system; leaves the window shown, not topmost.
    void DrawSkin();

    typedef BOOL(WINAPI* PFN_UPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                  BLENDFUNCTION*, DWORD);

    CScopedLibrary m_hUser32;
    PFN_UPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;
    BLENDFUNCTION m_blend = {};

protected:
    int& ButtonIdCounter() override { return g_nSkinWndBtnId; }
    SkinSpread GetSpread() const override { return SkinSpread::Stretched; }

    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;

private:
    CString m_strLayeredClass; // keeps the class name alive for CreateWindowExW
};
