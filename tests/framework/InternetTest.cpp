// AfxParseURL: how addresses are split before any connection is made.
#include "framework/Internet.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseUrl, SplitsServiceServerObjectAndPort) {
    const struct {
        const wchar_t* url;
        DWORD service;
        const wchar_t* server;
        const wchar_t* object;
        INTERNET_PORT port;
    } cases[] = {{L"http://127.0.0.1:8090/api/userinfo?sid=3&sign=ab", AFX_INET_SERVICE_HTTP, L"127.0.0.1",
                  L"/api/userinfo?sid=3&sign=ab", 8090},
                 {L"http://example.test", AFX_INET_SERVICE_HTTP, L"example.test", L"/", 80},
                 {L"HTTPS://example.test/pay", AFX_INET_SERVICE_HTTPS, L"example.test", L"/pay", 443}};
    for (const auto& c : cases) {
        DWORD service = 0;
        CString server, object;
        INTERNET_PORT port = 0;
        ASSERT_TRUE(AfxParseURL(c.url, service, server, object, port)) << CString(c.url).ToUtf8();
        EXPECT_EQ(c.service, service);
        EXPECT_EQ(CString(c.server), server);
        EXPECT_EQ(CString(c.object), object);
        EXPECT_EQ(c.port, port);
    }
    // Only web addresses reach the system's splitter: under Wine "file:?" faults inside it, and a long
    // "file:" address overruns one of its buffers.
    const CString longFile = L"file:" + CString(L'a', 400);
    for (const wchar_t* bad : {static_cast<const wchar_t*>(nullptr), L"", L"no address", L"http://",
                               L"http:x", L"file:?", longFile.GetString(), L"ftp://example.test/file",
                               L" http://example.test/", L"mailto:a@example.test"}) {
        DWORD service = AFX_INET_SERVICE_HTTP;
        CString server = L"stale", object = L"stale";
        INTERNET_PORT port = 1;
        EXPECT_FALSE(AfxParseURL(bad, service, server, object, port)) << (bad ? CString(bad).ToUtf8() : "");
        EXPECT_EQ(static_cast<DWORD>(AFX_INET_SERVICE_UNK), service);
        EXPECT_TRUE(server.IsEmpty() && object.IsEmpty() && port == 0);
    }
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
