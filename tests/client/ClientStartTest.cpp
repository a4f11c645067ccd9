// The client's start-up and hub, in-process on the demo skin beside this program: the command line,
// the launcher's web-cache entries, what the main frame's creation builds, the boss key, the game window's
// own frame handling, the quit question, and game start and exit through the frame.
#include "ClientTestSupport.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/IEWnd.h"
#include "client/MainFrame.h"
#include "client/PellarApp.h"
#include "foundation/Config.h"
#include "foundation/Settings.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "skin/SkinDocument.h"

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// An older client's window: counts the requests to close.
int g_olderCloses = 0;
LRESULT CALLBACK OlderClientProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CLOSE) ++g_olderCloses;
    return DefWindowProcW(h, m, w, l);
}

// The addresses of the URL cache's entries, in the order the cache lists them.
std::vector<std::string> CacheUrls() {
    std::vector<std::string> urls;
    std::vector<BYTE> buffer(64 * 1024);
    auto* entry = reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOW>(buffer.data());
    DWORD size = static_cast<DWORD>(buffer.size());
    HANDLE find = FindFirstUrlCacheEntryW(nullptr, entry, &size);
    if (!find) return urls;
    do {
        urls.push_back(CString(entry->lpszSourceUrlName).ToUtf8());
        size = static_cast<DWORD>(buffer.size());
    } while (FindNextUrlCacheEntryW(find, entry, &size));
    FindCloseUrlCache(find);
    return urls;
}

} // namespace

TEST(CommandLine, JoinsArgumentsAndTellsTheForms) {
    struct Case {
        std::vector<const wchar_t*> args;
        const wchar_t* joined;
        CommandLineForm::Kind kind;
        const wchar_t* value;
    } cases[] = {
        {{L"-http://a/b", L"word"}, L"http://a/bword", CommandLineForm::StartUrl, L"http://a/bword"},
        {{L"/install_hide", L"7"}, L"install_hide7", CommandLineForm::InstallHidden, L"7"},
        {{L"word", L"http://a"}, L"wordhttp://a", CommandLineForm::StartUrl, L"wordhttp://a"},
        {{L"install"}, L"install", CommandLineForm::Install, L""},
        {{L"installhttp://x"}, L"installhttp://x", CommandLineForm::Install, L"http://x"},
        {{L"https://secure"}, L"https://secure", CommandLineForm::None, L""},
        {{L"--a-b", L"/c/d"}, L"-a-bc/d", CommandLineForm::None, L""},
    };
    for (const Case& c : cases) {
        std::vector<const wchar_t*> argv = {L"Pellar.exe"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CString joined = CPellarApp::JoinCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(joined, CString(c.joined));
        const CommandLineForm form = CPellarApp::ParseCommandLine(joined);
        EXPECT_EQ(form.kind, c.kind) << joined.ToUtf8();
        EXPECT_EQ(form.value, CString(c.value)) << joined.ToUtf8();
    }
    // No length limit: a long start address stays whole.
    const CString longUrl = L"http://h/" + CString(L'a', 5000);
    const wchar_t* argv[] = {L"Pellar.exe", longUrl};
    EXPECT_EQ(CPellarApp::JoinCommandLine(2, argv), longUrl);
}

TEST(LauncherCache, OnlyTheFirstLauncherEntryGoesOrEveryEntryWithTheFirst) {
    for (const wchar_t* url :
         {L"http://127.0.0.1:1/a/Other.swf", L"http://127.0.0.1:1/b/TamselLauncher.swf",
          L"http://127.0.0.1:1/c/tamsellauncher.swf", L"http://127.0.0.1:1/d/TamselLauncher.swf"})
        SeedCacheEntry(url);
    std::vector<std::string> expected = CacheUrls();
    const auto first = std::find_if(expected.begin(), expected.end(), [](const std::string& url) {
        return url.find("/TamselLauncher.swf") != std::string::npos;
    });
    ASSERT_NE(first, expected.end());
    expected.erase(first);
    ClearLauncherCache(FALSE);
    EXPECT_EQ(expected, CacheUrls()); // the other spelling and the later launcher entry stay

    ClearLauncherCache(TRUE);
    EXPECT_EQ(std::vector<std::string>(), CacheUrls());
}

TEST_F(ClientTest, CreationBuildsTheWholeClient) {
    // An older client window of the configured class is asked to close.
    WNDCLASSW older = {};
    older.lpfnWndProc = &OlderClientProc;
    older.hInstance = GetModuleHandleW(nullptr);
    older.lpszClassName = L"PellarTipWnd";
    RegisterClassW(&older);
    HWND olderWnd = CreateWindowExW(0, L"PellarTipWnd", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    older.hInstance, nullptr);

    SeedCacheEntry(L"http://127.0.0.1:1/a/TamselLauncher.swf");
    SeedCacheEntry(L"http://127.0.0.1:1/a/Other.swf");
    TempDir probeLog;
    const CString log = probeLog / L"runs.txt";
    SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", log);
    g_strRunPlugin = L"\\..\\..\\tools\\installer-probe\\pellar_probe.exe";

    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(g_pMainFrame, frame);
    EXPECT_EQ(g_pSkinDocument, frame->m_pSkin);
    ASSERT_NE(frame->m_pMainHtmlWnd, nullptr);
    EXPECT_EQ(g_pMainHtmlWnd, frame->m_pMainHtmlWnd);
    EXPECT_TRUE(frame->m_pMainHtmlWnd->IsWindowVisible());
    EXPECT_TRUE(frame->m_pMainHtmlWnd->m_pIEWnd->IsWindowVisible());
    ASSERT_NE(frame->m_pGameWnd, nullptr);
    EXPECT_TRUE(frame->m_pGameWnd->IsWindow());
    EXPECT_FALSE(frame->m_pGameWnd->IsWindowVisible());
    EXPECT_FALSE(frame->IsWindowVisible());
    EXPECT_EQ(frame->SendMessage(WM_PING), 1);

    // The tray icon exists under its id.
    NOTIFYICONDATAW tray = {};
    tray.cbSize = sizeof(tray);
    tray.hWnd = frame->GetSafeHwnd();
    tray.uID = static_cast<UINT>(frame->m_nTrayId + IDI_APP_ICON);
    tray.uFlags = NIF_TIP;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &tray));

    EXPECT_FALSE(InCache(L"http://127.0.0.1:1/a/TamselLauncher.swf"));
    EXPECT_TRUE(InCache(L"http://127.0.0.1:1/a/Other.swf"));

    // The program-folder record: exactly the folder's bytes, in the folders the configuration names.
    EXPECT_EQ(TempDir::ReadFile(m_profile / L"vessa\\pellar\\path.txt"), GetModuleDir().ToAnsi());
    // The plug-in installer ran (its registration is missing in this prefix).
    PumpUntil([&] { return !TempDir::ReadFile(log).empty(); }, 20000);
    EXPECT_NE(TempDir::ReadFile(log).find("pellar_probe.exe"), std::string::npos);
    Pump();
    EXPECT_EQ(g_olderCloses, 1);
    DestroyWindow(olderWnd);

    // Alt+F4 on the page asks the login window's quit question instead of closing the page.
    m_answer = IDCANCEL;
    frame->m_pMainHtmlWnd->m_pIEWnd->SendMessage(WM_CLOSE);
    Pump();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, GetQuitTip());
    EXPECT_TRUE(frame->m_pMainHtmlWnd->m_pIEWnd->IsWindow());
    SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", nullptr);
}

TEST_F(ClientTest, StartAddressKeepsTheLoginWindowHiddenAndRecordNeedsAUsableProfile) {
    SetEnvironmentVariableW(L"userprofile", L"relative\\folder");
    CMainFrame* frame = StartFrame(L"http://127.0.0.1:1/game?sid=3");
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->m_pMainHtmlWnd->IsWindowVisible());
    EXPECT_TRUE(frame->m_bTrayAdded);
    EXPECT_EQ(GetFileAttributesW(L"relative"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ClientTest, AnUnloadableSkinEndsCreationWithItsMessage) {
    g_strSkinDir = L"no-such-skin";
    EXPECT_EQ(StartFrame(), nullptr);
    EXPECT_EQ(g_pMainFrame, nullptr);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, CString(L"加载皮肤出错，请重新安装"));
    EXPECT_EQ(m_boxes[0].caption, CString());
    EXPECT_EQ(m_boxes[0].type, static_cast<UINT>(MB_OK));
}

TEST_F(ClientTest, BossKeyIsRegisteredOnTheGameWindowAndTogglesItOnlyWhileTheLoginWindowIsHidden) {
    INI_CONFIG* settings = GetIniConfig();
    settings->HotKey = VK_F9;
    settings->UseHotKey = TRUE;
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    CGameWnd* game = frame->m_pGameWnd;
    // Registered on the game window by its creation (unregistering from it succeeds once).
    EXPECT_TRUE(UnregisterHotKey(game->GetSafeHwnd(), ID_HOTKEY_BOSS));
    frame->SetHotKey(TRUE);

    g_bGameWndVisible = TRUE;
    game->SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS);
    EXPECT_FALSE(game->IsWindowVisible()); // the login window is visible: nothing
    EXPECT_TRUE(g_bGameWndVisible);
    frame->m_pMainHtmlWnd->ShowSkinWnd(FALSE);
    game->SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS); // reads only its own flag: hides (already hidden)
    EXPECT_FALSE(g_bGameWndVisible);
    game->SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS);
    EXPECT_TRUE(game->IsWindowVisible());
    game->SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS + 1);
    EXPECT_TRUE(game->IsWindowVisible());

    // A key that cannot be registered: the message comes after the caller has returned.
    EXPECT_TRUE(UnregisterHotKey(game->GetSafeHwnd(), ID_HOTKEY_BOSS));
    HolderWnd other;
    ASSERT_TRUE(other.Create());
    ASSERT_TRUE(RegisterHotKey(other.GetSafeHwnd(), 7, MOD_ALT | MOD_CONTROL, VK_F9));
    frame->SetHotKey(TRUE);
    EXPECT_TRUE(m_boxes.empty());
    Pump();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, CString(L"热键设置失败，请重新设置！！！"));
    EXPECT_EQ(m_boxes[0].caption, CString(L"Pellar"));
    UnregisterHotKey(other.GetSafeHwnd(), 7);
    settings->HotKey = 0;
    settings->UseHotKey = FALSE;
}

TEST_F(ClientTest, GameWindowResizesByItsEdgesAndSwitchesSizeModes) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    CGameWnd* game = frame->m_pGameWnd;
    game->ShowWindow(SW_SHOW);
    CRect w;
    game->GetWindowRect(&w);
    auto hit = [&](int x, int y) { return game->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    EXPECT_EQ(hit(w.left + 5, w.top + 5), HTTOPLEFT);
    EXPECT_EQ(hit(w.left + 50, w.bottom - 2), HTBOTTOM);
    EXPECT_EQ(hit(w.right - 1, w.top + 50), HTRIGHT);
    EXPECT_EQ(hit(w.right - 10, w.bottom - 10), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w.left + 200, w.top + 200), HTCLIENT);

    // The demo skin starts in normal size; "max" maximises to the work area and swaps the buttons.
    CSkinButton *maxButton = nullptr, *restoreButton = nullptr;
    ASSERT_TRUE(game->FindButton(L"max", &maxButton));
    ASSERT_TRUE(game->FindButton(L"restore", &restoreButton));
    Click(game, L"max");
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    game->GetWindowRect(&w);
    EXPECT_EQ(w, CRect(area));
    EXPECT_FALSE(game->m_bDraggable);
    EXPECT_FALSE(maxButton->IsWindowVisible());
    EXPECT_TRUE(restoreButton->IsWindowVisible());
    // A double-click in the title strip switches back; one pixel below it does nothing.
    const int title = game->m_wndInfo.titleHeight;
    game->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, title + 1));
    EXPECT_EQ(game->m_wndInfo.wmode, 0);
    game->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, title));
    EXPECT_EQ(game->m_wndInfo.wmode, 1);
    game->GetWindowRect(&w);
    EXPECT_EQ(w.Width(), game->m_wndInfo.width);
    EXPECT_TRUE(game->m_bDraggable);
    EXPECT_TRUE(maxButton->IsWindowVisible());
}

TEST_F(ClientTest, QuitQuestionKeepsTheClientOnCancelAndEndsItOnOkSavingSettings) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    CHtmlWnd* login = frame->m_pMainHtmlWnd;
    m_answer = IDCANCEL;
    login->OnSkinBtnClick(Button(L"CLOSE")); // a skin may spell it so
    Pump();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, GetAppTitle());
    EXPECT_EQ(m_boxes[0].owner, login->GetSafeHwnd());
    EXPECT_EQ(m_boxes[0].type,
              static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SYSTEMMODAL));
    EXPECT_EQ(g_pMainFrame, frame);
    EXPECT_TRUE(login->IsWindowVisible());

    // Settings are kept when the session ends while the client runs.
    GetIniConfig()->AlwaysTop = 1;
    frame->SendMessage(WM_ENDSESSION, TRUE);
    EXPECT_EQ(GetPrivateProfileIntW(L"Config", L"AlwaysTop", 0, g_strIniPath), 1u);
    GetIniConfig()->AlwaysTop = 0;

    m_answer = IDOK;
    Click(login, L"close");
    Pump();
    EXPECT_EQ(g_pMainFrame, nullptr); // the exit command reached the frame, which is gone
}

TEST_F(ClientTest, GameStartsOnlyFromOurOwnSendAndExitsOnceItsHandlersHaveReturned) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    // Another program can post or send this message with any pointer: nothing happens.
    frame->PostMessage(WM_START_GAME, 0x1234, 0);
    Pump();
    EXPECT_EQ(frame->SendMessage(WM_START_GAME, 0x1234, 0), 0);
    EXPECT_FALSE(frame->m_bInGame);

    const CString url = L"http://127.0.0.1:1/game?sid=12";
    EXPECT_EQ(SendLocalMessage(frame->GetSafeHwnd(), WM_START_GAME, reinterpret_cast<WPARAM>(&url), 0), 1);
    ASSERT_TRUE(frame->m_bInGame);
    CGameWnd* game = frame->m_pGameWnd;
    CIEView* view = frame->GetBrowserView();
    EXPECT_EQ(game->m_pWebView, view);
    EXPECT_EQ(::GetParent(view->GetSafeHwnd()), game->GetSafeHwnd());
    EXPECT_TRUE(view->IsGameView());
    EXPECT_TRUE(game->IsWindowVisible());
    EXPECT_FALSE(frame->m_pMainHtmlWnd->IsWindowVisible());
    EXPECT_EQ(frame->GetGameUrl(), url);
    EXPECT_TRUE(view->GetLocationURL().Find(L"mytime=") > 0);

    // "close" answered OK while the question's loop lets the exit in: the game waits for the handler.
    m_onBox = [&] {
        frame->PostExitGame();
        Pump(300);
        EXPECT_EQ(frame->m_pGameWnd, game);
        EXPECT_TRUE(frame->m_bInGame);
    };
    Click(game, L"close");
    m_onBox = nullptr;
    PumpUntil([&] { return !frame->m_bInGame; }, 3000);
    EXPECT_FALSE(frame->m_bInGame);
    EXPECT_EQ(frame->m_pGameWnd, nullptr);
    EXPECT_TRUE(frame->m_pMainHtmlWnd->IsWindowVisible());
    ASSERT_NE(frame->GetBrowserView(), nullptr);
    EXPECT_EQ(::GetParent(frame->GetBrowserView()->GetSafeHwnd()),
              frame->m_pMainHtmlWnd->m_pIEWnd->GetSafeHwnd());

    // The same while the tray menu is open: its loop runs inside the frame's handler, no box is up.
    frame->StartGame(url);
    game = frame->m_pGameWnd;
    InsideMenu(
        [&] {
            ReachPage(frame->GetBrowserView(), L"about:blank2");
            Pump(300);
            EXPECT_EQ(frame->m_pGameWnd, game);
        },
        [&] { frame->SendMessage(WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN); });
    PumpUntil([&] { return !frame->m_bInGame; }, 3000);
    EXPECT_EQ(frame->m_pGameWnd, nullptr);

    // A new game gets a new game window; leaving the client during it frees everything in order.
    frame->StartGame(url);
    ASSERT_NE(frame->m_pGameWnd, nullptr);
    frame->PostMessage(WM_COMMAND, ID_APP_EXIT);
    Pump();
    EXPECT_EQ(g_pMainFrame, nullptr);
}
