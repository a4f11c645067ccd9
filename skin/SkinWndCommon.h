// What the two skinned window bases share: the window's skin records and buttons, read from one
// element of the skin when the window is created; click routing by button name; closing through the
// "close" button; anchoring on resize; the tooltip relay. CSkinWnd2 (double-buffered) and CSkinWnd
// (layered) add their own creation and painting.
#pragma once

#include "framework/ToolTipCtrl.h"
#include "framework/Wnd.h"
#include "skin/SkinButton.h"
#include "skin/SkinComposition.h"
#include "skin/SkinRecords.h"

#include <list>
#include <memory>
#include <vector>

// Button clicks are routed for control ids in this range; ids above it are drawn but not routed.
#define IDC_SKINBTN_FIRST 10000
#define IDC_SKINBTN_LAST 19999

// Told whenever a top-level skinned window has come on screen, gone from it (minimised included) or
// moved in the z-order, however that happened (the program, the system): the client installs it to
// keep its message boxes above its windows. Null until then.
using PFN_SKINWNDRESTACKED = void (*)();
extern PFN_SKINWNDRESTACKED g_pfnSkinWndRestacked;
// Tells it, when a top-level window's position change (its WM_WINDOWPOSCHANGED flags) showed, hid,
// resized or restacked it. The skinned windows call it for themselves; another top-level window of
// the client calls it too.
void TellSkinWndRestacked(HWND wnd, UINT swpFlags);

// Asked before a button's click reaches the handler of its window (wnd): FALSE drops the click. The
// client installs it to drop clicks that arrive after the player has put their window away. Null
// until then: every click goes through.
using PFN_SKINCLICKALLOWED = BOOL (*)(HWND wnd);
extern PFN_SKINCLICKALLOWED g_pfnSkinClickAllowed;

class CSkinWndCommon : public CWnd {
public:
    explicit CSkinWndCommon(const wchar_t* skinName);
    ~CSkinWndCommon() override;

    BOOL PreTranslateMessage(MSG* msg) override;

    // Registers the window class and creates the window; InitSkin then gives it its size and place.
    virtual BOOL CreateWnd(HWND parent, DWORD exStyle, DWORD style);
    virtual void ShowSkinWnd(BOOL show);
    // Reads the window's element of the skin and makes its buttons.
    virtual void InitSkin();
    // A button was clicked (or "close" reached through WM_CLOSE); info is a copy of its record.
    virtual void OnSkinBtnClick(const SkinButtonInfo& info) = 0;
    virtual void DrawSkinText(Gdiplus::Graphics& graphics, const wchar_t* text, COLORREF color,
                              const SkinFontSpec& font, const Gdiplus::RectF& layout);

    // The first button whose name matches without regard to case.
    BOOL FindButton(const wchar_t* name, CSkinButton** button);
    // The first RECT record whose name matches without regard to case.
    BOOL GetRectInfo(const wchar_t* name, SkinRectInfo& info);
    // That record's rectangle in client coordinates at the current size: a stretching one grows with
    // the window (at the design size it is one pixel narrower and shorter than the record).
    BOOL GetPlacedRect(const wchar_t* name, CRect& rect);
    // Shows or hides the first button of that name (ShowWindow's command); FALSE when there is none.
    BOOL ShowButton(const wchar_t* name, int cmdShow);
    // The four layers of the window's picture (images, visible buttons, logo and title, texts).
    void ComposePicture(Gdiplus::Graphics& graphics) { ComposeSkin(graphics, MakeScene()); }

    HICON m_hIcon = nullptr;
    CToolTipCtrl m_tooltip;
    int m_nWidth = 0;
    int m_nHeight = 0;
    BOOL m_bMinimized = FALSE;
    BOOL m_bDraggable = TRUE;
    BOOL m_bCenterOnInit = TRUE;
    SkinWndInfo m_wndInfo;
    CString m_strSkinName;
    std::vector<SkinImgInfo> m_vecImages;
    std::vector<SkinRectInfo> m_vecRects;
    std::vector<SkinTextInfo> m_vecTexts;
    std::list<std::unique_ptr<CSkinButton>> m_listButtons;
    std::vector<CRect> m_vecChildRects;

protected:
    // The process-wide counter that numbers this base's buttons.
    virtual int& ButtonIdCounter() = 0;
    virtual SkinSpread GetSpread() const = 0;

    // The icon and the tooltip control: the part of WM_CREATE both bases share.
    void InitIconAndTooltip();
    // Everything one composition of this window reads.
    SkinScene MakeScene();
    void OnSkinBtnCommand(UINT id);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnClose() override;
    HBRUSH OnCtlColor(HDC hdc, HWND ctl, UINT ctlColor) override;

private:
    CString m_strClassName; // the class CreateWnd registered
};
