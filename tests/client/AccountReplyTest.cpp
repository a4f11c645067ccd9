// The account service's replies as the client reads them, hostile ones included, and the signed
// request's body.
#include "client/AccountReply.h"

#include "foundation/Md5.h"
#include "tests/client/AllocationCount.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

std::string Md5Of(const std::string& bytes) {
    char hex[33] = {};
    Md5HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()), hex);
    return hex;
}

// "name|logout|chat|current|server=url;..." of an accepted reply ("-": left unset), or "rejected".
std::string Read(const std::string& reply, const wchar_t* serverId = L"12") {
    AccountReply a;
    if (!ParseLoginReply(CString::FromUtf8(reply.c_str(), static_cast<int>(reply.size())), serverId, a))
        return "rejected";
    auto opt = [](const std::optional<CString>& v) { return v ? v->ToUtf8() : std::string("-"); };
    std::string out = a.strUserName.ToUtf8() + "|" + opt(a.logoutUrl) + "|" + opt(a.gsUrl) + "|" +
                      opt(a.curServerName) + "|";
    for (const ServerEntry& s : a.servers)
        out += s.strName.ToUtf8() + "=" + s.strUrl.ToUtf8() + ";";
    return out;
}

TEST(AccountReply, UserInfoReplies) {
    const char* const kNothing = "|-|-|-|"; // accepted, with no account data
    const std::pair<std::string, const char*> cases[] = {
        // errno: a number by its value, a text by its leading number, anything else as 0
        {R"({"errno":"0","data":{"user_name":"a"}})", "a|-|-|-|"},
        {R"({"errno":" +000x"})", kNothing},
        {R"({"errno":"abc"})", kNothing},
        {R"({})", kNothing},
        {R"({"errno":null})", kNothing},
        {R"({"errno":3.5})", kNothing},
        {R"({"errno":1e30})", kNothing},
        {R"({"errno":true})", kNothing},
        {R"({"errno":{"a":3}})", kNothing},
        {"{\"errno\":\" \\t-0005x\"}", "rejected"},
        {R"({"errno":"99999999999"})", "rejected"},
        {R"({"errno":3})", "rejected"},
        {R"({"errno":-1})", "rejected"},
        {R"({"errno":2147483648})", "rejected"},
        {R"({"errno":-2147483649})", "rejected"},
        {R"({"errno":99999999999999999999999})", "rejected"},
        // fields, escapes, texts of other types, data of the wrong shape
        {R"({"errno":0,"data":{"user_name":"\u6f14\u793a","logout_url":"http:\/\/h\/o","gsurl":"c","allserver":[)"
         R"({"server_name":"S1 烈焰","server_url":"u"},{"server_name":true,"server_url":null},7,{"server_name":5}]}})",
         "演示|http://h/o|c|-|S1 烈焰=u;true=;=;5=;"},
        {R"({"errno":0,"data":{"user_name":["a"],"logout_url":7,"gsurl":{},"allserver":"x"}})", kNothing},
        {R"({"errno":0,"data":[1]})", kNothing},
        {R"({"errno":0,"data":"x"})", kNothing},
        // the current server: the last name that holds the id after its first character
        {R"({"errno":0,"data":{"allserver":[{"server_name":"S112"},{"server_name":"S12"},{"server_name":"12"}]}})",
         "|-|-|S12|S112=;S12=;12=;"},
        {R"({"errno":0,"data":{"allserver":[{"server_name":"12x"}]}})", "|-|-|-|12x=;"},
        // a blank line ends the reply; nothing else is a reply
        {"{\"errno\":0,\"data\":{\"user_name\":\"a\"}}\r\n\r\n}}", "a|-|-|-|"},
        {"{\"errno\":0,\r\n\r\n\"data\":{\"user_name\":\"a\"}}", "rejected"},
        {R"({"errno":0,"data":{"user_name":"cut)", "rejected"},
        {R"([{"errno":0}])", "rejected"},
        {"3", "rejected"},
        {"", "rejected"},
        {R"({"errno":0,"data":{"x":)" + std::string(900, '[') + std::string(900, ']') + "}}", kNothing},
        {R"({"errno":0,"data":{"x":)" + std::string(1200, '[') + std::string(1200, ']') + "}}", "rejected"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, Read(c.first)) << c.first.substr(0, 80);
    EXPECT_EQ("|-|-|-|S12=;", Read(R"({"errno":0,"data":{"allserver":[{"server_name":"S12"}]}})", L""));
}

// Thousands of short names and a current id far longer than any of them: the lookup must cost what the
// names hold, not what the id holds once per server. Its memory is the proof: the reading may allocate a
// small multiple of the reply (the parsed tree, the list), where anything built per server the length of
// the id takes gigabytes and meets the budget's failure after a few servers.
TEST(AccountReply, CurrentServerLookupCostsTheReplyNotServersTimesTheId) {
    std::wstring reply = L"{\"errno\":0,\"data\":{\"allserver\":[";
    for (int i = 0; i < 3000; ++i)
        reply += L"{\"server_name\":\"s17\",\"server_url\":\"u\"},";
    reply.back() = L']';
    reply += L"}}";
    const CString serverId(std::wstring(150000, L'7'));
    const size_t budget = 16 * reply.size() * sizeof(wchar_t);
    AccountReply account;
    BOOL read = FALSE;
    size_t bytes = 0;
    {
        CAllocationCount count(budget);
        read = ParseLoginReply(reply.c_str(), serverId, account);
        bytes = count.Bytes();
    }
    EXPECT_LE(bytes, budget);
    ASSERT_TRUE(read);
    EXPECT_EQ(3000u, account.servers.size());
    EXPECT_EQ(L"s17", account.servers.back().strName);
    EXPECT_FALSE(account.curServerName);
}

TEST(AccountReply, SignedRequestBodyAndReply) {
    std::string body;
    ASSERT_TRUE(BuildSignedBody(L"密钥", L"演示 a&b=c", 1700000000, body));
    EXPECT_EQ("sign=" + Md5Of(CString(L"密钥").ToAnsi() + "1700000000") +
                  "&time=1700000000&user_code=" + CString(L"演示 a&b=c").ToAnsi(),
              body);
    ASSERT_TRUE(BuildSignedBody(L"k", L"", -5, body));
    EXPECT_EQ("sign=" + Md5Of("k-5") + "&time=-5&user_code=", body);
    // 64 bytes come before the user code; the body may have 1023, the key 254 (two per Chinese character).
    EXPECT_TRUE(BuildSignedBody(L"k", CString(L'中', 479) + L"u", 1700000000, body));
    EXPECT_EQ(1023u, body.size());
    EXPECT_FALSE(BuildSignedBody(L"k", CString(L'中', 480), 1700000000, body));
    EXPECT_TRUE(body.empty());
    EXPECT_TRUE(BuildSignedBody(CString(L'中', 127), L"", 1, body));
    EXPECT_FALSE(BuildSignedBody(CString(L'中', 127) + L"k", L"", 1, body));

    const std::pair<const char*, const wchar_t*> replies[] = {{R"({"errno":"ok","user_pwd":"abc"})", L"abc"},
                                                              {R"({"errno":"ok","user_pwd":null})", L""},
                                                              {R"({"errno":"ok","user_pwd":[1]})", L""},
                                                              {R"({"errno":"OK","user_pwd":"abc"})", nullptr},
                                                              {R"({"errno":0,"user_pwd":"abc"})", nullptr},
                                                              {R"([{"errno":"ok"}])", nullptr},
                                                              {"[[[[[[[[", nullptr}};
    for (const auto& r : replies) {
        CString pwd = L"kept";
        EXPECT_EQ(r.second != nullptr, ParseUserPwdReply(CString::FromUtf8(r.first), pwd) != FALSE)
            << r.first;
        EXPECT_EQ(CString(r.second ? r.second : L"kept"), pwd) << r.first;
    }
    CString pwd;
    EXPECT_FALSE(ParseUserPwdReply(CString(std::wstring(1200, L'[')), pwd)); // beyond the parser's nesting
}

} // namespace
