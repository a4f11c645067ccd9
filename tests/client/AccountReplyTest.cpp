// The account service's replies as the client reads them: the user-info reply's accepted shapes and
// hostile ones, the signed request's body and its limits, and both against the service stand-in.
#include "client/AccountReply.h"

#include "../foundation/OperatorService.h"
#include "foundation/Http.h"
#include "foundation/Md5.h"

#include <gtest/gtest.h>

#include <ostream>
#include <regex>

inline void PrintTo(const CString& s, std::ostream* os) {
    *os << '"' << s.ToUtf8() << '"';
}

namespace {

std::string Md5Of(const std::string& bytes) {
    char hex[33] = {};
    Md5HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()), hex);
    return hex;
}

CString Wide(const std::string& utf8) {
    return CString::FromUtf8(utf8.c_str(), static_cast<int>(utf8.size()));
}

TEST(AccountReply, ErrnoFormsDecideAcceptance) {
    const std::pair<const char*, bool> cases[] = {
        {R"({"errno":0})", true},
        {R"({"errno":"0"})", true},
        {R"({"errno":" \t-0005x"})", false},
        {R"({"errno":" +000abc"})", true},
        {R"({"errno":"abc"})", true}, // no leading number reads as 0
        {R"({"errno":"99999999999"})", false},
        {R"({"errno":3})", false},
        {R"({"errno":-1})", false},
        {R"({})", true},
        {R"({"errno":null})", true},
        {R"({"errno":3.5})", true},
        {R"({"errno":1e30})", true},
        {R"({"errno":true})", true},
        {R"({"errno":[3]})", true},
        {R"({"errno":{"code":3}})", true},
        {R"({"errno":2147483648})", false},
        {R"({"errno":-2147483649})", false},
        {R"({"errno":18446744073709551615})", false},
        {R"({"errno":99999999999999999999999})", false}, // held by the parser as a real
        {R"({"errno":-99999999999999999999999})", false},
    };
    for (const auto& c : cases) {
        AccountReply account;
        EXPECT_EQ(c.second, ParseLoginReply(Wide(c.first), L"", account) != FALSE) << c.first;
    }
}

TEST(AccountReply, DataFieldsAndWhatAReplyLeavesUnset) {
    AccountReply a;
    ASSERT_TRUE(ParseLoginReply(Wide(R"({"errno":0,"data":{"user_name":"\u6f14\u793a","logout_url":)"
                                     R"("http:\/\/h\/out","gsurl":"http://h/chat","allserver":[)"
                                     R"({"server_name":"S1 烈焰","server_url":"http://h/game?sid=1"},)"
                                     R"({"server_name":true,"server_url":null},{"server_name":false},)"
                                     R"(7,null,{"server_name":5,"server_url":["x"]}]}})"),
                                L"", a));
    EXPECT_EQ(CString(L"演示"), a.strUserName);
    EXPECT_EQ(CString(L"http://h/out"), a.logoutUrl.value_or(L"unset"));
    EXPECT_EQ(CString(L"http://h/chat"), a.gsUrl.value_or(L"unset"));
    EXPECT_FALSE(a.curServerName); // no server id yet
    const std::pair<const wchar_t*, const wchar_t*> servers[] = {{L"S1 烈焰", L"http://h/game?sid=1"},
                                                                 {L"true", L""},
                                                                 {L"false", L""},
                                                                 {L"", L""},
                                                                 {L"", L""},
                                                                 {L"5", L""}};
    ASSERT_EQ(std::size(servers), a.servers.size());
    for (size_t i = 0; i < a.servers.size(); ++i) {
        EXPECT_EQ(CString(servers[i].first), a.servers[i].strName) << i;
        EXPECT_EQ(CString(servers[i].second), a.servers[i].strUrl) << i;
    }

    // Without data, with a data that is no object, or with fields of the wrong types: no name, no
    // servers, and nothing for the frame to replace.
    for (const char* reply :
         {R"({"errno":0})", R"({"errno":0,"data":null})", R"({"errno":0,"data":[1,2]})",
          R"({"errno":0,"data":"x"})",
          R"({"errno":0,"data":{"user_name":["a"],"logout_url":7,"gsurl":{"a":1},)"
          R"("allserver":"none"}})",
          R"({"errno":0,"data":{"user_name":null,"logout_url":null,"allserver":{"a":1}}})"}) {
        AccountReply b;
        b.strUserName = L"stale";
        ASSERT_TRUE(ParseLoginReply(Wide(reply), L"1", b)) << reply;
        EXPECT_TRUE(b.strUserName.IsEmpty()) << reply;
        EXPECT_TRUE(b.servers.empty()) << reply;
        EXPECT_FALSE(b.logoutUrl || b.gsUrl || b.curServerName) << reply;
    }
}

TEST(AccountReply, CurrentServerIsTheLastNameHoldingTheIdAfterItsStart) {
    const char* list = R"({"errno":0,"data":{"allserver":[{"server_name":"S112 a"},{"server_name":"S12 b"},)"
                       R"({"server_name":"12 c"},{"server_name":"S7 d"}]}})";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"12", L"S12 b"}, {L"112", L"S112 a"}, {L"7", L"S7 d"}, {L"", nullptr}, {L"3", nullptr}};
    for (const auto& c : cases) {
        AccountReply a;
        ASSERT_TRUE(ParseLoginReply(Wide(list), c.first, a));
        EXPECT_EQ(4u, a.servers.size());
        if (c.second)
            EXPECT_EQ(CString(c.second), a.curServerName.value_or(L"unset")) << CString(c.first).ToUtf8();
        else
            EXPECT_FALSE(a.curServerName) << CString(c.first).ToUtf8();
    }
}

TEST(AccountReply, RepliesThatChangeNothing) {
    const std::string deep = std::string(R"({"errno":0,"data":{"user_name":)") + std::string(1200, '[');
    const std::string tooDeep = deep + std::string(1200, ']') + "}}";
    const std::string withinLimit =
        std::string(R"({"errno":0,"data":{"x":)") + std::string(900, '[') + std::string(900, ']') + "}}";
    const std::string replies[] = {"", R"({"errno":0,"data":{"user_name":"cut)",
                                   R"([{"errno":0,"data":{"user_name":"a"}}])", R"("text")", "3", "null",
                                   tooDeep, std::string(5000, '[') + std::string(5000, ']'),
                                   // a blank line ends the reply, here inside the JSON
                                   "{\"errno\":0,\r\n\r\n\"data\":{\"user_name\":\"a\"}}"};
    for (const std::string& reply : replies) {
        AccountReply a;
        EXPECT_FALSE(ParseLoginReply(Wide(reply), L"", a)) << reply.substr(0, 60);
    }
    AccountReply a;
    EXPECT_FALSE(ParseLoginReply(nullptr, L"", a));
    EXPECT_TRUE(ParseLoginReply(Wide(withinLimit), L"", a));
    EXPECT_TRUE(
        ParseLoginReply(Wide("{\"errno\":0,\"data\":{\"user_name\":\"a\"}}\r\n\r\n}}}trailing"), L"", a));
    EXPECT_EQ(CString(L"a"), a.strUserName);
}

TEST(AccountReply, SignedBodyFormAndLimits) {
    std::string body;
    ASSERT_TRUE(BuildSignedBody(L"密钥", L"演示 a&b=c", 1700000000, body));
    const std::string key = CString(L"密钥").ToAnsi();
    EXPECT_EQ("sign=" + Md5Of(key + "1700000000") +
                  "&time=1700000000&user_code=" + CString(L"演示 a&b=c").ToAnsi(),
              body);
    ASSERT_TRUE(BuildSignedBody(L"k", L"", -5, body));
    EXPECT_EQ("sign=" + Md5Of("k-5") + "&time=-5&user_code=", body);

    // sign=<32>&time=<10>&user_code=: 64 bytes before the user code.
    const int room = 1023 - 64;
    EXPECT_TRUE(BuildSignedBody(L"k", CString(L'u', room), 1700000000, body));
    EXPECT_EQ(1023u, body.size());
    EXPECT_TRUE(BuildSignedBody(L"k", CString(L'中', room / 2), 1700000000, body)); // two bytes each
    EXPECT_FALSE(BuildSignedBody(L"k", CString(L'u', room + 1), 1700000000, body));
    EXPECT_TRUE(body.empty());
    EXPECT_FALSE(BuildSignedBody(L"k", CString(L'中', room / 2 + 1), 1700000000, body));
    EXPECT_TRUE(BuildSignedBody(CString(L'k', 254), L"", 1, body));
    EXPECT_TRUE(BuildSignedBody(CString(L'中', 127), L"", 1, body));
    EXPECT_FALSE(BuildSignedBody(CString(L'k', 255), L"", 1, body));
    EXPECT_FALSE(BuildSignedBody(CString(L'中', 128), L"", 1, body));
}

TEST(AccountReply, SignedReplyShapes) {
    const std::pair<const char*, const wchar_t*> cases[] = {
        {R"({"errno":"ok","user_pwd":"abc"})", L"abc"},   {R"({"errno":"ok"})", L""},
        {R"({"errno":"ok","user_pwd":null})", L""},       {R"({"errno":"ok","user_pwd":{"a":1}})", L""},
        {R"({"errno":"OK","user_pwd":"abc"})", nullptr},  {R"({"errno":0,"user_pwd":"abc"})", nullptr},
        {R"({"errno":"ok ","user_pwd":"abc"})", nullptr}, {R"([{"errno":"ok","user_pwd":"abc"}])", nullptr},
        {R"({"errno":"ok","user_pwd":"abc")", nullptr},   {"", nullptr},
    };
    for (const auto& c : cases) {
        CString pwd = L"kept";
        EXPECT_EQ(c.second != nullptr, ParseUserPwdReply(Wide(c.first), pwd) != FALSE) << c.first;
        EXPECT_EQ(CString(c.second ? c.second : L"kept"), pwd) << c.first;
    }
    CString pwd = L"kept";
    EXPECT_FALSE(ParseUserPwdReply(Wide(std::string(3000, '[') + std::string(3000, ']')), pwd));
    EXPECT_EQ(CString(L"kept"), pwd);
}

// The stand-in checks the sign with its key "pellar-demo-key" and answers the hash of the unlock
// password "123456".
TEST(AccountReply, SignedRequestReachesTheServiceUnencoded) {
    const CString tag = service::Tag(L"userpwd");
    const CString user = L"演示玩家 a&b=c";
    CString pwd;
    ASSERT_TRUE(RequestUserPwd(service::Url(L"/api/userpwd?t=") + tag, L"pellar-demo-key", user, pwd));
    EXPECT_EQ(CString(Md5Of("pellar-demo-key" + Md5Of("123456")).c_str()), pwd);
    const std::vector<Json::Value> requests = service::Requests(tag);
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("POST", requests[0]["method"].asString());
    const std::string body = service::Body(requests[0]);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(body, m, std::regex("sign=([0-9a-f]{32})&time=(-?[0-9]+)&user_code=(.*)")))
        << body;
    EXPECT_EQ(Md5Of("pellar-demo-key" + m[2].str()), m[1].str());
    EXPECT_EQ(user.ToAnsi(), m[3].str());

    // A wrong key, an error page, a hostile or a cut reply keep the hash; a refused body sends nothing.
    const std::pair<const wchar_t*, CString> failing[] = {{L"?t=", L"wrong-key"},
                                                          {L"?_status=500&t=", L"pellar-demo-key"},
                                                          {L"?_json=deep&t=", L"pellar-demo-key"},
                                                          {L"?_cut=10&t=", L"pellar-demo-key"},
                                                          {L"?_body=empty&t=", L"pellar-demo-key"}};
    for (const auto& f : failing) {
        CString kept = L"kept";
        EXPECT_FALSE(RequestUserPwd(service::Url(L"/api/userpwd") + f.first + tag, f.second, user, kept))
            << f.first;
        EXPECT_EQ(CString(L"kept"), kept);
    }
    const CString refusedTag = service::Tag(L"refused");
    EXPECT_FALSE(
        RequestUserPwd(service::Url(L"/api/userpwd?t=") + refusedTag, CString(L'k', 255), user, pwd));
    EXPECT_FALSE(RequestUserPwd(service::Url(L"/api/userpwd?t=") + refusedTag, L"pellar-demo-key",
                                CString(L'u', 1000), pwd));
    EXPECT_TRUE(service::Requests(refusedTag).empty());
}

// The stand-in's user-info reply and its hostile variants, read as the client reads them.
TEST(AccountReply, StandInRepliesReadSafely) {
    AccountReply a;
    ASSERT_TRUE(ParseLoginReply(HttpGet(service::Url(L"/api/userinfo?servers=112,12,3")), L"12", a));
    ASSERT_EQ(3u, a.servers.size());
    EXPECT_EQ(0, a.servers[1].strName.Find(L"S12 "));
    EXPECT_GE(a.servers[1].strName.GetLength(), 6); // a Chinese name follows the id
    EXPECT_EQ(a.servers[1].strName, a.curServerName.value_or(L"unset"));
    EXPECT_NE(-1, a.servers[2].strUrl.Find(L"/game?sid=3"));
    EXPECT_NE(-1, a.gsUrl.value_or(L"").Find(L"/chat"));
    EXPECT_FALSE(a.strUserName.IsEmpty());
    ASSERT_TRUE(ParseLoginReply(HttpGet(service::Url(L"/api/userinfo?servers=")), L"12", a));
    EXPECT_TRUE(a.servers.empty());

    for (const wchar_t* kind : {L"malformed", L"deep", L"huge"})
        EXPECT_FALSE(ParseLoginReply(HttpGet(service::Url(L"/api/userinfo?_json=") + kind), L"1", a)) << kind;
    ASSERT_TRUE(ParseLoginReply(HttpGet(service::Url(L"/api/userinfo?_json=types")), L"1", a));
    EXPECT_TRUE(a.strUserName.IsEmpty() && a.servers.empty());
    ASSERT_TRUE(ParseLoginReply(HttpGet(service::Url(L"/api/userinfo?_json=escapes")), L"1", a));
    EXPECT_FALSE(a.logoutUrl);
}

} // namespace
