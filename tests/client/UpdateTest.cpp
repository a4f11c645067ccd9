// The version check against the service stand-in: what the update window offers for each answer,
// the silent update with the probe installer, and the answers the frame must leave alone.
#include "ClientHarness.h"

#include "../foundation/OperatorService.h"
#include "client/ClientMessages.h"
#include "client/tools/UpdateWnd.h"
#include "framework/App.h"

namespace {

// Counts the exit command the frame hands to the application.
class ExitRecorder : public CWinApp {
public:
    int exits = 0;
    BOOL OnCmdMsg(UINT id, int code) override {
        if (code == 0 && id == ID_APP_EXIT) {
            ++exits;
            return TRUE;
        }
        return CWinApp::OnCmdMsg(id, code);
    }
};

// A query value: the characters that would end it or start another one are escaped.
CString QueryValue(const CString& text) {
    CString value(text);
    value.Replace(L"%", L"%25");
    value.Replace(L"&", L"%26");
    value.Replace(L"?", L"%3F");
    value.Replace(L"=", L"%3D");
    return value;
}

bool Shows(CSkinWndCommon& wnd, const wchar_t* button) {
    CSkinButton* found = nullptr;
    return wnd.FindButton(button, &found) && (found->GetStyle() & WS_VISIBLE);
}

bool HasText(const CUpdateWnd& wnd, const wchar_t* name) {
    for (const SkinTextInfo& text : wnd.m_vecTexts)
        if (text.name.CompareNoCase(name) == 0) return !text.title.IsEmpty();
    return false;
}

// "offer" (text1, ok, cancel), "current" (text2, ok1), "none" without a shown window, else "mixed".
std::string State(CUpdateWnd* wnd) {
    if (!wnd || !wnd->IsWindow() || !wnd->IsWindowVisible()) return "none";
    const bool offer = HasText(*wnd, L"text1") && Shows(*wnd, L"ok") && Shows(*wnd, L"cancel");
    const bool current = HasText(*wnd, L"text2") && Shows(*wnd, L"ok1");
    if (offer == current) return "mixed";
    return offer ? "offer" : "current";
}

class UpdateTest : public clienttest::ClientHarness {
protected:
    void SetUp() override {
        ClientHarness::SetUp();
        ASSERT_GT(service::Port(), 0) << "the operator stand-in is not running";
        g_strClientVer = L"1.0.0";
        SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", ProbeLog());
        StartDownloads();
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", nullptr);
        ClientHarness::TearDown();
    }

    CString ProbeLog() const { return m_probe / L"runs.txt"; }
    // A check whose answer has been handled on return.
    void Check(BOOL silent, const CString& query) {
        g_strConfigParam = service::Url(L"/config.xml") + query;
        m_frame->RequestRemoteConfig(silent);
        Barrier(service::Url(L"/data/barrier.txt?size=1"));
    }
    void DropUpdateWnd() {
        delete m_frame->m_pUpdateWnd;
        m_frame->m_pUpdateWnd = nullptr;
        Game().ReleaseFromToolWnd();
    }

    TempDir m_probe;
    ExitRecorder m_app;
};

TEST_F(UpdateTest, InteractiveAnswerOffersOnlyANewerVersionFromTheWeb) {
    const CString ftp = QueryValue(L"ftp://127.0.0.1/PellarNext.exe");
    const struct {
        CString query;
        const char* state;
    } cases[] = {
        {L"?version=1.0.1", "offer"},
        {L"?version=1.0.0", "current"},
        {L"?version=", "current"},
        {L"?version=2.0.0&url=" + ftp, "current"}, // newer, but not fetched from there
        {L"?_size=65537", "current"},              // larger than any configuration: a failed download
        {L"?_size=100", "none"},                   // no configuration in it
    };
    for (const auto& c : cases) {
        Check(FALSE, c.query);
        EXPECT_EQ(c.state, State(m_frame->m_pUpdateWnd)) << c.query.ToUtf8();
        EXPECT_EQ(std::string(c.state) == "none", Game().IsWindowEnabled() != FALSE) << c.query.ToUtf8();
        DropUpdateWnd();
    }
    EXPECT_EQ(0, m_app.exits);
}

TEST_F(UpdateTest, OkFetchesAndStartsTheOfferedInstallerThenTheClientEnds) {
    const CString tag = service::Tag(L"ok");
    Check(FALSE, L"?version=1.0.1&url=" + QueryValue(service::Url(L"/download/PellarNext.exe?t=") + tag));
    ASSERT_EQ("offer", State(m_frame->m_pUpdateWnd));
    Click(*m_frame->m_pUpdateWnd, L"OK");
    EXPECT_TRUE(Game().IsWindowEnabled());
    ASSERT_TRUE(PumpUntil([&] { return m_app.exits > 0; }, 30000));
    EXPECT_TRUE(TempDir::Exists(ProbeLog()));
    int fetched = 0;
    for (const Json::Value& request : service::Requests(tag)) {
        if (request["path"].asString() != "/download/PellarNext.exe") continue;
        ++fetched;
        const std::string query = request["query"].asString();
        EXPECT_EQ(query.find("mytime="), query.rfind("mytime=")) << query;
        EXPECT_NE(std::string::npos, query.find("mytime=")) << query;
    }
    EXPECT_EQ(1, fetched);
}

TEST_F(UpdateTest, SilentUpdateEndsTheClientOnlyWhenTheInstallerRuns) {
    Game().ShowSkinWnd(TRUE);
    // An error page instead of a program: nothing starts, and the client stays as it was.
    Check(TRUE, L"?version=9.9.9&url=" + QueryValue(service::Url(L"/download/PellarNext.exe?_status=404")));
    Barrier(service::Url(L"/data/barrier.txt?size=1")); // the installer's download
    EXPECT_EQ(0, m_app.exits);
    EXPECT_TRUE(Game().IsWindowVisible());
    EXPECT_FALSE(TempDir::Exists(ProbeLog()));

    Check(TRUE, L"?version=9.9.9");
    ASSERT_TRUE(PumpUntil([&] { return m_app.exits > 0; }, 30000));
    EXPECT_FALSE(Game().IsWindowVisible());
    ASSERT_TRUE(PumpUntil([&] { return TempDir::Exists(ProbeLog()); }, 10000));
    const std::string run = TempDir::ReadFile(ProbeLog());
    EXPECT_NE(std::string::npos, run.find("PellarNext")) << run;
    EXPECT_EQ("|\r\n", run.substr(run.size() - 3)) << "started with arguments: " << run;
}

TEST_F(UpdateTest, AnswersCountOnlyForOwnTasksAndAFreeGameWindow) {
    // A finished download that is not the frame's: not taken for an installer or a configuration.
    const int foreign = Barrier(service::Url(L"/download/PellarNext.exe"));
    m_frame->SendMessage(WM_UPDATE_DOWNLOADED, 0, foreign);
    m_frame->SendMessage(WM_CONFIG_DOWNLOADED, 0, foreign);
    skintest::PumpPending();
    EXPECT_EQ(0, m_app.exits);
    EXPECT_EQ(nullptr, m_frame->m_pUpdateWnd);

    // The lock holds the game window: the answer must not take it over.
    m_frame->LockScreen(TRUE);
    Check(FALSE, L"?version=1.0.1");
    EXPECT_EQ(nullptr, m_frame->m_pUpdateWnd);
    m_frame->LockScreen(FALSE);

    Check(FALSE, L"?version=1.0.1");
    CUpdateWnd* first = m_frame->m_pUpdateWnd;
    ASSERT_EQ("offer", State(first));
    // The game ends: its update window goes with it, and an answer arriving now has no window to use.
    delete m_frame->m_pGameWnd;
    m_frame->m_pGameWnd = nullptr;
    Check(FALSE, L"?version=1.0.1");
    EXPECT_EQ(first, m_frame->m_pUpdateWnd);
    EXPECT_FALSE(first->IsWindow());

    // The next game's check shows a new window.
    m_frame->m_pGameWnd = new CGameWnd(L"GAMEWND");
    ASSERT_TRUE(
        Game().CreateWnd(GetDesktopWindow(), WS_EX_APPWINDOW, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX));
    Check(FALSE, L"?version=1.0.0");
    EXPECT_EQ("current", State(m_frame->m_pUpdateWnd));
    EXPECT_FALSE(Game().IsWindowEnabled());
}

} // namespace
