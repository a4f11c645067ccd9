// CSkinButton: the one control of the skinned windows. A child window of the system "Button" class
// that never paints itself: its owner draws it into the owner's picture with Draw. The button keeps
// its mouse state (hover, pressed, checked), picks the state image, anchors itself, shows a tooltip
// and can blink by alternating two image sets, ticked by a small thread of its own.
//
// The blink thread touches nothing of the button: it gets the window and the stop event by value,
// waits on the event and posts WM_BUTTONBLINK. Stopping signals the event and waits for the thread
// before either handle is closed, so there is never more than one thread per button and none
// outlives it.
#pragma once

#include "framework/Handle.h"
#include "framework/Thread.h"
#include "framework/ToolTipCtrl.h"
#include "framework/Wnd.h"
#include "skin/SkinGdiplus.h"
#include "skin/SkinRecords.h"

#include <array>
#include <memory>

// Posted by the blink thread, both parameters 0.
#define WM_BUTTONBLINK (WM_USER + 7169)

// Which image set the next blink tick of any button loads (one flag for all buttons).
extern BOOL g_bBlinkPhase;

class CSkinButton : public CWnd {
    DECLARE_DYNAMIC(CSkinButton)
public:
    enum { kNormal = 0, kHover = 1, kPressed = 2, kChecked = 3 };

    CSkinButton();
    ~CSkinButton() override;

    // A visible owner-drawn child of parent with the control id; check is not used.
    virtual BOOL Create(CWnd* parent, UINT id, int check = 0);
    // Loads the images, places and shows the button, keeps the record and registers the tooltip.
    virtual BOOL Setup(const SkinButtonInfo& info, CToolTipCtrl* tooltip);
    // Paints the button into the owner's surface, in the owner's client coordinates.
    virtual void Draw(Gdiplus::Graphics& graphics);
    // Picks the state image; repaints the button's area in the owner when it changed.
    virtual void UpdateStateImage();

    // Replaces the four state images (null: none) and sizes the button to the normal one (or the
    // hover one, or 50 by 20). Only the normal image (and the hover one when it gives the size) is
    // decoded here; each other one when a state first shows it. FALSE without a normal path.
    BOOL LoadImages(const wchar_t* normal, const wchar_t* hover, const wchar_t* pressed,
                    const wchar_t* checked);
    // Frees the state images; the current image goes with them.
    void FreeImages();
    // Loads the four images base + "01.png" ... "04.png" and repaints the button's area in the owner.
    // An empty base names no image.
    void ReloadImages(const wchar_t* base);
    // Re-anchors the button in the owner's client rectangle.
    void Reposition(const RECT& ownerClient);
    void SetCaption(const wchar_t* text);
    void SetBlink(BOOL blink);

    const SkinButtonInfo& GetInfo() const { return m_info; }
    // The state image drawn now (one of the four) or null.
    Gdiplus::Image* GetCurImage() const { return m_pCurImage; }
    // A state image as decoded so far: null when missing or not yet needed.
    Gdiplus::Image* GetStateImage(int index) const;
    // The button's window rectangle in its owner's client coordinates.
    CRect GetRectInOwner() const;

    BOOL m_bHover = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bChecked = FALSE;
    BOOL m_bTracking = FALSE;
    BOOL m_bHandCursor = FALSE;
    BOOL m_bBlinking = FALSE;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message) override;
    LRESULT OnBlinkTick(WPARAM wParam, LPARAM lParam);

private:
    void InvalidateInOwner();
    void DrawBackground(Gdiplus::Graphics& graphics, const CRect& r);
    void DrawIconAndCaption(Gdiplus::Graphics& graphics, const CRect& r);
    BOOL StartBlinkThread();
    // Signals the thread, waits for it and lets both handles go.
    void StopBlinkThread();
    // Stops blinking: the stand images come back and the game window is repainted.
    void EndBlink();
    static void RepaintGameWnd();
    // The state image, decoded (through the images shared by buttons of one look) on first need.
    Gdiplus::Image* StateImage(int index);

    SkinButtonInfo m_info;
    std::array<SkinSharedImage, 4> m_images;
    std::array<CString, 4> m_pendingPaths; // files of state images not decoded yet
    Gdiplus::Image* m_pCurImage = nullptr;
    SkinSharedImage m_pIcon;
    SkinSharedImage m_pBadge;
    std::unique_ptr<Gdiplus::StringFormat> m_format;
    std::unique_ptr<CWinThread> m_pBlinkThread;
    CScopedHandle m_hBlinkStop;
};
