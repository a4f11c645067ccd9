// The version check against the service stand-in: what the update window offers for each answer and
// what its "ok" starts, the silent update with the probe installer, the request's time and the files a
// check leaves, and the answers the frame must leave alone.
#include "ClientHarness.h"

#include "../foundation/OperatorService.h"
#include "client/ClientMessages.h"
#include "client/tools/BossWnd.h"
#include "client/tools/UpdateWnd.h"

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

namespace {

// "offer" (text1, ok, cancel), "current" (text2, ok1), "none" without a shown window, else "mixed".
std::string State(CUpdateWnd* wnd) {
    if (!wnd || !wnd->IsWindowVisible()) return "none";
    auto shows = [wnd](const wchar_t* name) {
        CSkinButton* button = nullptr;
        if (wnd->FindButton(name, &button)) return (button->GetStyle() & WS_VISIBLE) != 0;
        return std::any_of(wnd->m_vecTexts.begin(), wnd->m_vecTexts.end(), [name](const SkinTextInfo& text) {
            return text.name.CompareNoCase(name) == 0 && !text.title.IsEmpty();
        });
    };
    const int offer = shows(L"text1") + shows(L"ok") + shows(L"cancel"),
              current = shows(L"text2") + shows(L"ok1");
    return offer == 3 && current == 0 ? "offer" : offer == 0 && current == 2 ? "current" : "mixed";
}

class UpdateTest : public ToolWndHarness {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", m_probeLog);
        ToolWndHarness::SetUp();
        ASSERT_GT(service::Port(), 0) << "the operator stand-in is not running";
        Barrier(kBarrier); // start-up's own check is over
        g_strClientVer = L"1.0.0";
    }
    void TearDown() override {
        ToolWndHarness::TearDown();
        SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", nullptr);
    }

    // A check whose answer has been handled on return.
    void Check(BOOL silent, const CString& query) {
        g_strConfigParam = service::Url(L"/config.xml") + query;
        m_frame->RequestRemoteConfig(silent);
        Barrier(kBarrier);
    }
    // The client has ended: the application closed its frame.
    static bool Ended() { return g_pMainFrame == nullptr; }

    const CString kBarrier = service::Url(L"/data/barrier.txt?size=1");
    TempDir m_probe;
    const CString m_probeLog = m_probe / L"runs.txt";
};

TEST_F(UpdateTest, InteractiveAnswerOffersANewerWebInstallerWhoseOkStartsIt) {
    const std::pair<CString, const char*> cases[] = {
        {L"?version=1.0.0", "current"},
        {L"?version=", "current"},
        {L"?version=2.0.0&url=ftp://127.0.0.1/PellarNext.exe", "current"}, // not from the web
        {L"?_size=65537", "current"}, // larger than any configuration: a failed download
        {L"?_size=100", "none"},      // no configuration in it
    };
    for (const auto& [query, state] : cases) {
        Check(FALSE, query);
        EXPECT_EQ(state, State(m_frame->m_pUpdateWnd)) << query.ToUtf8();
        EXPECT_EQ(state == std::string("none"), Game().IsWindowEnabled() != FALSE) << query.ToUtf8();
        if (state != std::string("none")) Click(m_frame->m_pUpdateWnd, L"ok1");
    }
    EXPECT_TRUE(Game().IsWindowEnabled());

    const CString tag = service::Tag(L"ok");
    Check(FALSE, L"?version=1.0.1&url=" + service::Url(L"/download/PellarNext.exe?t=") + tag);
    ASSERT_EQ("offer", State(m_frame->m_pUpdateWnd));
    m_frame->m_pUpdateWnd->OnSkinBtnClick(Button(L"OK")); // a skin may spell it so
    EXPECT_TRUE(Game().IsWindowEnabled());
    ASSERT_TRUE(PumpUntil(Ended, 30000));
    // The installer runs on its own: give it time to write its record.
    EXPECT_TRUE(PumpUntil([&] { return TempDir::Exists(m_probeLog); }, 20000));
    std::vector<std::string> fetched;
    for (const Json::Value& request : service::Requests(tag))
        if (request["path"].asString() == "/download/PellarNext.exe")
            fetched.push_back(request["query"].asString());
    ASSERT_EQ(1u, fetched.size());
    size_t stamps = 0;
    for (size_t at = fetched[0].find("mytime="); at != std::string::npos;
         at = fetched[0].find("mytime=", at + 1))
        ++stamps;
    EXPECT_EQ(1u, stamps) << fetched[0];
}

TEST_F(UpdateTest, SilentUpdateEndsTheClientOnlyWhenTheInstallerRuns) {
    Game().ShowSkinWnd(TRUE);
    // An error page instead of a program: nothing starts, and the client stays as it was.
    Check(TRUE, L"?version=9.9.9&url=" + service::Url(L"/download/PellarNext.exe?_status=404"));
    Barrier(kBarrier); // behind the installer's download
    ASSERT_FALSE(Ended());
    EXPECT_TRUE(Game().IsWindowVisible());
    EXPECT_FALSE(TempDir::Exists(m_probeLog));

    Check(TRUE, L"?version=9.9.9");
    ASSERT_TRUE(PumpUntil([&] { return Ended() && TempDir::Exists(m_probeLog); }, 30000));
    const std::string run = TempDir::ReadFile(m_probeLog);
    EXPECT_NE(std::string::npos, run.find("PellarNext")) << run;
    EXPECT_EQ("|\r\n", run.substr(run.size() - 3)) << "started with arguments: " << run;
}

TEST_F(UpdateTest, ConfigurationRequestCarriesTheTimeAndLeavesNoFileBehind) {
    const CString tag = service::Tag(L"config");
    const time_t before = time(nullptr);
    Check(TRUE, L"?version=1.0.0&t=" + tag); // a query already: the time still follows a "?"
    const time_t after = time(nullptr);
    const std::vector<Json::Value> requests = service::Requests(tag);
    ASSERT_EQ(1u, requests.size());
    const std::string query = requests[0]["query"].asString();
    const std::string asked = "version=1.0.0&t=" + tag.ToUtf8() + "?";
    ASSERT_EQ(asked, query.substr(0, asked.size()));
    const std::string seconds = query.substr(asked.size());
    ASSERT_TRUE(!seconds.empty() && seconds.find_first_not_of("0123456789") == std::string::npos) << query;
    EXPECT_LE(before, std::stoll(seconds));
    EXPECT_GE(after, std::stoll(seconds));

    // The downloaded file and the copy beside the program are gone once the check is over.
    CString downloaded;
    CDownloadThread& thread = *m_frame->m_pDownloadThread;
    thread.m_cs.Lock();
    for (const auto& [id, task] : thread.m_results)
        if (task.strKey.Find(tag) >= 0) downloaded = task.strUrl;
    thread.m_cs.Unlock();
    ASSERT_FALSE(downloaded.IsEmpty());
    EXPECT_FALSE(TempDir::Exists(downloaded)) << downloaded.ToUtf8();
    EXPECT_FALSE(TempDir::Exists(GetModuleDir() + L"\\config.xml"));
}

TEST_F(UpdateTest, AnswersCountOnlyForOwnTasksAndAFreeGameWindow) {
    // A finished download that is not the frame's: taken neither for an installer nor a configuration.
    const int foreign = Barrier(service::Url(L"/download/PellarNext.exe"));
    m_frame->m_bSilentUpdate = FALSE; // a failed check of the player's would show the update window
    m_frame->SendMessage(WM_UPDATE_DOWNLOADED, 0, foreign);
    m_frame->SendMessage(WM_CONFIG_DOWNLOADED, 0, foreign);
    Pump(0);
    ASSERT_FALSE(Ended());
    EXPECT_EQ(nullptr, m_frame->m_pUpdateWnd);

    // The lock holds the game window: the answer must not take it over, then or later.
    m_frame->LockScreen(TRUE);
    Check(FALSE, L"?version=1.0.1");
    EXPECT_EQ(nullptr, m_frame->m_pUpdateWnd);
    m_frame->LockScreen(FALSE);
    EXPECT_EQ(nullptr, m_frame->m_pUpdateWnd);
    // Another tool window only delays the answer until it closes.
    Game().OnMoreItem(L"boss");
    Check(FALSE, L"?version=1.0.1");
    EXPECT_EQ(nullptr, m_frame->m_pUpdateWnd);
    Click(Game().m_pBossWnd, L"close");
    ASSERT_EQ("offer", State(m_frame->m_pUpdateWnd));
    EXPECT_FALSE(Game().IsWindowEnabled());
    Click(m_frame->m_pUpdateWnd, L"cancel");
    EXPECT_TRUE(Game().IsWindowEnabled());

    Check(FALSE, L"?version=1.0.1");
    CUpdateWnd* first = m_frame->m_pUpdateWnd;
    ASSERT_EQ("offer", State(first));
    // The game ends: its update window goes with it, and an answer arriving now has no window to use.
    m_frame->m_bInGame = TRUE;
    m_frame->ExitGame();
    ASSERT_EQ(nullptr, m_frame->m_pGameWnd);
    Check(FALSE, L"?version=1.0.1");
    EXPECT_EQ(first, m_frame->m_pUpdateWnd);
    EXPECT_FALSE(first->IsWindow());

    // The next game's check shows a new window.
    m_frame->StartGame(L"");
    ASSERT_NE(nullptr, m_frame->m_pGameWnd);
    Check(FALSE, L"?version=1.0.0");
    EXPECT_EQ("current", State(m_frame->m_pUpdateWnd));
    EXPECT_FALSE(Game().IsWindowEnabled());
}

TEST_F(UpdateTest, AnAnswerWaitsForTheGameWindowThePlayerHidAndNeverReachesALaterGame) {
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    g_bGameWndVisible = TRUE;
    Game().SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS);
    Check(FALSE, L"?version=1.0.1");
    // A page (the chat window's, say) starts a game meanwhile: it goes on in the hidden window.
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=2");
    EXPECT_EQ(CString(L"http://127.0.0.1:1/game?sid=2"), m_frame->GetGameUrl());
    EXPECT_EQ("none", State(m_frame->m_pUpdateWnd));
    EXPECT_FALSE(Game().IsWindowVisible());
    Game().SendMessage(WM_HOTKEY, ID_HOTKEY_BOSS);
    EXPECT_EQ("offer", State(m_frame->m_pUpdateWnd));
    Click(m_frame->m_pUpdateWnd, L"cancel");

    Game().OnSkinBtnClick(Button(L"pack"));
    Check(FALSE, L"?version=1.0.1");
    EXPECT_EQ("none", State(m_frame->m_pUpdateWnd));
    m_frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_EQ("offer", State(m_frame->m_pUpdateWnd));
    Click(m_frame->m_pUpdateWnd, L"cancel");

    // Held under a tool window of a game that then ends: the next game's tool window lets nothing out.
    Game().OnMoreItem(L"boss");
    Check(FALSE, L"?version=1.0.1");
    m_frame->ExitGame();
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=2");
    ASSERT_NE(nullptr, m_frame->m_pGameWnd);
    Game().OnMoreItem(L"boss");
    Click(Game().m_pBossWnd, L"close");
    EXPECT_EQ("none", State(m_frame->m_pUpdateWnd));
    EXPECT_TRUE(Game().IsWindowEnabled());
}

} // namespace
