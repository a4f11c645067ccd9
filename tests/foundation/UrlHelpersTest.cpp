#include "foundation/TextPattern.h"
#include "foundation/UrlHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::string Unescape(const wchar_t* text) {
    std::string out = "stale";
    JsonUnescapeToAnsi(text, out);
    return out;
}

} // namespace

TEST(FillPattern, ReplacesMarkersInOrderAndKeepsEverythingElse) {
    EXPECT_EQ(L"http://h/i?s=12&k=abc", FillPattern(L"http://h/i?s=%s&k=%s", {L"12", L"abc"}));
    EXPECT_EQ(L"http://h/a%2Fb?v=x", FillPattern(L"http://h/a%2Fb?v=%s", {L"x"}));
    EXPECT_EQ(L"100% %d %n x", FillPattern(L"100%% %d %n %s", {L"x"}));
    EXPECT_EQ(L"a=&b=", FillPattern(L"a=%s&b=%s", {L""}));
    EXPECT_EQ(L"tail%", FillPattern(L"tail%", {}));
    EXPECT_EQ(L"v=%s", FillPattern(L"v=%%s", {L"x"}));
}

TEST(UrlHelpers, QueryDetectionAndTimeStamp) {
    // A "?" at the very end is cut; the stamp then starts the query.
    const struct {
        const wchar_t* url;
        BOOL query;
        const wchar_t* cut;
    } urls[] = {{L"a?", FALSE, L"a"},
                {L"a?b", TRUE, L"a?b"},
                {L"a", FALSE, L"a"},
                {L"page.html?a=1?", TRUE, L"page.html?a=1?"},
                {L"http://h/%s%d%2F", FALSE, L"http://h/%s%d%2F"}};
    for (const auto& u : urls) {
        CString url(u.url);
        EXPECT_EQ(u.query, UrlHasQuery(url));
        EXPECT_EQ(u.cut, url);

        url = u.url;
        const DWORD before = GetTickCount();
        AppendTimeStamp(url);
        const DWORD after = GetTickCount();
        const CString marker = CString(u.cut) + (u.query ? L"&mytime=" : L"?mytime=");
        ASSERT_EQ(0, url.Find(marker)) << url.ToUtf8();
        const DWORD ticks = static_cast<DWORD>(_wtoi(url.Mid(marker.GetLength())));
        EXPECT_GE(ticks, before);
        EXPECT_LE(ticks, after);
        EXPECT_EQ(-1, url.Find(L"mytime", marker.GetLength())) << "one stamp only";
    }
}

TEST(UrlHelpers, JsonEscapesAreResolvedSafely) {
    ASSERT_EQ(936u, GetACP()) << "the cases below are written for the players' double-byte code page";
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"{\"a\":\"http:\\/\\/h\\/x\"}", "{\"a\":\"http://h/x\"}"},
        // Decoded, then in code page 936 ("中文" is D6 D0 CE C4).
        {L"{\"n\":\"\\u4e2d\\u6587 \\u4E2D\\u0041\"}", "{\"n\":\"\xD6\xD0\xCE\xC4 \xD6\xD0"
                                                       "A\"}"},
        // A reply that starts with an escape is left undecoded.
        {L"\\u0041\\u0042", "\\u0041\\u0042"},
        // Quotes, backslashes and control characters stay escaped, so the string still parses.
        {L"{\"q\":\"a\\u0022b\\u005Cc\\u000a\\u001F\"}", "{\"q\":\"a\\u0022b\\u005Cc\\u000a\\u001F\"}"},
        // So do characters whose second byte in code page 936 is a backslash (U+4E57 is 81 5C).
        {L"{\"k\":\"\\u4e57\\u8AA0\\u4e2d\"}", "{\"k\":\"\\u4e57\\u8AA0\xD6\xD0\"}"},
        // An escaped backslash is one pair: the "u0041" after it is text, and "\\/" is no "\/".
        {L"{\"p\":\"C:\\\\u0041\\\\/\"}", "{\"p\":\"C:\\\\u0041\\\\/\"}"},
        {L"{\"t\":\"a\\tb\\\"c\"}", "{\"t\":\"a\\tb\\\"c\"}"},
        // Nothing readable after "\u": the escape is dropped; a cut escape at the end does not overrun.
        {L"{\\uzzzzx}", "{x}"},
        {L"{\"e\":\"\\u41", "{\"e\":\"A"},
        {L"x\\", "x\\"},
        {L"", ""},
        {nullptr, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(c.second, Unescape(c.first)) << (c.first ? CString(c.first).ToUtf8() : "null");

    std::wstring big = L"{\"v\":\"";
    for (int i = 0; i < 20000; ++i)
        big += L"\\u4e2d";
    EXPECT_EQ(6u + 40000u + 2u, Unescape((big + L"\"}").c_str()).size());
}

TEST(UrlHelpers, SplitByCommaKeepsEmptyMiddlePieces) {
    const std::pair<const wchar_t*, std::vector<CString>> cases[] = {{L"1,2,3", {L"1", L"2", L"3"}},
                                                                     {L"1,2,3,", {L"1", L"2", L"3"}},
                                                                     {L"1,,3", {L"1", L"", L"3"}},
                                                                     {L"", {L""}},
                                                                     {L",,", {L"", L""}},
                                                                     {L",", {L""}}};
    for (const auto& c : cases) {
        std::vector<CString> pieces{L"stale"};
        SplitByComma(pieces, c.first);
        EXPECT_EQ(c.second, pieces) << CString(c.first).ToUtf8();
    }
}

TEST(UrlHelpers, ColoursAreCutToBytesAndMissingPartsAreZero) {
    const std::pair<const wchar_t*, COLORREF> cases[] = {{L"255,128,0", RGB(255, 128, 0)},
                                                         {L"1,2,3,4", RGB(1, 2, 3)},
                                                         {L"300, -1 ,7x", RGB(44, 255, 7)},
                                                         {L"9", RGB(9, 0, 0)},
                                                         {L"9,8", RGB(9, 8, 0)},
                                                         {L"", RGB(0, 0, 0)},
                                                         {L"abc,5", RGB(0, 5, 0)}};
    for (const auto& c : cases)
        EXPECT_EQ(c.second, ParseRgbColor(c.first)) << CString(c.first).ToUtf8();
}

TEST(UrlHelpers, OnlyWhatABrowserReadsAsHttpOrHttpsIsAWebAddress) {
    for (const wchar_t* web : {L"http://h/game.php", L"HTTPS://h/", L"\x02 http://h/", L"ht\ttp://h/",
                               L"h\nttps:x", L"http:\\\\h\\game.php"})
        EXPECT_TRUE(IsBrowserWebAddress(web)) << CString(web).ToUtf8();
    for (const wchar_t* other :
         {L"java\tscript:alert(1)//game.php", L"da\nta:text/html,x", L"fi\nle:///c:/x", L"\x02javascript:x",
          L" vbscript:x", L"C:\\game\\game.php", L"\\\\host\\share\\game.php", L"res://x.dll/game",
          L"mhtml:http://h/game", L"app://loadgame|http://h/game", L"/game.php?sid=1", L"http",
          L"java\x01script:x", L"httpſ://h/", L"htt\x01p://h/", L""})
        EXPECT_FALSE(IsBrowserWebAddress(other)) << CString(other).ToUtf8();
    EXPECT_FALSE(IsBrowserWebAddress(nullptr));
}
