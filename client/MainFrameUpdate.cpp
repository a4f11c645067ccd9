// Remote configuration and update: the frame has the download thread fetch the remote configuration,
// compares its version with our own, and either fetches and starts the installer (the check at
// start-up) or shows the answer in the update window (a check asked for from the game window).
//
// What arrives here comes from the network or from other programs, so: a completion message counts
// only for a task this frame queued with that message; the configuration is read up to a size cap;
// only a web address is fetched as installer; and the client ends only once the installer runs, so a
// broken update never leaves the player without a client.
#include "client/MainFrame.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/WindowStyles.h"
#include "client/tools/UpdateWnd.h"
#include "foundation/Config.h"
#include "foundation/DownloadThread.h"
#include "foundation/Markup.h"
#include "foundation/Settings.h"
#include "foundation/ShellHelpers.h"
#include "foundation/UrlHelpers.h"
#include "framework/App.h"
#include "framework/File.h"
#include "framework/Internet.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <utility>

namespace {

// The remote configuration is one element with two attributes, a few hundred bytes. 64 KiB leaves
// the operator room for comments and further content, and keeps what a broken or hostile server can
// make the user-interface thread read and parse small.
const UINT kMaxRemoteConfigBytes = 64 * 1024;

enum class FileRead { Ok, Unreadable, TooLarge };

// The whole file, when it opens and holds at most kMaxRemoteConfigBytes.
FileRead ReadRemoteConfig(const CString& path, std::string& bytes) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return FileRead::Unreadable;
    // One byte more than allowed tells a file at the limit from a larger one, whatever its length
    // said when it was opened.
    bytes.assign(kMaxRemoteConfigBytes + 1, '\0');
    UINT total = 0;
    while (total < bytes.size()) {
        const UINT read = file.Read(&bytes[total], static_cast<UINT>(bytes.size()) - total);
        if (read == 0) break;
        total += read;
    }
    if (total > kMaxRemoteConfigBytes) return FileRead::TooLarge;
    bytes.resize(total);
    return FileRead::Ok;
}

BOOL WriteWholeFile(const CString& path, const std::string& bytes) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::shareDenyNone | CFile::modeWrite)) return FALSE;
    return file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

} // namespace

void CMainFrame::RequestRemoteConfig(BOOL silent) {
    const CString base = GetConfigParam();
    if (base.IsEmpty()) return;
    CString url;
    url.Format(L"%s?%ld", base.GetString(), static_cast<long>(static_cast<int32_t>(time(nullptr))));
    AddDownloadTask(url, WM_CONFIG_DOWNLOADED);
    if (m_pDownloadThread) m_pDownloadThread->Wake();
    m_bSilentUpdate = silent;
}

void CMainFrame::AddDownloadTask(const wchar_t* url, UINT msg) {
    if (!url || !*url || !m_pDownloadThread) return;
    CDownloadThread::THREAD_PARAM_DOWN task;
    task.strKey = url;
    task.strUrl = url;
    task.nMsg = msg;
    task.hWnd = m_hWnd;
    m_pendingTasks.emplace_back(m_pDownloadThread->QueueTask(task), msg);
}

BOOL CMainFrame::TakeDownloadResult(UINT msg, LPARAM id, CString& file) {
    file.Empty();
    // Any other message parameter is no id of ours.
    if (id < 0 || id > INT_MAX) return FALSE;
    const auto pending =
        std::find(m_pendingTasks.begin(), m_pendingTasks.end(), std::make_pair(static_cast<int>(id), msg));
    if (pending == m_pendingTasks.end()) return FALSE;
    m_pendingTasks.erase(pending);
    CDownloadThread::THREAD_PARAM_DOWN result;
    if (m_pDownloadThread && m_pDownloadThread->GetResult(static_cast<int>(id), result)) file = result.strUrl;
    return TRUE;
}

LRESULT CMainFrame::OnConfigDownloaded(WPARAM, LPARAM lParam) {
    CString downloaded;
    if (!m_pDownloadThread || !TakeDownloadResult(WM_CONFIG_DOWNLOADED, lParam, downloaded)) return 0;
    if (downloaded.IsEmpty()) {
        if (!m_bSilentUpdate) ShowUpdateWnd(FALSE, L"");
        return 0;
    }

    std::string content;
    const FileRead read = ReadRemoteConfig(downloaded, content);
    DeleteFileW(downloaded);
    if (read == FileRead::TooLarge) {
        // No configuration of ours is that large: it counts as a failed download.
        if (!m_bSilentUpdate) ShowUpdateWnd(FALSE, L"");
        return 0;
    }
    if (read != FileRead::Ok) return 0;

    const CString local = GetModuleDir() + L"\\config.xml";
    if (WriteWholeFile(local, content)) CheckClientVersion(local);
    m_pDownloadThread->Wake(); // an installer queued by the check starts at once
    DeleteFileW(local);
    return 0;
}

void CMainFrame::CheckClientVersion(const wchar_t* path) {
    CMarkup xml;
    if (!path || !xml.LoadFile(path)) return;
    xml.ResetPosition();
    if (!xml.FindElement(L"CONFIG") || !xml.EnterElement() || !xml.FindElement(L"CLIENT")) return;
    const BOOL newer = IsNewerVersion(xml.GetAttribute(L"version"));
    CString url = xml.GetAttribute(L"url");
    // An installer comes only from the web: the download would follow file:// or any other scheme.
    if (!IsLiteralWebAddress(url)) url.Empty(); // neither fetched nor offered

    if (!m_bSilentUpdate) {
        ShowUpdateWnd(newer, url);
        return;
    }
    if (!newer || url.IsEmpty()) return;
    AppendTimeStamp(url);
    AddDownloadTask(url, WM_UPDATE_DOWNLOADED);
}

void CMainFrame::ShowUpdateWnd(BOOL newVersion, const wchar_t* url) {
    CGameWnd* game = m_pGameWnd;
    // The player asked from a game window. When it has gone since (the game ended) or the logout page
    // has hidden it (the player logged out), the answer is dropped; the next start's check finds a
    // newer version again.
    if (!game || !game->IsWindow() || game->IsHiddenForLogoutPage()) {
        m_heldUpdate.reset();
        return;
    }
    const bool updateWndOpen = m_pUpdateWnd && m_pUpdateWnd->IsWindow() && m_pUpdateWnd->IsWindowVisible();
    if ((game->m_bToolWndOpen && !updateWndOpen) || game->IsHiddenByPlayer()) {
        // Under the lock the answer is dropped: the update window's buttons would give the game back
        // under it. Another tool window only delays it until that window closes, and a game window the
        // player has hidden until the player brings it back.
        if (!IsScreenLocked()) m_heldUpdate = HeldUpdateAnswer{newVersion, url ? url : L""};
        return;
    }
    m_heldUpdate.reset();

    // The previous window, if any, goes; its window may have died with an earlier game window.
    m_updateWnd.Reset();
    auto* wnd = new CUpdateWnd(L"UPDATEWND");
    wnd->SetUpdateInfo(newVersion, url);
    if (!m_updateWnd.Create(wnd, game->m_hWnd, 0, kToolStyle)) {
        // Nothing to give the game window back later, so it must stay as it is.
        if (updateWndOpen) game->ReleaseFromToolWnd();
        return;
    }
    m_pUpdateWnd->CenterWindow();
    m_pUpdateWnd->ShowSkinWnd(TRUE);
    game->HoldForToolWnd();
}

void CMainFrame::ShowHeldUpdateAnswer() {
    if (!m_heldUpdate) return;
    const HeldUpdateAnswer answer = *m_heldUpdate;
    m_heldUpdate.reset();
    ShowUpdateWnd(answer.newVersion, answer.url);
}

LRESULT CMainFrame::OnUpdateDownloaded(WPARAM, LPARAM lParam) {
    CString installer;
    if (!m_pDownloadThread || !TakeDownloadResult(WM_UPDATE_DOWNLOADED, lParam, installer) ||
        installer.IsEmpty())
        return 0;
    // Quoted: a path with spaces must never be split into a shorter program's name. When the installer
    // does not start, the client stays as it is; ending would repeat the failed update at every start.
    if (!RunProcess(L"\"" + installer + L"\"")) return 0;
    if (m_pGameWnd && m_pGameWnd->IsWindow()) m_pGameWnd->ShowSkinWnd(FALSE);
    if (m_pMainHtmlWnd && m_pMainHtmlWnd->IsWindow()) m_pMainHtmlWnd->ShowSkinWnd(FALSE);
    PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
    return 0;
}
