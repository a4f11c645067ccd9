// A browser view hosted in a plain window, navigating pages of a loopback server: the control really
// requests them, BeforeNavigate2 reaches the page rules first and can cancel.
#include "LoopbackServer.h"

#include "BrowserTestHost.h"

#include <algorithm>

TEST(BrowserDemo, PlainWindowNavigatesALoopbackAddress) {
    LoopbackServer server;
    ASSERT_TRUE(server.IsRunning());
    RecordingPageClient rules;
    rules.m_cancelText = L"/blocked";
    HolderWnd window;
    ASSERT_TRUE(window.Create(640, 480));
    window.ShowWindow(SW_SHOW);
    window.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    CIEView view;
    RECT client;
    window.GetClientRect(&client);
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, &window, IDC_WEBVIEW));

    const CString first = server.Url(L"/first?x=1");
    view.Navigate(first);
    ASSERT_TRUE(PumpUntil([&] { return server.WasRequested("/first?x=1"); }, 10000));
    ASSERT_FALSE(rules.m_before.empty());
    EXPECT_STREQ(first, rules.m_before[0]);
    EXPECT_EQ(&view, rules.m_views[0]);
    PumpUntil([&] { return view.GetLocationURL() == first; }, 3000);
    EXPECT_STREQ(first, view.GetLocationURL());

    // The rules cancel this one: it is announced but never requested.
    const CString blocked = server.Url(L"/blocked");
    view.Navigate(blocked);
    PumpUntil([&] { return rules.m_before.size() >= 2; }, 5000);
    view.Navigate(server.Url(L"/after"));
    ASSERT_TRUE(PumpUntil([&] { return server.WasRequested("/after"); }, 10000));
    EXPECT_FALSE(server.WasRequested("/blocked"));
    EXPECT_NE(rules.m_before.end(), std::find(rules.m_before.begin(), rules.m_before.end(), blocked));
}
