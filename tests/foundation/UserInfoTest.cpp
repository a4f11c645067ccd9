#include "foundation/Config.h"
#include "foundation/UserInfo.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class UserInfoTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (CString* value : {&g_strServerId, &g_strServerParamName, &g_strUserInfoUrl, &g_strUserMd5Fmt})
            value->Empty();
    }
};

} // namespace

TEST_F(UserInfoTest, ServerIdIsTheDigitRunAfterTheFirstKey) {
    g_strServerParamName = L"sid=";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"http://g.example/play?SID=0012&x=1&sid=99", L"0012"},
        {L"http://g.example/play?x=1&sid=7", L"7"},
        {L"http://g.example/play?sid=x5&sid=6", L""}, // only the first occurrence counts
        {L"http://g.example/play?other=3", L""}};
    for (const auto& c : cases) {
        g_strServerId = L"stale";
        ParseServerId(c.first);
        EXPECT_EQ(c.second, g_strServerId) << CString(c.first).ToUtf8();
    }
    // Nothing to parse keeps the id.
    ParseServerId(L"http://g.example/play?sid=42");
    ParseServerId(nullptr);
    ParseServerId(L"");
    EXPECT_EQ(L"42", g_strServerId);

    g_strServerParamName.Empty();
    ParseServerId(L"http://g.example/?sid=5");
    EXPECT_EQ(L"", g_strServerId) << "an empty key matches at the scheme";
    ParseServerId(L"123abc");
    EXPECT_EQ(L"123", g_strServerId);
}

TEST_F(UserInfoTest, AddressCarriesTheServerIdAndTheSignature) {
    g_strUserInfoUrl = L"http://h/info?sid=%s&sign=%s%2F";
    g_strServerId = L"12";
    EXPECT_EQ(L"http://h/info?sid=%s&sign=%s%2F", GetUserInfoUrl()) << "no signing pattern: as written";

    g_strUserInfoUrl = L"http://h/a%2Fb?sid=%s&sign=%s&t=%d";
    g_strUserMd5Fmt = L"key%sabc";
    EXPECT_EQ(L"http://h/a%2Fb?sid=12&sign=cdaa4d79662f40cf68152683b8e7806c&t=%d", GetUserInfoUrl());

    g_strUserInfoUrl = L"%s|%s";
    g_strUserMd5Fmt = L"pre-%s%spost";
    g_strServerId.Empty();
    EXPECT_EQ(L"|4ee6a2ffc6292e425b9f102c877d1f5c", GetUserInfoUrl()) << "the pattern filled with nothing";
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
