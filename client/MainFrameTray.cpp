// The main frame's tray icon and menu, the boss key's registration on the game window, and the screen
// lock over the game window.
#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/MainFrame.h"
#include "client/WindowStyles.h"
#include "client/tools/LockWnd.h"
#include "foundation/Config.h"
#include "foundation/Settings.h"
#include "framework/App.h"
#include "res/resource.h"

#include <shellapi.h>

void CMainFrame::FillTrayIconData(NOTIFYICONDATAW& data) const {
    data = NOTIFYICONDATAW();
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = static_cast<UINT>(m_nTrayId + IDI_APP_ICON);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APP_ICON));
    CopyTextCut(data.szTip, sizeof(data.szTip) / sizeof(data.szTip[0]), GetAppTitle());
}

void CMainFrame::AddTrayIcon() {
    if (m_bTrayAdded) return;
    NOTIFYICONDATAW data;
    FillTrayIconData(data);
    Shell_NotifyIconW(NIM_ADD, &data);
    m_bTrayAdded = TRUE;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam) {
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
        if (m_bInGame && m_pGameWnd)
            m_pGameWnd->ShowSkinWnd(TRUE);
        else if (!m_bInGame && m_pMainHtmlWnd)
            m_pMainHtmlWnd->ShowSkinWnd(TRUE);
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        break;
    default:
        break;
    }
    return 0;
}

void CMainFrame::ShowTrayMenu() {
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetForegroundWindow();
    CMenu* popup = m_menuTray.GetSubMenu(0);
    if (!popup) return;
    const UINT command =
        static_cast<UINT>(popup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, m_hWnd));
    // A menu of a notification-area icon closes on a click elsewhere only after its owner has been
    // switched to once more.
    PostMessage(WM_NULL);
    if (command == ID_TRAY_SHOWMAIN)
        OnTrayNotify(0, WM_LBUTTONDOWN);
    else if (command == ID_APP_EXIT)
        PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
}

void CMainFrame::SetHotKey(BOOL enable) {
    HWND game = m_pGameWnd ? m_pGameWnd->GetSafeHwnd() : nullptr;
    if (!enable) {
        if (game) UnregisterHotKey(game, ID_HOTKEY_BOSS);
        return;
    }
    const int key = GetIniConfig()->HotKey;
    if (key <= 0) return;
    if (game) UnregisterHotKey(game, ID_HOTKEY_BOSS);
    // Without a game window the key would belong to the thread and never reach the game window.
    if (!game || !RegisterHotKey(game, ID_HOTKEY_BOSS, MOD_ALT | MOD_CONTROL, static_cast<UINT>(key)))
        PostMessage(WM_HOTKEY_FAILED); // shown once the caller (often a window's creation) has returned
}

void CMainFrame::LockScreen(BOOL lock) {
    if (!m_pGameWnd || !m_pGameWnd->GetSafeHwnd()) return;
    if (lock) {
        // The lock window is owned by the game window and dies with it at a game's end: a later game
        // gets a new one. No cover, no lock: not while the game window is put away (the click came
        // after), nor when the cover cannot be made; the game window stays as it was before "lock"
        // marked it.
        const bool covered =
            !m_pGameWnd->IsPutAway() &&
            ((m_pLockWnd && m_pLockWnd->GetSafeHwnd()) ||
             m_lockWnd.Create(new CLockWnd(L"LOCKWND"), m_pGameWnd->GetSafeHwnd(), 0, kToolStyle));
        if (!covered) {
            m_pGameWnd->m_bToolWndOpen = FALSE;
            return;
        }
        CRect rect;
        m_pGameWnd->GetWindowRect(&rect);
        m_pLockWnd->MoveToRect(rect, TRUE);
    }
    m_bScreenLocked = lock;
    if (lock)
        m_pGameWnd->HoldForToolWnd();
    else
        m_pGameWnd->ReleaseFromToolWnd(m_pLockWnd);
    if (m_pLockWnd) m_pLockWnd->ShowSkinWnd(lock);
}

BOOL CMainFrame::IsScreenLocked() const {
    // The cover is owned by the game window: it dies with it, and the lock with it.
    return m_bScreenLocked && m_pLockWnd && m_pLockWnd->IsWindow();
}
