// CSkinWnd2: the double-buffered skinned window, base of the game window and its tool windows. Its
// picture is composed off-screen (tiled spreading of enlarged images), outlined in the skin's border
// colour and copied to the window in one go, leaving the rectangles of child windows alone.
#pragma once

#include "skin/SkinWndCommon.h"

// The control id of the next button any CSkinWnd2 makes; only ever incremented.
extern int g_nSkinWnd2BtnId;

class CSkinWnd2 : public CSkinWndCommon {
    DECLARE_DYNAMIC(CSkinWnd2)
public:
    explicit CSkinWnd2(const wchar_t* skinName);

    // Gives the first TEXT record of that name a new text and repaints its place when it is drawn.
    void SetSkinText(const wchar_t* name, const wchar_t* text);

    // Puts a child window (a browser view) over the RECT of that name at the current size, and makes
    // its rectangle the one part of the window that painting leaves alone.
    BOOL PlaceChildOverRect(CWnd& child, const wchar_t* rectName);

    // The paint handler; called directly (a blink tick, the game window) it repaints at once.
    void OnPaint() override;
    // The whole picture as a paint puts it on the window (layers, border, child rectangles left
    // alone), drawn into any context of the client's size: the paint itself, tests, renderings.
    void RenderTo(HDC target, const CRect& client);

protected:
    int& ButtonIdCounter() override { return g_nSkinWnd2BtnId; }
    SkinSpread GetSpread() const override { return SkinSpread::Tiled; }

    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
};
