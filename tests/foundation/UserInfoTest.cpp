#include "foundation/Config.h"
#include "foundation/UserInfo.h"

#include <gtest/gtest.h>

namespace {

class UserInfoTest : public ::testing::Test {
protected:
    void TearDown() override {
        g_strServerId.Empty();
        g_strServerParamName.Empty();
        g_strUserInfoUrl.Empty();
        g_strUserMd5Fmt.Empty();
    }
};

} // namespace

TEST_F(UserInfoTest, ServerIdIsTheDigitRunAfterTheFirstKey) {
    g_strServerParamName = L"sid=";
    ParseServerId(L"http://g.example/play?SID=0012&x=1&sid=99");
    EXPECT_EQ(L"0012", g_strServerId);

    ParseServerId(L"http://g.example/play?x=1&sid=7");
    EXPECT_EQ(L"7", g_strServerId);
    ParseServerId(L"http://g.example/play?sid=x5&sid=6");
    EXPECT_EQ(L"", g_strServerId) << "only the first occurrence counts";
    ParseServerId(L"http://g.example/play?sid=42");
    ParseServerId(L"http://g.example/play?other=3");
    EXPECT_EQ(L"", g_strServerId) << "no key: empty";

    ParseServerId(L"http://g.example/play?sid=42");
    ParseServerId(nullptr);
    EXPECT_EQ(L"42", g_strServerId);
    ParseServerId(L"");
    EXPECT_EQ(L"42", g_strServerId);

    g_strServerParamName.Empty();
    ParseServerId(L"http://g.example/?sid=5");
    EXPECT_EQ(L"", g_strServerId) << "an empty key matches at the scheme";
    ParseServerId(L"123abc");
    EXPECT_EQ(L"123", g_strServerId);
}

TEST_F(UserInfoTest, AddressWithoutSigningPatternIsTakenAsWritten) {
    g_strUserInfoUrl = L"http://h/info?sid=%s&sign=%s%2F";
    g_strServerId = L"12";
    EXPECT_EQ(L"http://h/info?sid=%s&sign=%s%2F", GetUserInfoUrl());
}

TEST_F(UserInfoTest, AddressCarriesTheServerIdAndTheSignature) {
    g_strUserInfoUrl = L"http://h/a%2Fb?sid=%s&sign=%s&t=%d";
    g_strUserMd5Fmt = L"key%sabc";
    g_strServerId = L"12";
    EXPECT_EQ(L"http://h/a%2Fb?sid=12&sign=cdaa4d79662f40cf68152683b8e7806c&t=%d", GetUserInfoUrl());

    // An empty id: the digest of the pattern filled with nothing.
    g_strUserInfoUrl = L"%s|%s";
    g_strUserMd5Fmt = L"pre-%s%spost";
    g_strServerId.Empty();
    EXPECT_EQ(L"|4ee6a2ffc6292e425b9f102c877d1f5c", GetUserInfoUrl());
}

TEST_F(UserInfoTest, SigningTextIsHashedWholeInTheAnsiCodePage) {
    g_strUserInfoUrl = L"%s:%s";
    g_strUserMd5Fmt = CString(L'x', 300) + L"%s";
    g_strServerId = L"12";
    EXPECT_EQ(L"12:5fd710fe4b43a93830e2aad4ced9f47a", GetUserInfoUrl()) << "302 bytes, all of them hashed";

    ASSERT_EQ(936u, GetACP()) << "the tests run with the Chinese code page";
    g_strUserMd5Fmt = L"密钥%s签名";
    g_strServerId = L"0012";
    EXPECT_EQ(L"0012:0ff9a78a09673b059a4693fe1ccc61b9", GetUserInfoUrl());
}
