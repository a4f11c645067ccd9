// HttpGet and HttpPost against the local stand-in for the operator's service.
#include <winsock2.h>

#include "foundation/Http.h"
#include "foundation/Md5.h"

#include "OperatorService.h"

#include <gtest/gtest.h>

namespace {

// A loopback socket that listens but never accepts: tells whether anyone tried to connect.
class Listener {
public:
    Listener() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_socket, 4);
        int length = sizeof(address);
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~Listener() {
        closesocket(m_socket);
        WSACleanup();
    }
    CString Url(const wchar_t* scheme) const {
        CString url;
        url.Format(L"%s://127.0.0.1:%d/install", scheme, m_port);
        return url;
    }
    bool ConnectionPending() const {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_socket, &set);
        timeval wait = {0, 300000};
        return select(0, &set, nullptr, nullptr, &wait) == 1;
    }

private:
    SOCKET m_socket;
    int m_port;
};

const CString kStatus500(L"<html><body>status 500 from the stand-in</body></html>");

class HttpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(service::Port(), 0) << "the operator stand-in is not running (no port file)";
        ASSERT_EQ(936u, GetACP()) << "these tests expect the double-byte code page 936";
    }
};

TEST_F(HttpTest, GetSendsOneRequestAsSessionAndReturnsTheBody) {
    CString tag = service::Tag(L"get");
    EXPECT_EQ(CString(L"ok"), HttpGet(service::Url(L"/install?v=7&t=") + tag));
    auto requests = service::Requests(tag);
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("GET", requests[0]["method"].asString());
    EXPECT_EQ("/install", requests[0]["path"].asString());
    EXPECT_EQ("v=7&t=" + tag.ToUtf8(), requests[0]["query"].asString());
    EXPECT_EQ("session", service::Header(requests[0], "User-Agent"));
    EXPECT_EQ("no-cache", service::Header(requests[0], "Pragma"));
}

TEST_F(HttpTest, PostSendsFormHeadersAndBodyBytesAsGiven) {
    CString tag = service::Tag(L"post");
    const std::string signing = "pellar-demo-key1700000000";
    char sign[33] = {};
    Md5HexDigest(reinterpret_cast<const unsigned char*>(signing.data()), static_cast<int>(signing.size()),
                 sign);
    // A user code of GBK bytes: the body goes out unchanged, not re-encoded.
    const std::string body = std::string("sign=") + sign + "&time=1700000000&user_code=\xd5\xc5\xc8\xfd";
    CString reply = HttpPost(service::Url(L"/api/userpwd?t=") + tag, body.c_str());
    EXPECT_NE(-1, reply.Find(L"\"errno\": \"ok\"")) << reply.ToUtf8();

    auto requests = service::Requests(tag);
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("POST", requests[0]["method"].asString());
    EXPECT_EQ(body, service::Body(requests[0]));
    EXPECT_EQ(std::to_string(body.size()), service::Header(requests[0], "Content-Length"));
    EXPECT_EQ("application/x-www-form-urlencoded", service::Header(requests[0], "Content-Type"));
    EXPECT_EQ("*/*", service::Header(requests[0], "Accept"));
    EXPECT_EQ("session", service::Header(requests[0], "User-Agent"));

    for (const char* empty : {"", static_cast<const char*>(nullptr)}) {
        tag = service::Tag(L"empty-post");
        HttpPost(service::Url(L"/install?t=") + tag, empty);
        requests = service::Requests(tag);
        ASSERT_EQ(1u, requests.size());
        EXPECT_EQ("POST", requests[0]["method"].asString());
        EXPECT_EQ("0", service::Header(requests[0], "Content-Length"));
        EXPECT_EQ("", service::Body(requests[0]));
    }
}

TEST_F(HttpTest, RepliesAreDecodedWholeAcrossTheReadBorders) {
    for (int size : {1, 1022, 1023, 1024, 2500}) {
        CString url;
        url.Format(L"/data?_size=%d", size);
        EXPECT_EQ(CString::FromAnsi(service::Pattern(size).c_str()), HttpGet(service::Url(url))) << size;
        EXPECT_EQ(CString::FromAnsi(service::Pattern(size).c_str()), HttpPost(service::Url(url), "x=1"))
            << size;
    }
    // U+4E2D is two bytes in code page 936; put it across the first and the second 1023-byte border.
    for (int at : {1022, 2045}) {
        CString url;
        url.Format(L"/data?_size=2500&_gbk_at=%d", at);
        std::string bytes = service::Pattern(2500);
        bytes.replace(static_cast<size_t>(at), 2, "\xd6\xd0");
        CString expected = CString::FromAnsi(bytes.c_str(), -1, 936);
        ASSERT_NE(-1, expected.Find(L"\x4e2d"));
        EXPECT_EQ(expected, HttpGet(service::Url(url))) << "at " << at;
        EXPECT_EQ(expected, HttpPost(service::Url(url), "")) << "at " << at;
    }
}

TEST_F(HttpTest, ErrorStatusBodiesAreReturnedAsText) {
    EXPECT_EQ(CString(L"<html><body>status 404 from the stand-in</body></html>"),
              HttpGet(service::Url(L"/nowhere?_status=404")));
    EXPECT_EQ(kStatus500, HttpGet(service::Url(L"/install?_status=500")));
    EXPECT_EQ(CString(L"<html><body>not found</body></html>"), HttpPost(service::Url(L"/nowhere"), "a=b"));
    EXPECT_EQ(kStatus500, HttpPost(service::Url(L"/api/userpwd?_status=500"), "a=b"));
}

TEST_F(HttpTest, SecureAndMalformedAddressesOpenNoConnection) {
    Listener listener;
    EXPECT_EQ(CString(), HttpGet(listener.Url(L"https")));
    EXPECT_EQ(CString(), HttpPost(listener.Url(L"https"), "a=b"));
    EXPECT_EQ(CString(), HttpGet(listener.Url(L"ftp")));
    EXPECT_FALSE(listener.ConnectionPending());
    // "file:?" faults inside the system's address splitter under Wine: refused before it.
    for (const wchar_t* bad :
         {L"", static_cast<const wchar_t*>(nullptr), L"no address at all", L"http://", L"file:?"}) {
        EXPECT_EQ(CString(), HttpGet(bad));
        EXPECT_EQ(CString(), HttpPost(bad, "a=b"));
    }
    // The same listener does see a plain request (the check above can fail).
    HttpTimeouts quick;
    quick.receiveMs = 500;
    HttpGet(listener.Url(L"http"), quick);
    EXPECT_TRUE(listener.ConnectionPending());
}

TEST_F(HttpTest, RefusedPortSilentCloseAndCutOffReplyGiveWhatArrived) {
    const CString refused = Listener().Url(L"http"); // the port is closed again at once
    EXPECT_EQ(CString(), HttpGet(refused));
    EXPECT_EQ(CString(), HttpPost(refused, "a=b"));
    EXPECT_EQ(CString(), HttpGet(service::Url(L"/install?_close=1")));
    EXPECT_EQ(CString(), HttpPost(service::Url(L"/install?_close=1"), "a=b"));

    const CString part = CString::FromAnsi(service::Pattern(1500).c_str());
    EXPECT_EQ(part, HttpGet(service::Url(L"/data?_size=2500&_cut=1500")));
    EXPECT_EQ(part, HttpPost(service::Url(L"/data?_size=2500&_cut=1500"), "a=b"));
}

TEST_F(HttpTest, SilentServerIsGivenUpAfterTheReceiveTimeout) {
    // Without a receive time-out these would return the page after 15 s; with it, nothing.
    HttpTimeouts quick;
    quick.receiveMs = 1000;
    EXPECT_EQ(CString(), HttpGet(service::Url(L"/install?_delay=15000"), quick));
    EXPECT_EQ(CString(), HttpPost(service::Url(L"/install?_delay=15000"), "a=b", quick));
    EXPECT_EQ(CString(L"ok"), HttpGet(service::Url(L"/install?_delay=300"), quick));
}

TEST_F(HttpTest, DrippingOrEndlessRepliesAreCut) {
    // One byte every 200 ms never trips the per-read time-out; the whole read stops after twice it.
    HttpTimeouts quick;
    quick.receiveMs = 500;
    const CString full = CString::FromAnsi(service::Pattern(200).c_str());
    const CString dripped = HttpGet(service::Url(L"/data?_size=200&_drip=200"), quick);
    EXPECT_GT(dripped.GetLength(), 0);
    EXPECT_LT(dripped.GetLength(), 20) << "the read went on long after its deadline";
    EXPECT_EQ(full.Left(dripped.GetLength()), dripped);

    CString big;
    big.Format(L"/data?size=%u", static_cast<unsigned>(kMaxReplyBytes + 4096));
    EXPECT_EQ(static_cast<int>(kMaxReplyBytes), HttpGet(service::Url(big)).GetLength());
}

} // namespace
