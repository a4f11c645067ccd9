// CGameWnd: the resizable skinned game window. While a game runs it holds the browser view that the
// main frame moves into it from the login window. It owns the tool windows around the game, receives
// the boss hot key, F5 and the page's chat notifications, and is resized by its edges although it has
// no system frame.
//
// Tool-window protocol: a tool window that must be answered first (boss key, setup, cache, lock,
// update) is shown by its opener, which sets m_bToolWndOpen and disables this window; the tool
// window's own buttons undo both (ReleaseFromToolWnd).
#pragma once

#include "skin/SkinWnd2.h"

class CBossWnd;
class CCacheWnd;
class CIEView;
class CMoreWnd;
class CServerWnd;
class CSetupWnd;
class CVIPWnd;

// The boss key's id.
constexpr int ID_HOTKEY_BOSS = 2001;

// The boss key's toggle state: kept by the process, not by one game window.
extern BOOL g_bGameWndVisible;

class CGameWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CGameWnd)
public:
    explicit CGameWnd(const wchar_t* skinName);
    ~CGameWnd() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    void ShowSkinWnd(BOOL show) override;
    void OnSkinBtnClick(const SkinButtonInfo& info) override;

    void OnUserLogin(const wchar_t* userName);
    void OnMoreItem(const wchar_t* item);
    void ToggleMaximize();
    void Navigate(const wchar_t* url);

    // The closing half of the tool-window protocol, for a tool window owned by this window.
    void ReleaseFromToolWnd();
    // A tool window's own button closes it: it hides, and its game window is given back.
    static void CloseToolWnd(CSkinWnd2& tool);
    // The game window that owns a tool window (its owner, when that is the main frame's game window).
    static CGameWnd* FromToolWnd(const CWnd* toolWnd);

    CIEView* m_pWebView = nullptr;
    CMoreWnd* m_pMoreWnd = nullptr;
    CBossWnd* m_pBossWnd = nullptr;
    CServerWnd* m_pServerWnd = nullptr;
    CSetupWnd* m_pSetupWnd = nullptr;
    CCacheWnd* m_pCacheWnd = nullptr;
    CVIPWnd* m_pVipWnd = nullptr;
    CVIPWnd* m_pHostWnd = nullptr;
    BOOL m_bToolWndOpen = FALSE;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnClose() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(HWND oldFocus) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    LRESULT OnNcHitTest(CPoint point) override;
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;

private:
    void OnHotKey(int id);
    void OnNcLButtonDown(UINT hitTest, LPARAM point);
    LRESULT OnGsName(LPARAM lParam);
    LRESULT OnNewMsg();
    // Fits the game view into the rectangle "ie" for a client size.
    void LayoutView(int cx, int cy);
    // Moves a pop-up under a button: aligned left, right, or centred on the button's right edge.
    enum class Align { Left, Right, HalfRight };
    BOOL PlaceUnder(const wchar_t* button, CWnd& popup, Align align);
    // The tool-window protocol's opening half for a tool window of the "more" menu.
    void OpenToolWnd(CSkinWnd2& tool);
    void ShowServerPanel();
    void ShowMoreMenu();
    void RefreshGame();
};
