// Random walks of the player's and the pages' events through the client's real windows. Each walk
// starts a client and takes seeded steps; every step is an event offered only where a player or a page
// could cause it, and some steps run inside the loop of a real message box that a window's handler
// opened. After every step the rules of what the player sees are checked. Each walk starts on a way to
// a state of its own and then prefers events not yet taken from the state it is in, so the walks
// before it steer it: a failure names its walk and the events that led to it, and PELLAR_WALK_SEED=<n>
// runs the walks up to the n-th again.
#include "ClientHarness.h"

#include "../foundation/OperatorService.h"
#include "client/ClientMessages.h"
#include "client/HtmlWnd.h"
#include "client/IEWnd.h"
#include "client/tools/BossWnd.h"
#include "client/tools/CacheWnd.h"
#include "client/tools/LockWnd.h"
#include "client/tools/MoreWnd.h"
#include "client/tools/ServerWnd.h"
#include "client/tools/SetupWnd.h"
#include "client/tools/UnLockWnd.h"
#include "client/tools/UpdateWnd.h"
#include "client/tools/VIPWnd.h"

#include <cstdlib>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr unsigned kWalks = 10;
constexpr int kStepsPerWalk = 50;

bool Shown(const CWnd* wnd) {
    return wnd && wnd->GetSafeHwnd() && IsWindowVisible(wnd->GetSafeHwnd());
}

bool ButtonShown(CSkinWndCommon* wnd, const wchar_t* name) {
    CSkinButton* button = nullptr;
    return Shown(wnd) && wnd->FindButton(name, &button) && (button->GetStyle() & WS_VISIBLE);
}

// The top-level windows of this thread: every box, or the shown windows that are no box.
struct WindowSearch {
    bool boxes;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    const bool box = AfxIsMessageBoxWindow(wnd) != FALSE;
    if (search->boxes ? box : !box && IsWindowVisible(wnd)) search->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> ThreadWindows(bool boxes) {
    WindowSearch search{boxes, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The windows of the client that the player sees.
BOOL CALLBACK CollectSeen(HWND wnd, LPARAM found) {
    if (IsSeenClientWindow(wnd)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(wnd);
    return TRUE;
}
std::vector<HWND> SeenWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), &CollectSeen, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A window of another program (another thread here), which the player brings forward over the client
// and puts away again.
class OtherProgram {
public:
    OtherProgram() {
        m_ready.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        m_thread.Attach(CreateThread(nullptr, 0, &Run, this, 0, nullptr));
        if (m_thread.Get()) WaitForSingleObject(m_ready.Get(), 10000);
    }
    ~OtherProgram() {
        if (m_wnd) PostMessageW(m_wnd, WM_CLOSE, 0, 0);
        if (m_thread.Get()) WaitForSingleObject(m_thread.Get(), 10000);
    }
    HWND Wnd() const { return m_wnd; }
    // Shown in front of every window (of its band), with the activation, as a click on it would.
    void BringForward(bool keptOnTop) { SendMessageW(m_wnd, kBringForward, keptOnTop, 0); }
    void PutAway() { SendMessageW(m_wnd, kPutAway, 0, 0); }

private:
    static constexpr UINT kBringForward = WM_APP + 1, kPutAway = WM_APP + 2;
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == kBringForward) {
            SetWindowPos(wnd, wParam ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            SetForegroundWindow(wnd);
            return 0;
        }
        if (msg == kPutAway) {
            ShowWindow(wnd, SW_HIDE);
            return 0;
        }
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
    static DWORD WINAPI Run(LPVOID param) {
        auto* self = static_cast<OtherProgram*>(param);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"WalkOtherProgram";
        RegisterClassW(&wc);
        self->m_wnd = CreateWindowExW(0, wc.lpszClassName, L"other", WS_POPUP, 100, 100, 600, 400, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        SetEvent(self->m_ready.Get());
        MSG msg;
        while (self->m_wnd && GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        return 0;
    }

    HWND m_wnd = nullptr;
    CScopedHandle m_ready, m_thread;
};

bool OwnedBy(HWND wnd, HWND owner) {
    for (HWND up = GetWindow(wnd, GW_OWNER); up; up = GetWindow(up, GW_OWNER))
        if (up == owner) return true;
    return false;
}

class ClientWalkTest;
ClientWalkTest* g_walk = nullptr;

class ClientWalkTest : public ToolWndHarness {
protected:
    struct Event {
        const char* name;
        int weight; // how often it is picked among the events offered
        std::function<bool()> offered;
        std::function<void()> run;
    };

    void SetUp() override {
        ToolWndHarness::SetUp();
        ASSERT_GT(service::Port(), 0) << "the operator stand-in is not running";
        g_walk = this;
        // One box may be the system's own, opened where the client opens it; every other is answered.
        AfxSetMessageBoxHandler([this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
            if (!m_realBoxNext) return IDOK;
            m_realBoxNext = false;
            return MessageBoxW(owner, text, caption, type);
        });
        DefineEvents();
        m_frame->DestroyWindow(); // each walk starts its own client
        m_frame = nullptr;
        m_other = std::make_unique<OtherProgram>();
        ASSERT_NE(nullptr, m_other->Wnd());
        m_timerHook.Attach(SetWindowsHookExW(WH_GETMESSAGE, &OnGetMessage, nullptr, GetCurrentThreadId()));
        ASSERT_NE(nullptr, m_timerHook.Get());
    }
    void TearDown() override {
        m_timerHook.Unhook();
        m_other.reset();
        g_walk = nullptr;
        ToolWndHarness::TearDown();
    }

    // A tick of a timer of the client (one of its windows') while nothing of it is on screen.
    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && g_walk &&
            g_walk->m_frame && CWnd::FromHandlePermanent(msg->hwnd) && SeenWindows().empty())
            ++g_walk->m_hiddenTicks;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // A client as start-up leaves it, with an account whose chat page, servers and password the
    // events use; the start-up's own version check is over.
    void StartClient() {
        INI_CONFIG* settings = GetIniConfig();
        settings->HotKey = settings->UseHotKey = settings->AlwaysTop = settings->m_bEnable1 = 0;
        m_frame = StartFrame();
        ASSERT_TRUE(m_frame && m_frame->m_pDownloadThread);
        Barrier(service::Url(L"/data/walk.txt?size=1"));
        g_bGameWndVisible = TRUE;
        g_strClientVer = L"1.0.0";
        g_strPwKey = L"pellar-demo-key";
        m_frame->m_strUserPwd = CUnLockWnd::UnlockDigest(L"123456", g_strPwKey);
        m_frame->m_strGsUrl = L"http://127.0.0.1:1/chat";
        m_frame->m_strLogoutUrl = L"http://127.0.0.1:1/logout";
        m_frame->m_servers = {{L"一区", L"http://127.0.0.1:1/game?sid=1"},
                              {L"二区", L"http://127.0.0.1:1/game?sid=2"}};
        m_marks = Marks{};
        m_answers = m_updateShows = 0;
        m_lastUpdate = nullptr;
        m_heldAnswers.clear();
        m_taken.clear();
        m_hiddenTicks = 0;
        m_trail.clear();
        m_step = 0;
    }

    void Walk(unsigned seed) {
        // Each walk first goes the way of one of these to a state of its own, then on at random.
        static const std::vector<std::vector<std::string>> kStarts = {
            {},
            {"login min", "boss key", "boss key"},
            {"server pick in the login window"},
            {"server pick in the login window", "more", "more: setup window",
             "setup ok, always on top turned over"},
            {"server pick in the login window", "boss key"},
            {"server pick in the login window", "more", "more: setup window",
             "setup ok, always on top turned over", "hot-key failure box"},
            {"server pick in the login window", "logout page"},
            {"server pick in the login window", "more", "more: version check", "logout page"},
            {"login min", "boss key", "account reply", "a chat or host page starts a game", "tray"},
            {"server pick in the login window", "account reply", "vip",
             "always on top turned over with the chat window shown",
             "always on top turned over with the chat window shown"}};
        m_seed = seed;
        m_rng.seed(seed);
        StartClient();
        for (const std::string& name : kStarts[seed % kStarts.size()])
            Step(name);
        while (m_step < kStepsPerWalk && !HasFailure())
            Step();
        if (m_frame) m_frame->DestroyWindow(); // the frame deletes itself
        m_frame = nullptr;
        Pump(0);
    }

    // One event of those offered now, then the rules: the event of that name when given, else one not
    // yet taken from this state (in this walk or an earlier one) while there is one, picked by weight.
    void Step(const std::string& name = std::string()) {
        std::vector<const Event*> offered, fresh;
        const std::string state = State();
        for (const Event& event : m_events)
            if (event.offered() && (name.empty() || name == event.name) &&
                (!m_inMenu || kMenuEvents.count(event.name))) {
                const std::string pair = state + " / " + event.name;
                offered.push_back(&event);
                if (!m_coverage[pair]) fresh.push_back(&event);
            }
        if (offered.empty()) {
            if (!name.empty()) ADD_FAILURE() << Where() << ": " << name << " is not offered";
            return;
        }
        const std::vector<const Event*>& from = !fresh.empty() ? fresh : offered;
        int total = 0;
        for (const Event* candidate : from)
            total += candidate->weight;
        int ticket = static_cast<int>(Pick(static_cast<size_t>(total)));
        size_t chosen = 0;
        while (ticket >= from[chosen]->weight)
            ticket -= from[chosen++]->weight;
        const Event& event = *from[chosen];
        m_coverage[state + " / " + event.name] = true;
        ++m_step;
        m_trail += std::string(m_trail.empty() ? "" : ", ") + event.name;
        event.run();
        Pump(0);
        // A timer left running while nothing of the client is on screen ticks meanwhile.
        if (SeenWindows().empty() && (!ThreadWindows(true).empty() || m_inMenu)) Pump(120);
        Check();
    }

    // What can happen while the tray menu is open: the pages' events, answers, the boss key.
    inline static const std::set<std::string> kMenuEvents = {
        "boss key",      "a chat or host page starts a game", "account reply", "logout page", "exit page",
        "version answer"};

    // The state an event is taken from, as far as the rules tell states apart.
    std::string State() const {
        const std::string box =
            std::string(m_inBox ? "in a box, " : "") + (m_inMenu ? "in the tray menu, " : "");
        CGameWnd* game = Game();
        if (!m_frame->m_bInGame || !game)
            return box + (Shown(Login()) ? "no game, login window" : "no game, no login window");
        if (game->IsHiddenForLogoutPage()) return box + "logout page";
        if (game->IsHiddenByPlayer()) return box + "game hidden by the player";
        if (!Shown(game)) return box + "game hidden";
        return box + (game->m_bToolWndOpen ? "game held by a tool window" : "game shown");
    }

    size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(m_rng); }
    template <size_t N> const wchar_t* PickOf(const wchar_t* const (&names)[N]) { return names[Pick(N)]; }

    std::string Where() const {
        return "\nwalk " + std::to_string(m_seed) + " (PELLAR_WALK_SEED=" + std::to_string(m_seed) +
               " replays the walks up to it), step " + std::to_string(m_step) + ": " + m_trail;
    }

    CGameWnd* Game() const { return m_frame ? m_frame->m_pGameWnd : nullptr; }
    CHtmlWnd* Login() const { return m_frame ? m_frame->m_pMainHtmlWnd : nullptr; }
    bool GameClickable() const {
        return Shown(Game()) && Game()->IsWindowEnabled() && !IsIconic(Game()->GetSafeHwnd());
    }
    bool InGameView() const { return m_frame->m_bInGame && Game() && Game()->m_pWebView; }
    CWnd* ToolShown() const {
        CGameWnd* game = Game();
        if (!game) return nullptr;
        for (CWnd* tool : {static_cast<CWnd*>(game->m_pBossWnd), static_cast<CWnd*>(game->m_pSetupWnd),
                           static_cast<CWnd*>(game->m_pCacheWnd)})
            if (Shown(tool)) return tool;
        return nullptr;
    }
    CUnLockWnd* UnlockPanel() const {
        CLockWnd* lock = m_frame->m_pLockWnd;
        return Shown(lock) && lock->m_pUnLockWnd ? lock->m_pUnLockWnd : nullptr;
    }

    // The marks of the player's and the logout page's hiding, as the events set them; a new game
    // window starts without them.
    struct Marks {
        HWND game = nullptr;
        bool playerHid = false, logoutHid = false, locked = false;
    } m_marks;
    void Showing() { m_marks.playerHid = m_marks.logoutHid = false; }

    // A game start: shown when a window of the client was on screen or the player had not hidden it.
    void Start(const std::function<void()>& start) {
        const bool seen = !SeenWindows().empty();
        start();
        if (seen || !m_marks.playerHid) {
            Showing();
            EXPECT_TRUE(Shown(Game())) << Where() << ": the game that started is not on screen";
        }
    }

    void BossKey() {
        if (!Shown(Login())) {
            if (g_bGameWndVisible)
                m_marks.playerHid = true;
            else
                Showing();
        }
        TakingAlong([this] { Game()->SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS); });
    }

    // The player's hiding: the boxes up go along when it leaves nothing of the client on screen.
    void TakingAlong(const std::function<void()>& hide) {
        std::vector<HWND> up;
        for (HWND box : ThreadWindows(true))
            if (IsWindowVisible(box)) up.push_back(box);
        hide();
        if (SeenWindows().empty()) m_taken.insert(m_taken.end(), up.begin(), up.end());
    }

    // The player asked for the version: the answer is fetched now and handed over by a later event.
    void AskVersion() {
        g_strConfigParam = service::Url(Pick(2) ? L"/config.xml?version=1.0.1&url=http://127.0.0.1:1/Next.exe"
                                                : L"/config.xml?version=1.0.0");
        Click(Game()->m_pMoreWnd, L"ver");
        MSG msg;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(5)) {
            if (PeekMessageW(&msg, m_frame->m_hWnd, WM_CONFIG_DOWNLOADED, WM_CONFIG_DOWNLOADED, PM_REMOVE)) {
                m_heldAnswers.push_back(msg.lParam);
                return;
            }
        }
        ADD_FAILURE() << Where() << ": the version check brought no answer";
    }

    // A page of the game view reaches a sentinel page.
    void Sentinel(const wchar_t* page) { ReachPage(Game()->m_pWebView, page); }

    // A real box, opened by a window's handler; some steps run inside its loop, then the player
    // answers it (bringing a window of the client back first when nothing is on screen).
    void OpenBox(const CString& caption, const std::function<void()>& open) {
        m_boxCaption = caption;
        m_boxSteps = 1 + static_cast<int>(Pick(8));
        m_realBoxNext = true;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &InsideBox);
        open();
        KillTimer(nullptr, timer);
        m_realBoxNext = false;
        // An exit asked for inside the box waited for it.
        PumpUntil([this] { return !m_frame->m_bInGame || !m_exitAsked; }, 1000);
        m_exitAsked = false;
    }
    static void CALLBACK InsideBox(HWND, UINT, UINT_PTR timer, DWORD) {
        ClientWalkTest& walk = *g_walk;
        const HWND box = FindWindowW(L"#32770", walk.m_boxCaption);
        if (!box || walk.m_inBox) return;
        KillTimer(nullptr, timer);
        walk.m_inBox = true;
        // Above every window of the client from its first moment, a game window kept on top included.
        EXPECT_TRUE(SeenWindows().empty() || BoxState(box) == "seen")
            << walk.Where() << ": the box came up " << BoxState(box);
        walk.Check();
        for (int i = 0; i < walk.m_boxSteps && !walk.HasFailure(); ++i)
            walk.Step();
        if (!IsWindowVisible(box)) walk.Tray();
        EXPECT_EQ("seen", BoxState(box)) << walk.Where() << ": the box cannot be answered";
        walk.m_inBox = false;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }

    // A tool window's button gives the game window back, unless something else holds it now.
    void CloseTool(const wchar_t* button) {
        Click(static_cast<CSkinWndCommon*>(ToolShown()), button);
        if (!m_frame->m_bInGame || !Game() || Shown(m_frame->m_pUpdateWnd) || m_frame->IsScreenLocked())
            return;
        EXPECT_TRUE(Game()->IsWindowEnabled() && !Game()->m_bToolWndOpen)
            << Where() << ": the tool window did not give the game window back";
    }

    // The player opens the tray menu: some events happen while it is open, then it closes unchosen.
    void TrayMenu() {
        const int steps = static_cast<int>(Pick(4));
        InsideMenu(
            [this, steps] {
                m_inMenu = true;
                if (SeenWindows().empty() && !ThreadWindows(true).empty()) Pump(120);
                Check();
                for (int i = 0; i < steps && !HasFailure(); ++i)
                    Step();
                m_inMenu = false;
            },
            [this] { m_frame->SendMessage(WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN); });
        PumpUntil([this] { return !m_frame->m_bInGame || !m_exitAsked; }, 1000);
        m_exitAsked = false;
    }

    // The player brings another program forward, kept on top or not. The client's boxes stay behind it
    // as long as its windows do: the client shows and raises nothing meanwhile. (The display restacks
    // a window whose first expose comes late in front of what covers it: the player is not that
    // quick, so what the last event showed is drawn first.)
    void OtherProgramComesForward() {
        const bool keptOnTop = Pick(2);
        const HWND other = m_other->Wnd();
        Pump(30);
        m_other->BringForward(keptOnTop);
        bool boxInFront = false;
        PumpUntil(
            [&] {
                bool windowInFront = false;
                for (HWND up = GetWindow(other, GW_HWNDPREV); up; up = GetWindow(up, GW_HWNDPREV)) {
                    windowInFront = windowInFront || IsSeenClientWindow(up);
                    boxInFront = boxInFront || (CBoxKeeper::IsClientBox(up) && IsWindowVisible(up));
                }
                boxInFront = boxInFront && !windowInFront;
                return boxInFront;
            },
            150);
        EXPECT_FALSE(boxInFront) << Where() << ": a box of the client came in front of another program"
                                 << (keptOnTop ? " kept on top" : "");
        m_other->PutAway();
    }

    // The shown windows the game window owns, with a shown button to click.
    std::vector<CSkinWndCommon*> GameOwnedWindows() const {
        std::vector<CSkinWndCommon*> found;
        CGameWnd* game = Game();
        if (!game) return found;
        CLockWnd* lock = m_frame->m_pLockWnd;
        for (CSkinWndCommon* wnd :
             {static_cast<CSkinWndCommon*>(game->m_pMoreWnd),
              static_cast<CSkinWndCommon*>(game->m_pServerWnd),
              static_cast<CSkinWndCommon*>(game->m_pBossWnd), static_cast<CSkinWndCommon*>(game->m_pSetupWnd),
              static_cast<CSkinWndCommon*>(game->m_pCacheWnd), static_cast<CSkinWndCommon*>(game->m_pVipWnd),
              static_cast<CSkinWndCommon*>(m_frame->m_pUpdateWnd),
              static_cast<CSkinWndCommon*>(Shown(lock) ? lock->m_pUnLockWnd : nullptr)})
            if (Shown(wnd)) found.push_back(wnd);
        return found;
    }

    // The windows whose menu the player can open: the game window and the login window's page.
    std::vector<HWND> MenuOwners() const {
        std::vector<HWND> owners;
        if (GameClickable()) owners.push_back(Game()->GetSafeHwnd());
        if (Shown(Login()) && Login()->m_pIEWnd) owners.push_back(Login()->m_pIEWnd->GetSafeHwnd());
        return owners;
    }

    void Tray() {
        if (m_frame->m_bInGame && Game()) Showing();
        m_frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_FALSE(SeenWindows().empty()) << Where() << ": the tray left nothing on screen";
    }

    void DefineEvents() {
        const auto always = [] { return true; };
        const auto hasGame = [this] { return Game() != nullptr; };
        const auto clickable = [this] { return GameClickable(); };
        const auto moreShown = [this] { return Game() && Shown(Game()->m_pMoreWnd); };
        const auto hidingKey = [this] { return GameClickable() && !Shown(Login()) && g_bGameWndVisible; };
        m_events = {
            {"boss key", 2, hasGame, [this] { BossKey(); }},
            // The boss key's message comes before input already queued: a click made just before it
            // reaches the game window after the key has hidden it.
            {"a click, then the boss key", 2, hidingKey,
             [this] {
                 static const wchar_t* const kNames[] = {L"max", L"restore", L"min",  L"more", L"server",
                                                         L"vip", L"lock",    L"pack", L"close"};
                 CSkinButton* button = nullptr;
                 if (Game()->FindButton(PickOf(kNames), &button) && (button->GetStyle() & WS_VISIBLE))
                     button->PostMessage(BM_CLICK);
                 BossKey();
             }},
            {"a title double-click, then the boss key", 1, hidingKey,
             [this] {
                 Game()->PostMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, 10));
                 BossKey();
             }},
            {"pack", 2, clickable,
             [this] {
                 m_marks.playerHid = true;
                 TakingAlong([this] { Click(Game(), L"pack"); });
             }},
            {"tray", 1, always, [this] { Tray(); }},
            {"tray menu", 2, [this] { return !m_inMenu; }, [this] { TrayMenu(); }},
            {"another program comes forward", 2, always, [this] { OtherProgramComesForward(); }},
            // A click on a window the game window owns, made just before the boss key, arrives after it.
            {"a click on a window of the game, then the boss key", 3,
             [this] {
                 return Shown(Game()) && !IsIconic(Game()->GetSafeHwnd()) && !Shown(Login()) &&
                        g_bGameWndVisible && !GameOwnedWindows().empty();
             },
             [this] {
                 const std::vector<CSkinWndCommon*> windows = GameOwnedWindows();
                 CSkinWndCommon* wnd = windows[Pick(windows.size())];
                 std::vector<CSkinButton*> buttons;
                 for (const auto& button : wnd->m_listButtons)
                     if (button->GetStyle() & WS_VISIBLE) buttons.push_back(button.get());
                 if (CUnLockWnd* unlock = UnlockPanel()) unlock->m_edit.SetWindowText(L"123456");
                 if (!buttons.empty()) buttons[Pick(buttons.size())]->PostMessage(BM_CLICK);
                 const HWND game = Game()->GetSafeHwnd();
                 const BOOL inGame = m_frame->m_bInGame;
                 BossKey();
                 Pump(0);
                 EXPECT_TRUE(SeenWindows().empty() && m_frame->m_bInGame == inGame && Game() &&
                             Game()->GetSafeHwnd() == game)
                     << Where() << ": a click that came after the boss key acted";
             }},
            {"login min", 1, [this] { return Shown(Login()); }, [this] { Click(Login(), L"min"); }},
            {"server pick in the login window", 3,
             [this] {
                 return Shown(Login()) && m_frame->GetBrowserView() &&
                        !m_frame->GetBrowserView()->IsGameView();
             },
             [this] {
                 Start([this] {
                     RaiseBeforeNavigate2(m_frame->GetBrowserView(), Pick(2)
                                                                         ? L"http://127.0.0.1:1/game?sid=1"
                                                                         : L"http://127.0.0.1:1/game?sid=2");
                 });
                 EXPECT_FALSE(Shown(Login())) << Where();
             }},
            {"a chat or host page starts a game", 1,
             [this] { return Game() && Game()->m_pVipWnd && Game()->m_pHostWnd; },
             [this] {
                 CVIPWnd* page = Pick(2) ? Game()->m_pVipWnd : Game()->m_pHostWnd;
                 Start([&] { RaiseBeforeNavigate2(&page->m_view, L"http://127.0.0.1:1/game?sid=2"); });
             }},
            {"account reply", 1, hasGame,
             [this] {
                 Game()->OnUserLogin(L"玩家");
                 SendLocalMessage(Game()->GetSafeHwnd(), WM_GSNAME, 0, reinterpret_cast<LPARAM>(L"客服"));
             }},
            {"logout page", 1, [this] { return InGameView(); },
             [this] {
                 if (Shown(Game()->m_pServerWnd))
                     Click(Game()->m_pServerWnd, L"logout");
                 else
                     Game()->m_pWebView->Navigate(L"about:blank3");
                 m_marks.logoutHid = true;
                 Sentinel(L"about:blank3");
                 EXPECT_TRUE(Shown(Login())) << Where() << ": no login window for the logout page";
             }},
            {"exit page", 1, [this] { return InGameView(); },
             [this] {
                 m_exitAsked = m_inBox || m_inMenu;
                 Sentinel(L"about:blank2");
             }},
            {"close", 1, clickable,
             [this] {
                 m_exitAsked = m_inBox || m_inMenu;
                 Click(Game(), L"close");
             }},
            {"max or restore", 1, clickable,
             [this] { Click(Game(), ButtonShown(Game(), L"max") ? L"max" : L"restore"); }},
            {"title double-click", 1, clickable,
             [this] { Game()->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(300, 10)); }},
            {"min", 1, clickable, [this] { Click(Game(), L"min"); }},
            {"lock", 2, [this] { return GameClickable() && !Game()->m_bToolWndOpen; },
             [this] {
                 Click(Game(), L"lock");
                 m_marks.locked = true;
             }},
            {"unlock", 3, [this] { return UnlockPanel() != nullptr; },
             [this] {
                 const bool right = Pick(2);
                 UnlockPanel()->m_edit.SetWindowText(right ? L"123456" : L"654321");
                 Click(UnlockPanel(), L"ok");
                 if (right) m_marks.locked = false;
             }},
            {"more", 4, clickable, [this] { Click(Game(), L"more"); }},
            {"more: boss key window", 2, moreShown, [this] { Click(Game()->m_pMoreWnd, L"boss"); }},
            {"more: setup window", 3, moreShown, [this] { Click(Game()->m_pMoreWnd, L"setup"); }},
            {"more: cache window", 2, moreShown, [this] { Click(Game()->m_pMoreWnd, L"cache"); }},
            {"more: version check", 3, moreShown, [this] { AskVersion(); }},
            {"a tool window's close", 3, [this] { return ToolShown() != nullptr; },
             [this] { CloseTool(L"close"); }},
            {"boss key window's ok", 2, [this] { return Game() && Shown(Game()->m_pBossWnd); },
             [this] { CloseTool(L"ok"); }},
            // The browser's own menu over a page (the game's, or the login window's), or the game
            // window's: top-most and owned by that window; the rules hold while it is open too.
            {"a menu of a client window", 2, [this] { return !m_inMenu && !MenuOwners().empty(); },
             [this] {
                 const std::vector<HWND> owners = MenuOwners();
                 const HWND owner = owners[Pick(owners.size())];
                 InsideMenu([this] { Check(); }, [owner] { TrackMenuOf(owner); });
             }},
            {"always on top turned over with the chat window shown", 2,
             [this] { return GameClickable() && !Game()->m_bToolWndOpen && Shown(Game()->m_pVipWnd); },
             [this] {
                 Game()->OnMoreItem(L"setup");
                 Click(Game()->m_pSetupWnd, L"enable2");
                 CloseTool(L"ok");
             }},
            {"setup ok, always on top turned over", 3,
             [this] { return Game() && Shown(Game()->m_pSetupWnd); },
             [this] {
                 Click(Game()->m_pSetupWnd, L"enable2");
                 CloseTool(L"ok");
             }},
            {"cache ok, leaving the game", 1, [this] { return Game() && Shown(Game()->m_pCacheWnd); },
             [this] {
                 m_exitAsked = m_inBox || m_inMenu;
                 CloseTool(L"ok");
             }},
            {"version answer", 2, [this] { return !m_heldAnswers.empty(); },
             [this] {
                 ++m_answers;
                 m_frame->PostMessage(WM_CONFIG_DOWNLOADED, 0, m_heldAnswers.front());
                 m_heldAnswers.erase(m_heldAnswers.begin());
             }},
            {"an update window button", 4, [this] { return Shown(m_frame->m_pUpdateWnd); },
             [this] {
                 CUpdateWnd* update = m_frame->m_pUpdateWnd;
                 static const wchar_t* const kButtons[] = {L"ok", L"cancel", L"ok1", L"close"};
                 for (size_t first = Pick(4), i = 0; i < 4; ++i)
                     if (ButtonShown(update, kButtons[(first + i) % 4])) {
                         Click(update, kButtons[(first + i) % 4]);
                         return;
                     }
             }},
            {"server panel", 2, clickable, [this] { Click(Game(), L"server"); }},
            {"server change", 2, [this] { return Game() && Shown(Game()->m_pServerWnd); },
             [this] { Start([this] { Click(Game()->m_pServerWnd, L"change"); }); }},
            {"vip", 2, [this] { return GameClickable() && ButtonShown(Game(), L"vip"); },
             [this] { Click(Game(), L"vip"); }},
            {"chat window's close", 2, [this] { return Game() && Shown(Game()->m_pVipWnd); },
             [this] { Click(Game()->m_pVipWnd, L"close"); }},
            {"hot-key failure box", 1, [this] { return !m_inBox; },
             [this] {
                 OpenBox(AfxLoadString(AFX_IDS_APP_TITLE),
                         [this] { m_frame->SendMessage(WM_HOTKEY_FAILED); });
             }},
            // The game window's own quit question: owned by it, and system-modal.
            {"close question", 1, [this] { return !m_inBox && GameClickable(); },
             [this] { OpenBox(g_strGsClientAbout, [this] { Click(Game(), L"close"); }); }},
            {"wrong password box", 2, [this] { return !m_inBox && UnlockPanel(); },
             [this] {
                 OpenBox(L"错误", [this] {
                     UnlockPanel()->m_edit.SetWindowText(L"654321");
                     Click(UnlockPanel(), L"ok");
                 });
             }},
        };
    }

    // The rules of what the player sees.
    void Check() {
        ASSERT_EQ(g_pMainFrame, m_frame) << Where() << ": the client ended";
        CGameWnd* game = Game();
        const HWND gameWnd = game ? game->GetSafeHwnd() : nullptr;
        if (gameWnd != m_marks.game) m_marks = Marks{gameWnd}; // the marks went with the old window
        const bool gameShown = Shown(game);
        EXPECT_FALSE(m_marks.playerHid && gameShown) << Where() << ": a game window the player hid came back";
        EXPECT_FALSE(m_marks.logoutHid && gameShown)
            << Where() << ": the logout page's game window came back";

        const std::vector<HWND> shown = SeenWindows();
        for (HWND wnd : shown) {
            const bool popup = OwnedBy(wnd, gameWnd) ||
                               (game && Shown(game->m_pHostWnd) && wnd == game->m_pHostWnd->GetSafeHwnd());
            EXPECT_FALSE(game && !gameShown && popup)
                << Where() << ": a pop-up of the hidden game window is shown";
            // Only a game window kept on top keeps the windows it owns in the top-most band.
            EXPECT_FALSE(OwnedBy(wnd, gameWnd) && IsTopMost(wnd) && !IsTopMost(gameWnd))
                << Where() << ": a window of the game window is in the top-most band without it";
        }
        // The window system may still restack what an event showed; the client settles its boxes again
        // within its watch period.
        const auto boxesSeen = [] {
            for (HWND box : ThreadWindows(true))
                if (BoxState(box) != "seen") return false;
            return true;
        };
        if (!shown.empty() && !boxesSeen()) PumpUntil(boxesSeen, 500);
        bool keptOnTop = false;
        for (HWND wnd : shown)
            keptOnTop = keptOnTop || IsTopMost(wnd);
        for (HWND box : ThreadWindows(true)) {
            EXPECT_TRUE(shown.empty() || BoxState(box) == "seen")
                << Where() << ": a box is " << BoxState(box) << " while the client is on screen";
            // Only a shown window of the client kept on top keeps a box in the top-most band.
            EXPECT_TRUE(!IsWindowVisible(box) || IsTopMost(box) == keptOnTop)
                << Where() << ": a box is " << (IsTopMost(box) ? "" : "not ") << "in the top-most band";
        }
        // Until the client is on screen again, what the player's hiding took stays hidden.
        if (!shown.empty()) m_taken.clear();
        for (HWND box : m_taken)
            EXPECT_FALSE(IsWindow(box) && IsWindowVisible(box))
                << Where()
                << ": a box the player's hiding took came back while nothing of the client is on screen";
        EXPECT_EQ(0, m_hiddenTicks) << Where()
                                    << ": a timer of the client ticked while nothing of it was on screen";
        m_hiddenTicks = 0;

        if (m_frame->m_bInGame && gameShown && !IsIconic(gameWnd) && game->m_pWebView) {
            CRect want, got;
            const HWND view = game->m_pWebView->GetSafeHwnd();
            EXPECT_EQ(gameWnd, GetParent(view)) << Where();
            if (game->GetPlacedRect(L"ie", want)) {
                GetWindowRect(view, &got);
                MapWindowPoints(nullptr, gameWnd, reinterpret_cast<POINT*>(&got), 2);
                EXPECT_TRUE(want == got) << Where() << ": the page is not laid out in the game area";
            }
        }

        EXPECT_EQ(m_marks.locked, m_frame->IsScreenLocked() != FALSE) << Where() << ": the lock";
        if (m_frame->IsScreenLocked() && gameShown) {
            CRect cover, covered;
            m_frame->m_pLockWnd->GetWindowRect(&cover);
            game->GetWindowRect(&covered);
            EXPECT_TRUE(!game->IsWindowEnabled() && Shown(m_frame->m_pLockWnd) && cover == covered)
                << Where() << ": a locked game window is not covered";
        }

        CUpdateWnd* update = m_frame->m_pUpdateWnd;
        for (CWnd* tool : {ToolShown(), static_cast<CWnd*>(Shown(update) ? update : nullptr),
                           static_cast<CWnd*>(UnlockPanel())})
            EXPECT_TRUE(!tool || (gameShown && !game->IsWindowEnabled() && game->m_bToolWndOpen))
                << Where() << ": a tool window does not hold a shown game window";
        if (Shown(update) && update->GetSafeHwnd() != m_lastUpdate) {
            m_lastUpdate = update->GetSafeHwnd();
            ++m_updateShows;
            EXPECT_LE(m_updateShows, m_answers) << Where() << ": an answer showed the update window twice";
            EXPECT_TRUE(gameShown && !ToolShown() && !m_frame->IsScreenLocked())
                << Where() << ": the update window came over a hidden, held or locked game window";
        }
    }

    std::vector<Event> m_events;
    // Every event offered in every state met, and whether it was taken there.
    std::map<std::string, bool> m_coverage;
    unsigned m_seed = 0;
    std::mt19937 m_rng;
    int m_step = 0;
    std::string m_trail;
    int m_answers = 0, m_updateShows = 0;
    HWND m_lastUpdate = nullptr;
    std::vector<LPARAM> m_heldAnswers;
    bool m_realBoxNext = false, m_inBox = false, m_inMenu = false, m_exitAsked = false;
    // The boxes the player's last hiding took along.
    std::vector<HWND> m_taken;
    int m_hiddenTicks = 0;
    std::unique_ptr<OtherProgram> m_other;
    CScopedHook m_timerHook;
    CString m_boxCaption;
    int m_boxSteps = 0;
};

TEST_F(ClientWalkTest, WhatThePlayerSeesHoldsAfterEveryEvent) {
    const char* replay = getenv("PELLAR_WALK_SEED");
    const unsigned last = replay ? static_cast<unsigned>(strtoul(replay, nullptr, 10)) : kWalks;
    for (unsigned seed = 1; seed <= last && !HasFailure(); ++seed)
        Walk(seed);
    size_t taken = 0;
    std::string untaken;
    for (const auto& [pair, wasTaken] : m_coverage) {
        if (wasTaken)
            ++taken;
        else
            untaken += "\n  " + pair;
    }
    printf("events taken in %zu of the %zu state and event pairs offered; never taken:%s\n", taken,
           m_coverage.size(), untaken.c_str());
}

} // namespace
