// AfxParseURL: how addresses are split before any connection is made.
#include "framework/Internet.h"

#include <gtest/gtest.h>

namespace {

struct Split {
    BOOL ok;
    DWORD service;
    CString server;
    CString object;
    INTERNET_PORT port;
};

Split Parse(const wchar_t* url) {
    Split s = {};
    s.ok = AfxParseURL(url, s.service, s.server, s.object, s.port);
    return s;
}

TEST(ParseUrl, PlainHttpWithPortPathAndQuery) {
    Split s = Parse(L"http://127.0.0.1:8090/api/userinfo?sid=3&sign=ab");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(static_cast<DWORD>(AFX_INET_SERVICE_HTTP), s.service);
    EXPECT_EQ(CString(L"127.0.0.1"), s.server);
    EXPECT_EQ(CString(L"/api/userinfo?sid=3&sign=ab"), s.object);
    EXPECT_EQ(8090, s.port);
}

TEST(ParseUrl, DefaultPortsAndEmptyPath) {
    Split s = Parse(L"http://example.test");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(CString(L"/"), s.object);
    EXPECT_EQ(80, s.port);
    s = Parse(L"https://example.test/pay");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(static_cast<DWORD>(AFX_INET_SERVICE_HTTPS), s.service);
    EXPECT_EQ(443, s.port);
}

TEST(ParseUrl, OtherSchemesAreNotHttp) {
    Split s = Parse(L"ftp://example.test/file");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(static_cast<DWORD>(AFX_INET_SERVICE_FTP), s.service);
}

TEST(ParseUrl, UnsplittableAddressesFail) {
    EXPECT_FALSE(Parse(nullptr).ok);
    EXPECT_FALSE(Parse(L"").ok);
    EXPECT_FALSE(Parse(L"no address").ok);
    EXPECT_FALSE(Parse(L"http://").ok);
    Split s = Parse(L"no address");
    EXPECT_NE(static_cast<DWORD>(AFX_INET_SERVICE_HTTP), s.service);
}

TEST(InternetSession, RequestsOfAClosedSessionFailQuietly) {
    CInternetSession session(L"session");
    ASSERT_TRUE(session.IsOpen());
    session.Close();
    EXPECT_FALSE(session.IsOpen());
    EXPECT_EQ(nullptr, session.OpenURL(L"http://127.0.0.1:1/"));
    EXPECT_EQ(nullptr, session.GetHttpConnection(L"127.0.0.1", 1));
    EXPECT_FALSE(session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 1000));
}

} // namespace
