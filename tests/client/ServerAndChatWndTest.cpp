// The account's side of the game window as a player meets it: the frame's account replies with the
// signed request to the service stand-in, the server panel with its drop-down list, the chat window.
#include "../foundation/OperatorService.h"
#include "ClientTestSupport.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/tools/SelectWnd.h"
#include "client/tools/ServerWnd.h"
#include "client/tools/VIPWnd.h"
#include "foundation/Http.h"
#include "foundation/Md5.h"
#include "foundation/UserInfo.h"

#include <regex>

namespace {

CString SkinText(const CSkinWnd2& wnd, const wchar_t* name) {
    for (const SkinTextInfo& text : wnd.m_vecTexts)
        if (text.name.CompareNoCase(name) == 0) return text.title;
    return L"<no such text>";
}

std::string Md5Of(const std::string& bytes) {
    char hex[33] = {};
    Md5HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()), hex);
    return hex;
}

// Records navigations and runs a hook inside each BeforeNavigate2, where the page rules would act.
class HookedPageClient : public RecordingPageClient {
public:
    std::function<void()> m_onNavigate;
    void BeforeNavigate2(CIEView& view, const CString& url, BOOL* cancel) override {
        RecordingPageClient::BeforeNavigate2(view, url, cancel);
        if (m_onNavigate) m_onNavigate();
    }
};

// A running frame on the demo configuration, whose page events this test records instead.
class AccountWndTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        m_frame = StartFrame();
        ASSERT_TRUE(m_frame);
        SetPageClient(&m_navigations);
        // Not in alphabetical order: the list keeps the reply's order.
        m_frame->m_servers = {{L"Zeta 烈焰", L"http://127.0.0.1:9/game?sid=7"},
                              {L"Alpha 冰霜", L"http://127.0.0.1:9/game?sid=8"},
                              {L"Mid", L"http://127.0.0.1:9/game?sid=9"}};
        m_frame->m_strCurServerName = L"Zeta 烈焰";
    }
    void TearDown() override {
        ClientTest::TearDown();
        g_strServerId.Empty();
    }

    CGameWnd& Game() { return *m_frame->m_pGameWnd; }
    CServerWnd& OpenPanel() { // the game window's "server" button
        Game().OnSkinBtnClick(Button(L"server"));
        return *Game().m_pServerWnd;
    }
    static CSelectWnd& DropDown(CServerWnd& panel) {
        panel.OnSkinBtnClick(Button(L"server"));
        return *panel.m_pSelectWnd;
    }
    static void Choose(CSelectWnd& select, int item) {
        select.m_list.SetCurSel(item);
        select.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER_LIST, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(select.m_list.GetSafeHwnd()));
    }

    HookedPageClient m_navigations;
    CMainFrame* m_frame = nullptr;
};

TEST_F(AccountWndTest, LoginRepliesFromTheServiceFillTheAccountAndFetchTheUnlockHash) {
    const CString tag = service::Tag(L"account");
    g_strUserInfoApi = service::Url(L"/api/userpwd?t=") + tag;
    g_strServerId = L"12";
    // The game window's reaction navigates new browser views at once; the page rules would hand the
    // frame a reply from there for a login address. That nested reply is dropped.
    int nested = 0;
    m_navigations.m_onNavigate = [&] {
        if (nested++ < 3) m_frame->OnLoginReply(L"{\"errno\":0,\"data\":{\"user_name\":\"nested\"}}");
    };
    m_frame->OnLoginReply(HttpGet(service::Url(L"/api/userinfo?servers=112,12,3")));
    m_navigations.m_onNavigate = nullptr;
    EXPECT_GT(nested, 0);
    ASSERT_EQ(3u, m_frame->m_servers.size());
    EXPECT_EQ(0, m_frame->GetCurServerName().Find(L"S12 ")); // S112 matches too, S12 comes later
    EXPECT_NE(-1, m_frame->GetGsUrl().Find(L"/chat"));
    const CString name = m_frame->GetUserName(); // the stand-in's Chinese name
    EXPECT_EQ(name, SkinText(Game(), L"text_username"));
    // The stand-in answers the unlock hash only to a body signed with its key.
    const CString hash(Md5Of("pellar-demo-key" + Md5Of("123456")).c_str());
    EXPECT_EQ(hash, m_frame->GetUserPwd());
    std::vector<Json::Value> requests = service::Requests(tag);
    ASSERT_EQ(1u, requests.size());
    EXPECT_TRUE(std::regex_match(service::Body(requests[0]),
                                 std::regex("sign=[0-9a-f]{32}&time=-?[0-9]+&user_code=" + name.ToAnsi())));

    // Failure codes and hostile replies change nothing and send nothing.
    m_frame->OnLoginReply(L"{\"errno\":3,\"data\":{\"user_name\":\"x\"}}");
    for (const wchar_t* kind : {L"malformed", L"deep", L"huge"})
        m_frame->OnLoginReply(HttpGet(service::Url(L"/api/userinfo?_json=") + kind));
    EXPECT_EQ(name, m_frame->GetUserName());
    EXPECT_EQ(1u, service::Requests(tag).size());

    // Without data the name and the list go, the rest stays, and the request still goes out.
    m_frame->m_strUserPwd = L"kept";
    m_frame->OnLoginReply(L"{\"errno\":\"0\"}");
    EXPECT_TRUE(m_frame->GetUserName().IsEmpty() && m_frame->m_servers.empty());
    EXPECT_EQ(0, m_frame->GetCurServerName().Find(L"S12 "));
    EXPECT_EQ(hash, m_frame->GetUserPwd());
    requests = service::Requests(tag);
    ASSERT_EQ(2u, requests.size());
    EXPECT_TRUE(std::regex_match(service::Body(requests[1]), std::regex(".*&user_code=")));

    // A name too long for the body sends nothing; a failing service keeps the hash.
    m_frame->m_strUserPwd = L"kept";
    m_frame->OnLoginReply(CString(L"{\"data\":{\"user_name\":\"") + CString(L'名', 600) + L"\"}}");
    EXPECT_EQ(2u, service::Requests(tag).size());
    for (const wchar_t* fault : {L"_status=500", L"_cut=9"}) {
        g_strUserInfoApi = service::Url(L"/api/userpwd?") + fault;
        m_frame->OnLoginReply(L"{\"errno\":0}");
    }
    EXPECT_EQ(CString(L"kept"), m_frame->GetUserPwd());
}

TEST_F(AccountWndTest, TheListChoosesTheServerThatChangeStarts) {
    CServerWnd& panel = OpenPanel();
    ASSERT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(CString(L"Mid"), SkinText(panel, L"text_other"));
    m_frame->m_strCurServerName = L"Alpha 冰霜";
    panel.ShowSkinWnd(TRUE);
    EXPECT_EQ(CString(L"Alpha 冰霜"), SkinText(panel, L"text_server"));

    // The drop-down: right-aligned under the panel's "server" button, the servers in reply order.
    CSelectWnd& select = DropDown(panel);
    EXPECT_TRUE(select.IsWindowVisible() && panel.IsWindowVisible());
    CSkinButton* button = nullptr;
    ASSERT_TRUE(panel.FindButton(L"server", &button));
    CRect under, placed;
    button->GetWindowRect(&under);
    select.GetWindowRect(&placed);
    EXPECT_EQ(CPoint(under.right, under.bottom), CPoint(placed.right, placed.top));
    ASSERT_EQ(3, select.m_list.GetCount());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m_frame->m_servers[i].strName, select.m_list.GetText(i));

    panel.SetChosenServer(7); // outside the list: "change" has nothing to start
    panel.OnSkinBtnClick(Button(L"change"));
    EXPECT_FALSE(m_frame->m_bInGame);

    panel.ShowSkinWnd(TRUE);
    Choose(select, 1);
    EXPECT_EQ(CString(L"Alpha 冰霜"), SkinText(panel, L"text_other"));
    EXPECT_FALSE(select.IsWindowVisible());
    // A second click builds a new drop-down from the list of that moment.
    m_frame->m_servers.push_back({L"New", L"http://127.0.0.1:9/game?sid=10"});
    const HWND first = select.GetSafeHwnd();
    EXPECT_EQ(4, DropDown(panel).m_list.GetCount());
    EXPECT_FALSE(IsWindow(first));

    panel.OnSkinBtnClick(Button(L"Change"));
    EXPECT_EQ(CString(L"http://127.0.0.1:9/game?sid=8"), m_frame->GetGameUrl());
    EXPECT_FALSE(panel.IsWindowVisible());

    // "logout" sends the game view to the page that brings up the operator's logout page.
    panel.ShowSkinWnd(TRUE);
    panel.OnSkinBtnClick(Button(L"logout"));
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_TRUE(PumpUntil(
        [&] { return !m_navigations.m_before.empty() && m_navigations.m_before.back() == L"about:blank3"; },
        5000));
}

TEST_F(AccountWndTest, PanelAndListHideWhenTheyLoseTheActivation) {
    CServerWnd& panel = OpenPanel();
    ASSERT_FALSE(Game().m_pWebView); // before the first game "logout" only hides the panel
    panel.OnSkinBtnClick(Button(L"logout"));
    EXPECT_FALSE(panel.IsWindowVisible());
    OpenPanel().SendMessage(WM_ACTIVATE, WA_INACTIVE, 0); // to another program: no window named
    EXPECT_FALSE(panel.IsWindowVisible());

    OpenPanel();
    CSelectWnd& select = DropDown(panel);
    panel.SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(select.GetSafeHwnd()));
    EXPECT_TRUE(panel.IsWindowVisible()); // the activation went to its own list
    select.SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Game().GetSafeHwnd()));
    EXPECT_FALSE(select.IsWindowVisible());
    EXPECT_TRUE(panel.IsWindowVisible());
    panel.SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Game().GetSafeHwnd()));
    EXPECT_FALSE(panel.IsWindowVisible());

    // The list of a panel that is not the game window's own reaches no panel.
    CServerWnd other(L"SERVERWND");
    ASSERT_TRUE(other.CreateWnd(Game(), 0, WS_POPUP));
    Choose(DropDown(other), 0);
    EXPECT_EQ(2u, other.m_nChosen);
    EXPECT_EQ(2u, panel.m_nChosen);
}

TEST_F(AccountWndTest, ALoginMakesTheHostWindowAndWithAChatAddressTheChatWindowOnItsPage) {
    m_frame->m_strGsUrl.Empty();
    Game().OnUserLogin(L"玩家");
    ASSERT_TRUE(Game().m_pHostWnd);
    EXPECT_FALSE(Game().m_pVipWnd);
    CVIPWnd& host = *Game().m_pHostWnd;
    EXPECT_EQ(CString(L"HOSTWND"), host.m_strSkinName);
    EXPECT_FALSE(host.IsWindowVisible());
    EXPECT_EQ(nullptr, ::GetWindow(host.GetSafeHwnd(), GW_OWNER));

    const CString chat = L"http://127.0.0.1:9/chat?room=1";
    m_frame->m_strGsUrl = chat;
    Game().OnUserLogin(L"玩家");
    EXPECT_EQ(&host, Game().m_pHostWnd);
    ASSERT_TRUE(Game().m_pVipWnd);
    CVIPWnd& vip = *Game().m_pVipWnd;
    EXPECT_EQ(CString(L"VIPWND"), vip.m_strSkinName);
    EXPECT_FALSE(vip.IsWindowVisible());
    EXPECT_EQ(Game().GetSafeHwnd(), ::GetWindow(vip.GetSafeHwnd(), GW_OWNER));
    EXPECT_TRUE(PumpUntil([&] { return vip.m_view.GetLocationURL() == chat; }, 5000))
        << vip.m_view.GetLocationURL().ToUtf8();
}

TEST_F(AccountWndTest, TheChatButtonBlinksOnANewMessageOnlyWhileTheChatWindowIsHidden) {
    m_frame->m_strGsUrl = L"http://127.0.0.1:9/chat";
    Game().OnUserLogin(L"玩家");
    ASSERT_TRUE(Game().m_pVipWnd);
    CSkinButton* vip = nullptr;
    ASSERT_TRUE(Game().FindButton(L"vip", &vip));
    Game().m_pVipWnd->ShowSkinWnd(TRUE);
    Game().SendMessage(WM_NEWMSG);
    EXPECT_FALSE(vip->m_bBlinking);
    Game().m_pVipWnd->ShowSkinWnd(FALSE);
    Game().SendMessage(WM_NEWMSG);
    EXPECT_TRUE(vip->m_bBlinking);
}

TEST_F(AccountWndTest, ChatWindowKeepsOneExcludedRectangleOverItsViewAndHidesOnItsButtons) {
    CVIPWnd chat(L"VIPWND");
    ASSERT_TRUE(chat.CreateWnd(Game(), WS_EX_APPWINDOW | WS_EX_TOOLWINDOW, WS_POPUP | WS_SYSMENU));
    // The RECT "ie" (2, 30, 356 x 448) stretches; at the design size 360 x 480 the view is one pixel
    // narrower and shorter than the RECT.
    for (SIZE size : {SIZE{360, 480}, SIZE{500, 600}, SIZE{420, 700}, SIZE{500, 600}}) {
        if (size.cx != 360) chat.MoveWindow(10, 10, size.cx, size.cy);
        const CRect want(2, 30, 358 + size.cx - 360 - 1, 478 + size.cy - 480 - 1);
        CRect view;
        GetWindowRect(chat.m_view, &view);
        MapWindowPoints(nullptr, chat, reinterpret_cast<POINT*>(&view), 2);
        EXPECT_EQ(want, view) << size.cx << "x" << size.cy;
        ASSERT_EQ(1u, chat.m_vecChildRects.size());
        EXPECT_EQ(want, chat.m_vecChildRects[0]);
    }

    chat.SetChatTitle(L"客服%s小张");
    EXPECT_EQ(CString(L"客服%s小张正在与您交谈"), chat.m_wndInfo.title);
    EXPECT_EQ(CString(L"客服%s小张正在与您交谈"), chat.GetWindowText());

    chat.ShowSkinWnd(TRUE);
    chat.OnSkinBtnClick(Button(L"MIN"));
    EXPECT_FALSE(chat.IsWindowVisible());
    chat.ShowSkinWnd(TRUE);
    chat.SendMessage(WM_CLOSE); // the system close command clicks "close"
    EXPECT_TRUE(PumpUntil([&] { return !chat.IsWindowVisible(); }, 5000));
}

} // namespace
