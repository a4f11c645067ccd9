// What the operator's pages can make the client do, through the real views of a running frame: events
// raised through each view's event sink with the control's argument layout, window.external as the
// page calls it, and sentinel pages the view really navigated to.
// Sockets first: their header must come before the system's windows header.
#include "LoopbackServer.h"

#include "BrowserCallRecorder.h"
#include "ClientTestSupport.h"
#include "DebugOutput.h"

#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/IEWnd.h"
#include "client/tools/VIPWnd.h"
#include "foundation/UserInfo.h"

#include <exdispid.h>

#include <iterator>
#include <utility>

namespace {

bool ChooseShown(CHtmlWnd* login) {
    for (const SkinImgInfo& image : login->m_vecImages)
        if (image.name.CompareNoCase(L"choose") == 0) return image.visible != FALSE;
    return false;
}

class PageRulesTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        ASSERT_TRUE(m_server.IsRunning());
        g_strUserInfoUrl = m_server.Url(L"/userinfo?sid=%s&sign=%s");
        m_frame = StartFrame();
        ASSERT_NE(m_frame, nullptr);
    }

    CIEView* View() { return m_frame->GetBrowserView(); }
    size_t UserInfoRequests() { return m_server.CountRequests("/userinfo"); }

    bool Before(CIEView* view, const wchar_t* url) { return RaiseBeforeNavigate2(view, url); }
    void Complete(CIEView* view, const wchar_t* url) {
        CBstr address(url);
        VARIANT value = Var(VT_BSTR, address.Get());
        EXPECT_EQ(S_OK, Call(EventSink(view), DISPID_DOCUMENTCOMPLETE,
                             {Var(VT_DISPATCH), Var(VT_BYREF | VT_VARIANT, &value)}));
    }
    void Reach(CIEView* view, const wchar_t* url) {
        ReachPage(view, url);
        Pump();
    }
    bool NewWindow(CIEView* view, const wchar_t* url) {
        CBstr address(url), context(L"http://127.0.0.1:1/");
        IDispatch* disp = nullptr;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EXPECT_EQ(S_OK, Call(EventSink(view), DISPID_NEWWINDOW3,
                             {Var(VT_BYREF | VT_DISPATCH, &disp), Var(VT_BYREF | VT_BOOL, &cancel),
                              Var(VT_UI4, 0x6u), Var(VT_BSTR, context.Get()), Var(VT_BSTR, address.Get())}));
        return cancel != VARIANT_FALSE;
    }
    void ExitGame() {
        m_frame->ExitGame();
        ASSERT_FALSE(m_frame->m_bInGame);
    }

    LoopbackServer m_server;
    CMainFrame* m_frame = nullptr;
};

} // namespace

TEST_F(PageRulesTest, VerbsActOnlyWithTheirBarAndALoginWindow) {
    CHtmlWnd* login = m_frame->m_pMainHtmlWnd;
    EXPECT_TRUE(Before(View(), L"http://h/?then=app://minimize|"));
    EXPECT_FALSE(login->IsWindowVisible());
    login->ShowSkinWnd(TRUE);
    EXPECT_FALSE(Before(View(), L"app://minimize"));
    EXPECT_TRUE(login->IsWindowVisible());

    m_answer = IDCANCEL;
    EXPECT_TRUE(Before(View(), L"app://exitgame|"));
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].owner, nullptr);
    EXPECT_EQ(m_boxes[0].text, GetQuitTip());
    EXPECT_TRUE(login->IsWindowVisible());

    // Without the login window the verbs are ordinary addresses.
    CIEView* view = View();
    m_frame->m_pMainHtmlWnd = nullptr;
    EXPECT_FALSE(Before(view, L"app://minimize|"));
    EXPECT_FALSE(Before(view, L"app://exitgame|"));
    m_frame->m_pMainHtmlWnd = login;
    EXPECT_EQ(m_boxes.size(), 1u);
}

TEST_F(PageRulesTest, GameAddressesStartTheGameOutsideTheGameViewOnly) {
    EXPECT_FALSE(Before(View(), L"/game?sid=1")); // at the very start: no game address
    // Whatever a browser would not read as a web page never reaches the game view.
    for (const wchar_t* page :
         {L"app://loadgame| JavaScript:alert(1)//game", L"java\tscript:alert(1)//game.php",
          L"da\nta:text/html,x//game", L"fi\nle:///c:/x/game", L"\x02javascript:x//game",
          L"app://loadgame|java\tscript:x//game", L"app://loadgame|C:\\x\\game.htm",
          L"x\\\\host\\share\\game.htm", L"mhtml:http://h/game", L"app://loadgame?to=/game"}) {
        EXPECT_FALSE(Before(View(), page));
        EXPECT_TRUE(NewWindow(View(), page)) << CString(page).ToUtf8(); // no window either
        EXPECT_FALSE(m_frame->m_bInGame) << CString(page).ToUtf8();
    }

    EXPECT_FALSE(Before(View(), L"http://127.0.0.1:1/login/game?sid=2")); // both markers: the game wins
    ASSERT_TRUE(m_frame->m_bInGame);
    EXPECT_EQ(m_frame->GetGameUrl(), CString(L"http://127.0.0.1:1/login/game?sid=2"));
    EXPECT_EQ(UserInfoRequests(), 0u);
    EXPECT_EQ(g_strServerId, CString(L"2"));

    // In the game view a game address (its own navigation, a reload) starts nothing.
    EXPECT_FALSE(Before(View(), L"http://127.0.0.1:1/game?sid=3"));
    EXPECT_EQ(m_frame->GetGameUrl(), CString(L"http://127.0.0.1:1/login/game?sid=2"));

    ExitGame();
    EXPECT_FALSE(Before(View(), L"app://loadgame|http://127.0.0.1:1/game?sid=4|x"));
    EXPECT_EQ(m_frame->GetGameUrl(), CString(L"http://127.0.0.1:1/game?sid=4|x"));
}

TEST_F(PageRulesTest, LoginPagesFetchTheUserInfoInEveryViewAndCompletedGamePagesAgain) {
    EXPECT_FALSE(Before(View(), L"/login"));
    EXPECT_EQ(UserInfoRequests(), 0u);
    EXPECT_FALSE(ChooseShown(m_frame->m_pMainHtmlWnd));
    EXPECT_FALSE(Before(View(), L"http://127.0.0.1:1/login"));
    EXPECT_EQ(UserInfoRequests(), 1u);
    EXPECT_TRUE(ChooseShown(m_frame->m_pMainHtmlWnd));

    Complete(View(), L"http://127.0.0.1:1/portal"); // not the game view: nothing
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=7");
    EXPECT_FALSE(Before(View(), L"http://127.0.0.1:1/login"));
    EXPECT_EQ(UserInfoRequests(), 2u);
    Complete(View(), L"http://127.0.0.1:1/game?sid=7");
    EXPECT_EQ(UserInfoRequests(), 3u);
    EXPECT_TRUE(m_server.CountRequests("/userinfo?sid=7&") > 0);
    Complete(View(), L"ABOUT:blank");
    EXPECT_EQ(UserInfoRequests(), 3u);
}

TEST_F(PageRulesTest, SentinelPagesActOnlyInTheGameViewAndWithCase) {
    Reach(View(), L"about:blank2");
    EXPECT_TRUE(m_frame->m_pMainHtmlWnd->IsWindowVisible());

    m_frame->m_strLogoutUrl = L"http://127.0.0.1:1/logout";
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    Reach(View(), L"about:blank3");
    EXPECT_TRUE(m_frame->m_bInGame);
    EXPECT_FALSE(m_frame->m_pGameWnd->IsWindowVisible());
    EXPECT_TRUE(m_frame->m_pMainHtmlWnd->IsWindowVisible());
    PumpUntil([&] { return View()->GetLocationURL() == L"http://127.0.0.1:1/logout"; }, 3000);
    EXPECT_EQ(View()->GetLocationURL(), CString(L"http://127.0.0.1:1/logout"));

    Reach(View(), L"about:BLANK2");
    EXPECT_TRUE(m_frame->m_bInGame);
    Reach(View(), L"about:blank2#more");
    PumpUntil([&] { return !m_frame->m_bInGame; }, 3000);
    EXPECT_FALSE(m_frame->m_bInGame);
    EXPECT_EQ(m_frame->m_pGameWnd, nullptr);
}

TEST_F(PageRulesTest, NewWindowsFromEveryViewGoToTheBrowserOrStartTheGame) {
    BrowserProbe browser;
    // The chat and host views come with the account's reply.
    m_frame->m_strGsUrl = m_server.Url(L"/chat");
    CGameWnd* game = m_frame->m_pGameWnd;
    game->OnUserLogin(L"u");
    ASSERT_TRUE(game->m_pVipWnd && game->m_pHostWnd);
    CIEView* chat = &game->m_pVipWnd->m_view;
    CIEView* host = &game->m_pHostWnd->m_view;

    const std::pair<CIEView*, const wchar_t*> pages[] = {{View(), L"http://127.0.0.1:1/news"},
                                                         {chat, L"http://127.0.0.1:1/chat-news"},
                                                         {host, L"http://127.0.0.1:1/host-news"}};
    for (size_t i = 0; i < std::size(pages); ++i) {
        EXPECT_TRUE(NewWindow(pages[i].first, pages[i].second)) << i;
        EXPECT_EQ(CString(pages[i].second).ToUtf8(), browser.Opened(i + 1)) << i;
    }
    EXPECT_FALSE(m_frame->m_bInGame);

    // A game address starts the game, or changes the server, from every view but the game view.
    const std::pair<CIEView*, const wchar_t*> games[] = {{View(), L"http://127.0.0.1:1/game?sid=9"},
                                                         {chat, L"http://127.0.0.1:1/game?sid=8"},
                                                         {host, L"http://127.0.0.1:1/game?sid=7"}};
    for (const auto& [view, url] : games) {
        EXPECT_TRUE(NewWindow(view, url)) << CString(url).ToUtf8();
        EXPECT_TRUE(m_frame->m_bInGame);
        EXPECT_EQ(m_frame->GetGameUrl(), CString(url));
    }
    // From the game view a game window opens in a browser window of the control's own.
    EXPECT_FALSE(NewWindow(View(), L"http://127.0.0.1:1/game?sid=10"));
    EXPECT_EQ(m_frame->GetGameUrl(), CString(L"http://127.0.0.1:1/game?sid=7"));
}

TEST_F(PageRulesTest, ExternalMethodsReachTheGameWindowFromEveryView) {
    CGameWnd* game = m_frame->m_pGameWnd;
    CSkinButton* vip = nullptr;
    ASSERT_TRUE(game->FindButton(L"vip", &vip));
    EXPECT_FALSE(vip->GetStyle() & WS_VISIBLE);
    IDispatch* external = View()->GetIDispatch(FALSE);
    CBstr name(L"客服小王");
    EXPECT_EQ(S_OK, Call(external, CIEView::dispidGetGsName, {Var(VT_BSTR, name.Get())}));
    EXPECT_TRUE(vip->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(vip->GetInfo().title, CString(L"客服小王"));
    EXPECT_EQ(S_OK, Call(external, CIEView::dispidGetNewMsg, {Var(VT_BSTR, name.Get())}));
    EXPECT_FALSE(vip->m_bBlinking); // no chat window yet
    DebugOutput debug;
    EXPECT_EQ(S_OK, Call(external, CIEView::dispidGameFullScreen, {Var(VT_BSTR, name.Get())}));
    EXPECT_EQ(1, debug.Count({"GameFullScreen"}));
}

TEST_F(PageRulesTest, AChatAddressThatIsALoginAddressFetchesTheReplyOnlyOnce) {
    const std::string chat = m_server.Url(L"/login-chat").ToUtf8();
    m_server.SetBody("{\"errno\":0,\"data\":{\"user_name\":\"u\",\"gsurl\":\"" + chat + "\"}}");
    m_frame->StartGame(L"http://127.0.0.1:1/game?sid=1");
    // The first reply makes the chat window, whose page is a login address.
    m_frame->OnLoginReply(L"{\"errno\":0,\"data\":{\"user_name\":\"u\",\"gsurl\":\"" + CString(chat.c_str()) +
                          L"\"}}");
    ASSERT_NE(m_frame->m_pGameWnd->m_pVipWnd, nullptr);
    Pump(300);
    // A later reply navigates the chat page again; the reply that page asks for must not do it again.
    m_frame->OnLoginReply(L"{\"errno\":0,\"data\":{\"user_name\":\"u\",\"gsurl\":\"" + CString(chat.c_str()) +
                          L"\"}}");
    Pump(2000);
    EXPECT_LE(UserInfoRequests(), 2u);
}

TEST_F(PageRulesTest, AddressesFromRepliesAndMessagesReachTheViewsOnlyAsWebPages) {
    const CString game = m_server.Url(L"/game?sid=5");
    m_frame->StartGame(game);
    Reach(View(), game);
    // The server list's "change" and WM_START_GAME hand their address to StartGame as it came.
    for (const wchar_t* address :
         {L"java\tscript:alert(1)//game.php", L"\x02javascript:x//game", L"C:\\x\\game.htm"}) {
        m_frame->StartGame(address);
        EXPECT_EQ(game, m_frame->GetGameUrl());
        EXPECT_EQ(CString(L"5"), g_strServerId);
        EXPECT_TRUE(m_frame->m_pGameWnd->IsWindowVisible());
    }
    // The logout and chat pages of a reply.
    m_frame->m_strLogoutUrl = L"fi\nle:///c:/windows/win.ini";
    {
        BrowserCallRecorder calls(View()->GetBrowser());
        m_frame->ShowLogoutPage();
        Pump();
        ASSERT_EQ(calls.Navigations().size(), 1u);
        EXPECT_EQ(calls.Navigations()[0], CString()) << calls.Navigations()[0].ToUtf8();
    }
    m_frame->OnLoginReply(L"{\"errno\":0,\"data\":{\"user_name\":\"u\",\"gsurl\":\"vbscript:x\"}}");
    EXPECT_EQ(nullptr, m_frame->m_pGameWnd->m_pVipWnd);
}
