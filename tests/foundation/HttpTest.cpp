// HttpGet and HttpPost against the local stand-in for the operator's service.
#include <winsock2.h>

#include "foundation/Http.h"

#include "OperatorService.h"

#include <gtest/gtest.h>
#include <wincrypt.h>

namespace {

std::string Md5Hex(const std::string& bytes) {
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    std::string hex;
    if (CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
        if (CryptCreateHash(provider, CALG_MD5, 0, 0, &hash)) {
            BYTE digest[16];
            DWORD size = sizeof(digest);
            CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()),
                          0);
            if (CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0))
                for (BYTE b : digest) {
                    char two[3];
                    wsprintfA(two, "%02x", b);
                    hex += two;
                }
            CryptDestroyHash(hash);
        }
        CryptReleaseContext(provider, 0);
    }
    return hex;
}

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
        Close();
        WSACleanup();
    }
    void Close() {
        if (m_socket != INVALID_SOCKET) closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    int Port() const { return m_port; }
    bool ConnectionPending() const {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_socket, &set);
        timeval wait = {0, 300000};
        return select(0, &set, nullptr, nullptr, &wait) == 1;
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
    int m_port = 0;
};

CString Address(const wchar_t* scheme, int port, const wchar_t* path) {
    CString url;
    url.Format(L"%s://127.0.0.1:%d%s", scheme, port, path);
    return url;
}

class HttpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(service::Port(), 0) << "the operator stand-in is not running (no port file)";
        ASSERT_EQ(936u, GetACP()) << "these tests expect the double-byte code page 936";
    }
};

TEST_F(HttpTest, GetSendsOneRequestAsSessionAndReturnsTheBody) {
    CString tag = service::Tag(L"get");
    CString reply = HttpGet(service::Url(L"/install?v=7&t=") + tag);
    EXPECT_EQ(CString(L"ok"), reply);

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
    const std::string when = "1700000000";
    // A user code of GBK bytes: the body goes out unchanged, not re-encoded.
    const std::string body =
        "sign=" + Md5Hex("pellar-demo-key" + when) + "&time=" + when + "&user_code=\xd5\xc5\xc8\xfd";
    CString reply = HttpPost(service::Url(L"/api/userpwd?t=") + tag, body.c_str());
    EXPECT_NE(-1, reply.Find(L"\"errno\": \"ok\"")) << reply.ToUtf8();
    EXPECT_NE(-1, reply.Find(L"user_pwd")) << reply.ToUtf8();

    auto requests = service::Requests(tag);
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("POST", requests[0]["method"].asString());
    EXPECT_EQ("/api/userpwd", requests[0]["path"].asString());
    EXPECT_EQ(body, service::Body(requests[0]));
    EXPECT_EQ(std::to_string(body.size()), service::Header(requests[0], "Content-Length"));
    EXPECT_EQ("application/x-www-form-urlencoded", service::Header(requests[0], "Content-Type"));
    EXPECT_EQ("*/*", service::Header(requests[0], "Accept"));
    EXPECT_EQ("session", service::Header(requests[0], "User-Agent"));
}

TEST_F(HttpTest, ServiceRefusesAWrongSignature) {
    CString reply = HttpPost(service::Url(L"/api/userpwd"), "sign=0123&time=5&user_code=x");
    EXPECT_NE(-1, reply.Find(L"\"errno\":\"sign\"")) << reply.ToUtf8();
    EXPECT_EQ(-1, reply.Find(L"user_pwd"));
}

TEST_F(HttpTest, EmptyPostIsSentWithContentLengthZero) {
    CString tag = service::Tag(L"empty-post");
    HttpPost(service::Url(L"/install?t=") + tag, "");
    CString tagNull = service::Tag(L"null-post");
    HttpPost(service::Url(L"/install?t=") + tagNull, nullptr);

    for (const CString& t : {tag, tagNull}) {
        auto requests = service::Requests(t);
        ASSERT_EQ(1u, requests.size());
        EXPECT_EQ("POST", requests[0]["method"].asString());
        EXPECT_EQ("0", service::Header(requests[0], "Content-Length"));
        EXPECT_EQ("", service::Body(requests[0]));
    }
}

TEST_F(HttpTest, RepliesAroundTheReadSizeArriveWhole) {
    for (int size : {1, 1022, 1023, 1024, 2500}) {
        CString url;
        url.Format(L"/data?_size=%d", size);
        CString reply = HttpGet(service::Url(url));
        EXPECT_EQ(CString::FromAnsi(service::Pattern(size).c_str()), reply) << "size " << size;
        CString posted = HttpPost(service::Url(url), "x=1");
        EXPECT_EQ(reply, posted) << "size " << size;
    }
}

TEST_F(HttpTest, DoubleByteCharacterAcrossReadBordersIsDecodedWhole) {
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
    EXPECT_EQ(CString(L"<html><body>status 500 from the stand-in</body></html>"),
              HttpGet(service::Url(L"/install?_status=500")));
    EXPECT_EQ(CString(L"<html><body>not found</body></html>"), HttpPost(service::Url(L"/nowhere"), "a=b"));
    EXPECT_EQ(CString(L"<html><body>status 500 from the stand-in</body></html>"),
              HttpPost(service::Url(L"/api/userpwd?_status=500"), "a=b"));
}

TEST_F(HttpTest, FaultMadeToStickToAPathServesTheNextRequestsOnly) {
    CString path = L"/data/" + service::Tag(L"sticky") + L".txt";
    ASSERT_EQ(CString(L"ok"), HttpGet(service::Url(L"/_control?_status=500&count=2&path=") + path));
    const CString broken(L"<html><body>status 500 from the stand-in</body></html>");
    EXPECT_EQ(broken, HttpGet(service::Url(path + L"?size=5")));
    EXPECT_EQ(broken, HttpPost(service::Url(path + L"?size=5"), "a=b"));
    EXPECT_EQ(CString(L"01234"), HttpGet(service::Url(path + L"?size=5")));
}

TEST_F(HttpTest, SecureAndMalformedAddressesOpenNoConnection) {
    Listener listener;
    EXPECT_EQ(CString(), HttpGet(Address(L"https", listener.Port(), L"/install")));
    EXPECT_EQ(CString(), HttpPost(Address(L"https", listener.Port(), L"/api/userpwd"), "a=b"));
    EXPECT_EQ(CString(), HttpGet(Address(L"ftp", listener.Port(), L"/x")));
    EXPECT_FALSE(listener.ConnectionPending());

    EXPECT_EQ(CString(), HttpGet(L""));
    EXPECT_EQ(CString(), HttpGet(nullptr));
    EXPECT_EQ(CString(), HttpPost(L"", "a=b"));
    EXPECT_EQ(CString(), HttpGet(L"no address at all"));
    EXPECT_EQ(CString(), HttpPost(L"http://", "a=b"));

    // The same listener does see a plain request (the check above can fail).
    CString plain = Address(L"http", listener.Port(), L"/x");
    HttpTimeouts quick;
    quick.receiveMs = 500;
    HttpGet(plain, quick);
    EXPECT_TRUE(listener.ConnectionPending());
}

TEST_F(HttpTest, RefusedPortAndSilentCloseGiveEmptyText) {
    int port = 0;
    {
        Listener closed;
        port = closed.Port();
    }
    EXPECT_EQ(CString(), HttpGet(Address(L"http", port, L"/install")));
    EXPECT_EQ(CString(), HttpPost(Address(L"http", port, L"/install"), "a=b"));
    EXPECT_EQ(CString(), HttpGet(service::Url(L"/install?_close=1")));
    EXPECT_EQ(CString(), HttpPost(service::Url(L"/install?_close=1"), "a=b"));
}

TEST_F(HttpTest, ReplyCutOffMidwayGivesWhatArrived) {
    const std::string whole = service::Pattern(2500);
    CString got = HttpGet(service::Url(L"/data?_size=2500&_cut=1500"));
    EXPECT_EQ(CString::FromAnsi(whole.substr(0, 1500).c_str()), got);
    CString posted = HttpPost(service::Url(L"/data?_size=2500&_cut=1500"), "a=b");
    EXPECT_EQ(got, posted);
}

TEST_F(HttpTest, SilentServerIsGivenUpAfterTheReceiveTimeout) {
    // Without a receive time-out these would return the page after 15 s; with it, nothing.
    HttpTimeouts quick;
    quick.receiveMs = 1000;
    EXPECT_EQ(CString(), HttpGet(service::Url(L"/install?_delay=15000"), quick));
    EXPECT_EQ(CString(), HttpPost(service::Url(L"/install?_delay=15000"), "a=b", quick));
    EXPECT_EQ(CString(L"ok"), HttpGet(service::Url(L"/install?_delay=300"), quick));
}

} // namespace
