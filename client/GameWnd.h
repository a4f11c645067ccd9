// CGameWnd: the resizable skinned game window. While a game runs it holds the browser view that the
// main frame moves into it from the login window. It owns the tool windows around the game, receives
// the boss hot key, F5 and the page's chat notifications, and is resized by its edges although it has
// no system frame.
//
// Tool-window protocol: a tool window that must be answered first (boss key, setup, cache, lock,
// update) is shown by its opener, which holds this window for it (HoldForToolWnd: m_bToolWndOpen set,
// disabled, shown); the tool window's own buttons give it back (ReleaseFromToolWnd).
//
// Hiding this window hides the pop-ups it owns with it, the lock's cover among them, and showing it
// again brings back exactly those. Kept on top ("always on top"), it leaves the top-most band while
// hidden and comes back into it; turned off, it takes the windows it owns out of the band with it. The
// drop-downs ("more", the server panel with its list) close instead, as a menu does. The client's message
// boxes are the frame's box keeper's: the player's own hiding (the boss key, "pack") hands them to it.
//
// Once the player has hidden it, only the player brings it back (the boss key, the tray, a game the
// player starts); a game that a page starts while nothing of the client is on screen leaves it hidden.
// Once the logout page has hidden it, a game start or the tray brings it back. Meanwhile (put away) a
// click still on its way, on it or on any window that goes with it, does nothing (the unlock answer
// included), no tool window opens and one that closes leaves it hidden; a version answer waits for
// the player, and is dropped at the logout page.
#pragma once

#include "framework/Owner.h"
#include "skin/SkinWnd2.h"

#include <vector>

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
    // Takes the browser view in (its window becomes a child of this one) and places it over "ie" at
    // once: the window may stay hidden, and so keep its size, until the player brings it back.
    void AttachView(CIEView* view);

    // The tool-window protocol's two halves: a tool window holds this window busy and disabled while it
    // is open, and gives it back when it closes (closed: that window, which must not come back with
    // this one when it was put away). While this window is put away nothing holds it (the openers
    // refuse or wait) and giving it back leaves it hidden.
    void HoldForToolWnd();
    void ReleaseFromToolWnd(const CWnd* closed = nullptr);
    // "Always on top" set by the player: on, this window goes into the top-most band (once it is back,
    // while put away); off, it leaves the band with every window it owns, boxes included.
    void KeepOnTop(BOOL on);
    // TRUE while the boss key or "pack" keeps this window hidden.
    BOOL IsHiddenByPlayer() const { return m_bHiddenByPlayer; }
    // TRUE while the logout page keeps this window hidden.
    BOOL IsHiddenForLogoutPage() const { return m_bHiddenForLogout; }
    // TRUE while either keeps it hidden; showing it ends both.
    BOOL IsPutAway() const { return m_bHiddenByPlayer || m_bHiddenForLogout; }
    // The logout page's hiding: the login window shows instead, and this window waits for the next
    // game start or the tray.
    void HideForLogoutPage();
    // A tool window's own button closes it: it hides, and its game window is given back.
    static void CloseToolWnd(CSkinWnd2& tool);
    // The game window that owns a tool window (its owner, when that is the main frame's game window).
    static CGameWnd* FromToolWnd(const CWnd* toolWnd);
    // FALSE for a click on the main frame's game window, or on a window that goes with it, while that
    // is put away: the click was still on its way when the window went, and does nothing.
    static BOOL AllowsClickOn(HWND wnd);

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
    // Opens a tool window of the "more" menu, made the first time; nothing changes when it cannot be made.
    template <class T> void OpenToolWnd(COwner<T>& owner, const wchar_t* skinName);
    // The pop-up of that owner, made the first time (owned by this window); null when it cannot be made.
    template <class T> T* GetToolWnd(COwner<T>& owner, const wchar_t* skinName);
    void ShowServerPanel();
    void ShowMoreMenu();
    void RefreshGame();
    // The boss key and "pack": the window goes until the player brings it back.
    void HideForPlayer();
    // Hides this window with its pop-ups.
    void Hide();
    // The owned pop-ups go with this window and the same ones come back with it.
    void HidePopups();
    void ShowHiddenPopups();

    std::vector<HWND> m_vecHiddenPopups;
    BOOL m_bHiddenByPlayer = FALSE;
    BOOL m_bHiddenForLogout = FALSE;
    // "Always on top" while hidden: the window leaves the top-most band until it is shown again.
    BOOL m_bOnTopWhenShown = FALSE;
    // The owners of the tool windows named above; the destructor lets them go in a fixed order.
    COwner<CMoreWnd> m_moreWnd{m_pMoreWnd};
    COwner<CBossWnd> m_bossWnd{m_pBossWnd};
    COwner<CServerWnd> m_serverWnd{m_pServerWnd};
    COwner<CSetupWnd> m_setupWnd{m_pSetupWnd};
    COwner<CCacheWnd> m_cacheWnd{m_pCacheWnd};
    COwner<CVIPWnd> m_vipWnd{m_pVipWnd};
    COwner<CVIPWnd> m_hostWnd{m_pHostWnd};
};
