// CMainFrame: the client's hidden hub. Its creation builds the whole client (skin, login and game
// windows, tray icon, download thread); it keeps the account and game state, receives the tray
// callbacks, the download completions and the exit command, and is reached by every window through
// g_pMainFrame. It is never shown.
//
// The frame's methods live in several files by topic: MainFrame.cpp (creation, exit, records),
// MainFrameTray.cpp (tray, boss key, lock), MainFrameGame.cpp (game start and exit),
// MainFrameAccount.cpp (account replies), MainFrameUpdate.cpp (remote configuration and update).
#pragma once

#include "client/BoxKeeper.h"
#include "client/ChildView.h"
#include "client/ClientMessages.h"
#include "client/PageRules.h"
#include "foundation/DownloadThread.h"
#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/Owner.h"
#include "framework/String.h"

#include <shellapi.h>

#include <memory>
#include <optional>
#include <vector>

class CGameWnd;
class CHtmlWnd;
class CIEView;
class CLockWnd;
class CSkinDocument;
class CUpdateWnd;

// One game server of the account.
struct ServerEntry {
    CString strName;
    CString strUrl;
};

class CMainFrame : public CFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL OnCmdMsg(UINT id, int code) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    // Game start and exit.
    void StartGame(const wchar_t* url);
    void ExitGame();
    // Leaves the game after the current handler has returned (ExitGame must not destroy the window or
    // view whose event or handler is running).
    void PostExitGame();
    void ShowLogoutPage();

    // Account replies. source: the browser view whose page asked for the reply, if any.
    void OnLoginReply(const wchar_t* reply, CIEView* source = nullptr);

    // Remote configuration and update.
    void RequestRemoteConfig(BOOL silent);
    void AddDownloadTask(const wchar_t* url, UINT msg);

    // Tray icon, boss key and screen lock.
    void AddTrayIcon();
    void ShowTrayMenu();
    void SetHotKey(BOOL enable);
    void LockScreen(BOOL lock);
    // TRUE while the lock holds the game window (from LockScreen(TRUE) until it is lifted or the game
    // window goes), also while the boss key has hidden its cover.
    BOOL IsScreenLocked() const;
    // An answer of the player's version check that waited for a tool window or for the player to bring
    // the game window back: shown now, unless the game window is still held or hidden, or has gone.
    void ShowHeldUpdateAnswer();

    // Keeps the client's message boxes in sight (every window that shows itself tells it).
    CBoxKeeper m_boxKeeper;

    // The browser view in the login window's pop-up (the game view during a game), or null.
    CIEView* GetBrowserView() const;

    CString GetUserName() const { return m_strUserName; }
    CString GetCurServerName() const { return m_strCurServerName; }
    CString GetUserPwd() const { return m_strUserPwd; }
    CString GetGameUrl() const { return m_strGameUrl; }
    CString GetGsUrl() const { return m_strGsUrl; }
    // No reply or setting gives the client a payment or host page.
    CString GetPayUrl() const { return CString(); }
    CString GetHostUrl() const { return CString(); }

    BOOL m_bInstallHidden = FALSE;
    CString m_strCmdUrl;
    CHtmlWnd* m_pMainHtmlWnd = nullptr;
    CSkinDocument* m_pSkin = nullptr;
    CGameWnd* m_pGameWnd = nullptr;
    CLockWnd* m_pLockWnd = nullptr;
    std::unique_ptr<CDownloadThread> m_pDownloadThread;
    CUpdateWnd* m_pUpdateWnd = nullptr;
    CMenu m_menuTray;
    BOOL m_bTrayAdded = FALSE;
    int m_nTrayId = 0;
    BOOL m_bInGame = FALSE;
    CString m_strUserName;
    CString m_strCurServerName;
    CString m_strLogoutUrl;
    CString m_strUserPwd;
    CString m_strGameUrl;
    CString m_strGsUrl;
    BOOL m_bSilentUpdate = FALSE;
    std::vector<ServerEntry> m_servers;
    CChildView m_wndView;
    // While a reply is handled: the view whose page asked for it (null when none did).
    CIEView* m_pReplySource = nullptr;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnSetFocus(HWND oldFocus) override;
    void OnClose() override;
    void OnTimer(UINT_PTR id) override;

    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnConfigDownloaded(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateDownloaded(WPARAM wParam, LPARAM lParam);
    LRESULT OnStartGameMsg(WPARAM wParam, LPARAM lParam);

private:
    // Saves the settings when the session ends while the client runs.
    void OnEndSession(BOOL ending);

    // The tray icon's record as added and removed.
    void FillTrayIconData(NOTIFYICONDATAW& data) const;

    // Update steps.
    void CheckClientVersion(const wchar_t* path);
    void ShowUpdateWnd(BOOL newVersion, const wchar_t* url);
    // FALSE when the task is none this frame queued with that message; otherwise file is the downloaded
    // file, empty when the download failed. The task is forgotten.
    BOOL TakeDownloadResult(UINT msg, LPARAM id, CString& file);

    std::unique_ptr<CPageRules> m_pPageRules;
    // Ids of the download tasks this frame queued, with their completion message.
    std::vector<std::pair<int, UINT>> m_pendingTasks;
    BOOL m_bInLoginReply = FALSE;
    BOOL m_bScreenLocked = FALSE;
    // The player's version answer waiting for a tool window to close.
    struct HeldUpdateAnswer {
        BOOL newVersion;
        CString url;
    };
    std::optional<HeldUpdateAnswer> m_heldUpdate;

    // The owners of what the members above name; the destructor lets them go in a fixed order.
    COwner<CHtmlWnd> m_mainHtmlWnd{m_pMainHtmlWnd};
    COwner<CSkinDocument> m_skin{m_pSkin};
    COwner<CGameWnd> m_gameWnd{m_pGameWnd};
    COwner<CLockWnd> m_lockWnd{m_pLockWnd};
    COwner<CUpdateWnd> m_updateWnd{m_pUpdateWnd};
};

extern CMainFrame* g_pMainFrame;
extern CHtmlWnd* g_pMainHtmlWnd;

// Deletes the launcher movie's entry (bAll FALSE) or every entry (bAll TRUE) of the web cache.
void ClearLauncherCache(BOOL bAll);

// Writes the program folder into the record under the user's profile (see the configuration's
// infoPath); start-up and the cache window call it.
void WriteProgramFolderRecord();
