// The account's side of the game window as a player meets it: the frame's handling of the account
// replies, the server panel with its drop-down list, and the chat window. On the demo skin, around a
// game window of a main frame object made here (its own window is never created, so there is no tray
// icon and no thread), against the service stand-in.
#include "../foundation/OperatorService.h"
#include "BrowserTestHost.h"

#include "client/GameWnd.h"
#include "client/HtmlWnd.h"
#include "client/MainFrame.h"
#include "client/tools/SelectWnd.h"
#include "client/tools/ServerWnd.h"
#include "client/tools/VIPWnd.h"
#include "foundation/Config.h"
#include "foundation/Md5.h"
#include "foundation/Settings.h"
#include "foundation/UserInfo.h"
#include "skin/SkinDocument.h"
#include "skin/SkinGdiplus.h"

namespace {

constexpr DWORD kTopStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;

SkinButtonInfo Button(const wchar_t* name) {
    SkinButtonInfo info;
    info.name = name;
    return info;
}

CString SkinText(const CSkinWnd2& wnd, const wchar_t* name) {
    for (const SkinTextInfo& text : wnd.m_vecTexts)
        if (text.name.CompareNoCase(name) == 0) return text.title;
    return L"<no such text>";
}

CString Wide(const std::string& utf8) {
    return CString::FromUtf8(utf8.c_str(), static_cast<int>(utf8.size()));
}

std::string Md5Of(const std::string& bytes) {
    char hex[33] = {};
    Md5HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()), hex);
    return hex;
}

// Records navigations and runs a hook inside each BeforeNavigate2, as the page rules do.
class HookedPageClient : public RecordingPageClient {
public:
    std::function<void()> m_onNavigate;
    void BeforeNavigate2(CIEView& view, const CString& url, BOOL* cancel) override {
        RecordingPageClient::BeforeNavigate2(view, url, cancel);
        if (m_onNavigate) m_onNavigate();
    }
};

// The configuration the account replies read, pointed at the stand-in for one test.
class ServiceConfig {
public:
    explicit ServiceConfig(const CString& tag)
        : m_api(g_strUserInfoApi), m_key(g_strPwKey), m_serverId(g_strServerId) {
        g_strUserInfoApi = service::Url(L"/api/userpwd?t=") + tag;
        g_strPwKey = L"pellar-demo-key";
    }
    ~ServiceConfig() {
        g_strUserInfoApi = m_api;
        g_strPwKey = m_key;
        g_strServerId = m_serverId;
    }

private:
    CString m_api, m_key, m_serverId;
};

// A child's window rectangle in its parent's client coordinates.
CRect ChildRect(HWND child) {
    CRect rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class SkinnedWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_gdiplus = new CGdiplusSession;
        s_skin = new CSkinDocument;
        if (s_skin->LoadFrom(GetModuleDir(), L"default")) g_pSkinDocument = s_skin;
    }
    static void TearDownTestSuite() {
        g_pSkinDocument = nullptr;
        delete s_skin;
        delete s_gdiplus;
    }
    void SetUp() override { ASSERT_TRUE(g_pSkinDocument) << "demo skin not beside the test program"; }

    static CGdiplusSession* s_gdiplus;
    static CSkinDocument* s_skin;
};
CGdiplusSession* SkinnedWndTest::s_gdiplus = nullptr;
CSkinDocument* SkinnedWndTest::s_skin = nullptr;

class GameFrameTest : public SkinnedWndTest {
protected:
    void SetUp() override {
        SkinnedWndTest::SetUp();
        g_pMainFrame = &m_frame;
        // Not in alphabetical order: the list keeps the reply's order.
        m_frame.m_servers = {{L"Zeta 烈焰", L"http://127.0.0.1:9/game?sid=7"},
                             {L"Alpha 冰霜", L"http://127.0.0.1:9/game?sid=8"},
                             {L"Mid", L"http://127.0.0.1:9/game?sid=9"}};
        m_frame.m_strCurServerName = L"Zeta 烈焰";
        m_frame.m_pGameWnd = new CGameWnd(L"GAMEWND");
        ASSERT_TRUE(Game().CreateWnd(GetDesktopWindow(), WS_EX_APPWINDOW, kTopStyle));
    }
    void TearDown() override { g_pMainFrame = nullptr; }

    CGameWnd& Game() { return *m_frame.m_pGameWnd; }
    // The game window's "server" button, as the player clicks it.
    CServerWnd& OpenPanel() {
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
    CMainFrame m_frame; // deletes the game and login windows
};

TEST_F(GameFrameTest, LoginRepliesFillTheAccountAndSendTheSignedRequest) {
    const CString tag = service::Tag(L"account");
    ServiceConfig config(tag);
    g_strServerId = L"12";
    const CString chat = service::Url(L"/chat");
    m_frame.OnLoginReply(
        Wide(R"({"errno":0,"data":{"user_name":"演示","logout_url":"http:\/\/127.0.0.1:9\/out",)"
             R"("gsurl":")" +
             chat.ToUtf8() +
             R"(","allserver":[{"server_name":"S12 a","server_url":"u1"},{"server_name":"S3 b"}]}})"));
    EXPECT_EQ(CString(L"演示"), m_frame.GetUserName());
    EXPECT_EQ(CString(L"http://127.0.0.1:9/out"), m_frame.m_strLogoutUrl);
    EXPECT_EQ(chat, m_frame.GetGsUrl());
    ASSERT_EQ(2u, m_frame.m_servers.size());
    EXPECT_EQ(CString(L"u1"), m_frame.m_servers[0].strUrl);
    EXPECT_EQ(CString(L"S12 a"), m_frame.GetCurServerName());
    const CString hash(Md5Of("pellar-demo-key" + Md5Of("123456")).c_str());
    EXPECT_EQ(hash, m_frame.GetUserPwd());
    EXPECT_EQ(CString(L"演示"), SkinText(Game(), L"text_username")); // the game window was told
    ASSERT_TRUE(Game().m_pVipWnd);

    // A failure code changes nothing and sends nothing.
    m_frame.OnLoginReply(L"{\"errno\":3,\"data\":{\"user_name\":\"x\"}}");
    EXPECT_EQ(CString(L"演示"), m_frame.GetUserName());
    EXPECT_EQ(1u, service::Requests(tag).size());

    // Without data the name and the list go, the rest stays, and the request still goes out.
    m_frame.m_strUserPwd = L"kept";
    m_frame.OnLoginReply(L"{\"errno\":\"0\"}");
    EXPECT_TRUE(m_frame.GetUserName().IsEmpty());
    EXPECT_TRUE(m_frame.m_servers.empty());
    EXPECT_EQ(CString(L"S12 a"), m_frame.GetCurServerName());
    EXPECT_EQ(chat, m_frame.GetGsUrl());
    EXPECT_EQ(hash, m_frame.GetUserPwd());
    const std::vector<Json::Value> requests = service::Requests(tag);
    ASSERT_EQ(2u, requests.size());
    const std::string body = service::Body(requests[1]);
    EXPECT_EQ("&user_code=", body.substr(body.size() - 11));

    // A name too long for the request's body: nothing is sent and the hash stays.
    m_frame.m_strUserPwd = L"kept";
    m_frame.OnLoginReply(CString(L"{\"errno\":0,\"data\":{\"user_name\":\"") + CString(L'名', 600) + L"\"}}");
    EXPECT_EQ(600, m_frame.GetUserName().GetLength());
    EXPECT_EQ(CString(L"kept"), m_frame.GetUserPwd());
    EXPECT_EQ(2u, service::Requests(tag).size());
}

// The game window's reaction to a reply navigates browser views, whose BeforeNavigate2 may arrive at
// once and, for a login address, hand the frame a reply again: that one is dropped.
TEST_F(GameFrameTest, ALoginReplyArrivingWhileOneIsHandledIsDropped) {
    const CString tag = service::Tag(L"nested");
    ServiceConfig config(tag);
    bool outer = false;
    int nested = 0;
    m_navigations.m_onNavigate = [&] {
        if (!outer || nested >= 3) return; // without the guard: no endless recursion here
        ++nested;
        m_frame.OnLoginReply(L"{\"errno\":0,\"data\":{\"user_name\":\"nested\"}}");
    };
    outer = true;
    m_frame.OnLoginReply(L"{\"errno\":0,\"data\":{\"user_name\":\"outer\",\"gsurl\":\"about:blank\"}}");
    outer = false;
    EXPECT_GT(nested, 0);
    EXPECT_EQ(CString(L"outer"), m_frame.GetUserName());
    EXPECT_EQ(1u, service::Requests(tag).size());
}

TEST_F(GameFrameTest, TheListChoosesTheServerThatChangeStarts) {
    m_frame.m_pMainHtmlWnd = new CHtmlWnd(L"MAINWND"); // holds the view that a game start moves
    ASSERT_TRUE(m_frame.m_pMainHtmlWnd->CreateWnd(GetDesktopWindow(), WS_EX_APPWINDOW, kTopStyle));

    CServerWnd& panel = OpenPanel();
    ASSERT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(GetWindow(panel, GW_OWNER), Game().GetSafeHwnd());
    EXPECT_EQ(CString(L"Mid"), SkinText(panel, L"text_other"));
    EXPECT_EQ(CString(L"Zeta 烈焰"), SkinText(panel, L"text_server"));
    m_frame.m_strCurServerName = L"Alpha 冰霜";
    panel.ShowSkinWnd(TRUE);
    EXPECT_EQ(CString(L"Alpha 冰霜"), SkinText(panel, L"text_server"));

    // The drop-down: right-aligned under the panel's "server" button, every server in reply order.
    CSelectWnd& select = DropDown(panel);
    EXPECT_TRUE(select.IsWindowVisible());
    EXPECT_TRUE(panel.IsWindowVisible());
    CSkinButton* button = nullptr;
    ASSERT_TRUE(panel.FindButton(L"server", &button));
    CRect under, placed;
    button->GetWindowRect(&under);
    select.GetWindowRect(&placed);
    EXPECT_EQ(under.right, placed.right);
    EXPECT_EQ(under.bottom, placed.top);
    ASSERT_EQ(3, select.m_list.GetCount());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_frame.m_servers[i].strName, select.m_list.GetText(i));
        EXPECT_EQ(static_cast<DWORD_PTR>(i), select.m_list.GetItemData(i));
    }

    // An index outside the list chooses nothing that "change" could start.
    panel.SetChosenServer(7);
    EXPECT_EQ(CString(L"Mid"), SkinText(panel, L"text_other"));
    panel.OnSkinBtnClick(Button(L"change"));
    EXPECT_TRUE(m_frame.GetGameUrl().IsEmpty());

    panel.ShowSkinWnd(TRUE);
    Choose(select, 1);
    EXPECT_EQ(CString(L"Alpha 冰霜"), SkinText(panel, L"text_other"));
    EXPECT_FALSE(select.IsWindowVisible());

    // A second click builds a new drop-down from the list of that moment.
    m_frame.m_servers.push_back({L"New", L"http://127.0.0.1:9/game?sid=10"});
    const HWND first = select.GetSafeHwnd();
    CSelectWnd& second = DropDown(panel);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(4, second.m_list.GetCount());

    panel.OnSkinBtnClick(Button(L"Change"));
    EXPECT_EQ(CString(L"http://127.0.0.1:9/game?sid=8"), m_frame.GetGameUrl());
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(Game().m_pWebView, m_frame.GetBrowserView());

    // "logout" sends the game view to the page that brings up the operator's logout page.
    panel.ShowSkinWnd(TRUE);
    panel.OnSkinBtnClick(Button(L"logout"));
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_TRUE(PumpUntil(
        [&] { return !m_navigations.m_before.empty() && m_navigations.m_before.back() == L"about:blank3"; },
        5000));
    EXPECT_EQ(1u, panel.m_nChosen);
}

TEST_F(GameFrameTest, PanelAndListHideWhenTheyLoseTheActivation) {
    CServerWnd& panel = OpenPanel();
    panel.SendMessage(WM_ACTIVATE, WA_INACTIVE, 0); // to another program: no window named
    EXPECT_FALSE(panel.IsWindowVisible());
    OpenPanel();
    CSelectWnd& select = DropDown(panel);
    panel.SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(select.GetSafeHwnd()));
    EXPECT_TRUE(panel.IsWindowVisible()); // the activation went to its own list
    select.SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Game().GetSafeHwnd()));
    EXPECT_FALSE(select.IsWindowVisible());
    EXPECT_TRUE(panel.IsWindowVisible());
    select.ShowSkinWnd(TRUE);
    panel.SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Game().GetSafeHwnd()));
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_FALSE(select.IsWindowVisible());
}

TEST_F(GameFrameTest, LogoutWithoutAGameViewAndListsOfOtherPanels) {
    CServerWnd& panel = OpenPanel();
    ASSERT_FALSE(Game().m_pWebView); // before the first game
    panel.OnSkinBtnClick(Button(L"logout"));
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(2u, panel.m_nChosen);

    // A panel that is not the game window's own: its list's choice reaches no panel.
    CServerWnd other(L"SERVERWND");
    ASSERT_TRUE(other.CreateWnd(Game(), 0, WS_POPUP));
    Choose(DropDown(other), 0);
    EXPECT_EQ(2u, other.m_nChosen);
    EXPECT_EQ(2u, panel.m_nChosen);
    EXPECT_FALSE(other.m_pSelectWnd->IsWindowVisible());
}

TEST_F(SkinnedWndTest, ChatWindowKeepsOneExcludedRectangleOverItsViewAndHidesOnItsButtons) {
    CVIPWnd chat(L"VIPWND");
    ASSERT_TRUE(
        chat.CreateWnd(GetDesktopWindow(), WS_EX_APPWINDOW | WS_EX_TOOLWINDOW, WS_POPUP | WS_SYSMENU));
    ASSERT_TRUE(chat.m_view.IsWindow());
    // The RECT "ie" (2, 30, 356 x 448) stretches; at the design size 360 x 480 the view is one pixel
    // narrower and shorter than the RECT, from the start.
    EXPECT_EQ(CRect(2, 30, 357, 477), ChildRect(chat.m_view));
    for (SIZE size : {SIZE{500, 600}, SIZE{420, 700}, SIZE{500, 600}, SIZE{360, 480}, SIZE{800, 520}}) {
        chat.MoveWindow(10, 10, size.cx, size.cy);
        const CRect want(2, 30, 358 + size.cx - 360 - 1, 478 + size.cy - 480 - 1);
        EXPECT_EQ(want, ChildRect(chat.m_view)) << size.cx << "x" << size.cy;
        ASSERT_EQ(1u, chat.m_vecChildRects.size());
        EXPECT_EQ(want, chat.m_vecChildRects[0]);
    }

    chat.SetChatTitle(L"客服%s小张");
    EXPECT_EQ(CString(L"客服%s小张正在与您交谈"), chat.m_wndInfo.title);
    EXPECT_EQ(CString(L"客服%s小张正在与您交谈"), chat.GetWindowText());
    chat.SetChatTitle(nullptr);
    EXPECT_EQ(CString(L"正在与您交谈"), chat.GetWindowText());

    chat.ShowSkinWnd(TRUE);
    chat.OnSkinBtnClick(Button(L"other"));
    EXPECT_TRUE(chat.IsWindowVisible());
    chat.OnSkinBtnClick(Button(L"MIN"));
    EXPECT_FALSE(chat.IsWindowVisible());
    chat.ShowSkinWnd(TRUE);
    chat.SendMessage(WM_CLOSE); // the system close command clicks "close"
    EXPECT_TRUE(PumpUntil([&] { return !chat.IsWindowVisible(); }, 5000));
    EXPECT_TRUE(chat.IsWindow());
}

} // namespace
