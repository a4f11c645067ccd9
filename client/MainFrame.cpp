#include "client/MainFrame.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/IEWnd.h"
#include "client/WindowStyles.h"
#include "client/tools/LockWnd.h"
#include "client/tools/UpdateWnd.h"
#include "foundation/Config.h"
#include "foundation/GameCache.h"
#include "foundation/Settings.h"
#include "foundation/ShellHelpers.h"
#include "framework/File.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "skin/GameWndHook.h"
#include "skin/SkinDocument.h"
#include "skin/SkinWndCommon.h"

#include <shlwapi.h>
#include <wininet.h>

#include <cstdlib>
#include <vector>

CMainFrame* g_pMainFrame = nullptr;
CHtmlWnd* g_pMainHtmlWnd = nullptr;

namespace {

const wchar_t kFrameClass[] = L"MyNewClass";
// The frame's whole style, as it has always been made: no caption, no border, never visible. The one
// bit set has no meaning for a frame of this class.
constexpr DWORD kHiddenFrameStyle = 0x00000080;
// How long the frame waits for the download thread at exit.
constexpr DWORD kThreadWaitMs = 3000;

CSkinWnd2* LookUpGameWnd() {
    return g_pMainFrame ? g_pMainFrame->m_pGameWnd : nullptr;
}

void SettleBoxes() {
    if (g_pMainFrame) g_pMainFrame->m_boxKeeper.Settle();
}

// Owns the URL cache enumeration handle.
struct CUrlCacheFind {
    HANDLE handle = nullptr;
    ~CUrlCacheFind() {
        if (handle) FindCloseUrlCache(handle);
    }
};

// Reads a cache entry into buffer (grown to the size the call asks for); FALSE when the walk ends.
template <class Call> BOOL ReadCacheEntry(std::vector<BYTE>& buffer, Call call) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (call(reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOW>(buffer.data()), &size)) return TRUE;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) return FALSE;
        buffer.assign(size, 0);
    }
    return FALSE;
}

} // namespace

IMPLEMENT_DYNAMIC(CMainFrame, CFrameWnd)

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
    // The thread object goes only once its thread has ended (left alive otherwise).
    if (m_pDownloadThread) StopAndRelease(m_pDownloadThread, kThreadWaitMs);
    SetPageClient(nullptr);
    if (g_pfnGetGameWnd == &LookUpGameWnd) g_pfnGetGameWnd = nullptr;
    if (g_pfnSkinWndRestacked == &SettleBoxes) g_pfnSkinWndRestacked = nullptr;
    if (g_pfnSkinClickAllowed == &CGameWnd::AllowsClickOn) g_pfnSkinClickAllowed = nullptr;

    m_updateWnd.Reset();
    m_lockWnd.Reset();
    // The game window borrows the view that the login window owns: let go of it first.
    if (m_pGameWnd) m_pGameWnd->m_pWebView = nullptr;
    if (g_pMainHtmlWnd == m_pMainHtmlWnd) g_pMainHtmlWnd = nullptr;
    m_mainHtmlWnd.Reset();
    m_gameWnd.Reset();
    if (g_pSkinDocument == m_pSkin) g_pSkinDocument = nullptr;
    m_skin.Reset();
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code) {
    if (m_wndView.GetSafeHwnd() && m_wndView.OnCmdMsg(id, code)) return TRUE;
    return CFrameWnd::OnCmdMsg(id, code);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.style = kHiddenFrameStyle;
    // Served by the framework's procedure, so that OnCreate runs; a class of that name registered
    // earlier in this process counts.
    WNDCLASSW wc = {};
    wc.style = 0;
    wc.lpfnWndProc = CWnd::GetWndProc();
    wc.hInstance = AfxGetInstanceHandle();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kFrameClass;
    if (!AfxRegisterClass(&wc)) return FALSE;
    cs.lpszClass = kFrameClass;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTW cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    if (!m_wndView.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                            AFX_IDW_PANE_FIRST))
        return -1;

    g_pMainFrame = this;
    m_bAutoMenuEnable = FALSE;

    m_skin.Reset(new CSkinDocument);
    if (!m_pSkin->Load()) {
        AfxShowMessageBox(nullptr, kSkinError, nullptr, MB_OK);
        return -1;
    }
    g_pSkinDocument = m_pSkin;

    if (m_bInstallHidden) return 0;

    m_pPageRules.reset(new CPageRules(this));
    SetPageClient(m_pPageRules.get());
    g_pfnGetGameWnd = &LookUpGameWnd;
    g_pfnSkinWndRestacked = &SettleBoxes;
    g_pfnSkinClickAllowed = &CGameWnd::AllowsClickOn;
    m_boxKeeper.Start(m_hWnd);

    const CString tipClass = GetTipClass();
    if (!tipClass.IsEmpty()) {
        if (HWND older = FindWindowW(tipClass, nullptr)) ::PostMessageW(older, WM_CLOSE, 0, 0);
    }

    if (!m_mainHtmlWnd.Create(new CHtmlWnd(L"MAINWND"), GetDesktopWindow(), kTopExStyle, kTopStyle)) {
        AfxShowMessageBox(nullptr, kSkinError, nullptr, MB_OK);
        return -1;
    }
    g_pMainHtmlWnd = m_pMainHtmlWnd;

    if (CIEView* view = GetBrowserView()) {
        if (!m_strCmdUrl.IsEmpty()) {
            view->Navigate(m_strCmdUrl);
        } else {
            view->Navigate(GetHomeUrl());
            m_pMainHtmlWnd->ShowSkinWnd(TRUE);
        }
    }

    // The hidden game window is made only once the login window is on the screen (a start address's
    // game may have made it already). Named before its window exists: its creation registers the boss
    // key on it, before any game can start from the message loop.
    if (!m_pGameWnd &&
        !m_gameWnd.Create(new CGameWnd(L"GAMEWND"), GetDesktopWindow(), kTopExStyle, kTopStyle)) {
        AfxShowMessageBox(nullptr, kSkinError, nullptr, MB_OK);
        return -1;
    }

    m_nTrayId = rand() / 16;
    AddTrayIcon();

    ClearLauncherCache(FALSE);

    m_pDownloadThread.reset(new CDownloadThread);
    m_pDownloadThread->Start(FALSE);

    m_menuTray.LoadMenu(IDR_TRAY_MENU);

    RequestRemoteConfig(TRUE);

    const CString plugin = GetRunPlugin();
    if (!plugin.IsEmpty()) RunProcess(GetModuleDir() + plugin);

    WriteProgramFolderRecord();
    return 0;
}

void CMainFrame::OnSetFocus(HWND) {
    if (m_wndView.GetSafeHwnd()) m_wndView.SetFocus();
}

void CMainFrame::OnClose() {
    if (m_bTrayAdded) {
        NOTIFYICONDATAW data;
        FillTrayIconData(data);
        Shell_NotifyIconW(NIM_DELETE, &data);
        m_bTrayAdded = FALSE;
    }
    CFrameWnd::OnClose();
}

void CMainFrame::OnEndSession(BOOL ending) {
    // A tray program is usually still running at log-off: keep the player's choices.
    if (ending) GetIniConfig()->Save();
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TRAYNOTIFY:
        return OnTrayNotify(wParam, lParam);
    case WM_CONFIG_DOWNLOADED:
        return OnConfigDownloaded(wParam, lParam);
    case WM_UPDATE_DOWNLOADED:
        return OnUpdateDownloaded(wParam, lParam);
    case WM_PING:
        return 1;
    case WM_START_GAME:
        return OnStartGameMsg(wParam, lParam);
    case WM_EXIT_GAME:
        ExitGame();
        return 0;
    case WM_HOTKEY_FAILED:
        AfxShowMessageBox(m_hWnd, L"热键设置失败，请重新设置！！！", AfxLoadString(AFX_IDS_APP_TITLE), MB_OK);
        return 0;
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        return 0;
    default:
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
}

LRESULT CMainFrame::OnStartGameMsg(WPARAM wParam, LPARAM lParam) {
    // The parameter points into the sender's memory: only our own sending helper may pass one.
    if (!TakeLocalMessage(WM_START_GAME, wParam, lParam)) return 0;
    const CString* url = reinterpret_cast<const CString*>(wParam);
    const CString copy = url ? *url : CString();
    StartGame(copy);
    return 1;
}

CIEView* CMainFrame::GetBrowserView() const {
    if (!m_pMainHtmlWnd || !m_pMainHtmlWnd->m_pIEWnd) return nullptr;
    return &m_pMainHtmlWnd->m_pIEWnd->m_view;
}

void ClearLauncherCache(BOOL bAll) {
    DWORD size = 0;
    SetLastError(0);
    FindFirstUrlCacheEntryW(nullptr, nullptr, &size);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return;
    std::vector<BYTE> buffer(size, 0);
    CUrlCacheFind find;
    if (!ReadCacheEntry(buffer, [&](LPINTERNET_CACHE_ENTRY_INFOW entry, DWORD* length) {
            find.handle = FindFirstUrlCacheEntryW(nullptr, entry, length);
            return find.handle != nullptr;
        }))
        return;
    do {
        auto* entry = reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOW>(buffer.data());
        if (!entry->lpszSourceUrlName) continue;
        if (bAll) {
            DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
            continue;
        }
        if (CString(entry->lpszSourceUrlName).ToAnsi().find("/TamselLauncher.swf") != std::string::npos) {
            DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
            break;
        }
    } while (ReadCacheEntry(buffer, [&](LPINTERNET_CACHE_ENTRY_INFOW entry, DWORD* length) {
        return FindNextUrlCacheEntryW(find.handle, entry, length);
    }));
}

void WriteProgramFolderRecord() {
    const CString info = GetInfoPath();
    if (info.IsEmpty()) return;
    CString folder;
    if (!GetGameDataFolder(folder)) return;
    if (!PathFileExistsW(folder)) CreateDirectoryW(folder, nullptr);
    const CString path = folder + info;
    const int lastSlash = path.ReverseFind(L'\\');
    if (lastSlash > 0) {
        const CString parent = path.Left(lastSlash);
        if (!PathFileExistsW(parent)) CreateDirectoryW(parent, nullptr);
    }
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeReadWrite)) return;
    const std::string bytes = GetModuleDir().ToAnsi();
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Close();
}
