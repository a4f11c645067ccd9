#include "foundation/UrlHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The address with its time stamp cut off, after checking the stamp is the current tick count.
CString StripTimeStamp(CString url, const wchar_t* separator) {
    const DWORD before = GetTickCount();
    AppendTimeStamp(url);
    const DWORD after = GetTickCount();
    const CString marker = CString(separator) + L"mytime=";
    const int at = url.Find(marker);
    EXPECT_GE(at, 0) << url.ToUtf8();
    if (at < 0) return url;
    const DWORD ticks = static_cast<DWORD>(_wtoi(url.Mid(at + marker.GetLength())));
    EXPECT_GE(ticks, before);
    EXPECT_LE(ticks, after);
    EXPECT_EQ(-1, url.Find(L"mytime", at + marker.GetLength())) << "one stamp only";
    return url.Left(at);
}

std::string Unescape(const wchar_t* text) {
    std::string out = "stale";
    JsonUnescapeToAnsi(text, out);
    return out;
}

std::vector<std::wstring> Split(const wchar_t* text) {
    std::vector<CString> pieces{L"stale"};
    SplitByComma(pieces, text);
    std::vector<std::wstring> result;
    for (const CString& piece : pieces) result.push_back(piece.Str());
    return result;
}

} // namespace

TEST(UrlHelpers, QueryDetectionCutsATrailingQuestionMark) {
    CString url(L"a?");
    EXPECT_FALSE(UrlHasQuery(url));
    EXPECT_EQ(L"a", url);
    url = L"a?b";
    EXPECT_TRUE(UrlHasQuery(url));
    EXPECT_EQ(L"a?b", url);
    url = L"a";
    EXPECT_FALSE(UrlHasQuery(url));
    EXPECT_EQ(L"a", url);
    url = L"a?b?";
    EXPECT_TRUE(UrlHasQuery(url));
    EXPECT_EQ(L"a?b?", url);
}

TEST(UrlHelpers, TimeStampStartsOrExtendsTheQuery) {
    EXPECT_EQ(L"a", StripTimeStamp(L"a?", L"?"));
    EXPECT_EQ(L"a?b", StripTimeStamp(L"a?b", L"&"));
    EXPECT_EQ(L"a", StripTimeStamp(L"a", L"?"));
    EXPECT_EQ(L"page.html?a=1?", StripTimeStamp(L"page.html?a=1?", L"&"));
    EXPECT_EQ(L"http://h/%s%d%2F", StripTimeStamp(L"http://h/%s%d%2F", L"?")) << "no conversion of the address";
}

TEST(UrlHelpers, JsonEscapesAreResolvedSafely) {
    EXPECT_EQ("{\"a\":\"http://h/x\"}", Unescape(L"{\"a\":\"http:\\/\\/h\\/x\"}"));
    // Chinese text: decoded, then in code page 936 ("中文" is D6 D0 CE C4).
    EXPECT_EQ("{\"n\":\"\xD6\xD0\xCE\xC4 \xD6\xD0\"}", Unescape(L"{\"n\":\"\\u4e2d\\u6587 \\u4E2D\"}"));
    EXPECT_EQ("{\"n\":\"A\"}", Unescape(L"{\"n\":\"\\u0041\"}"));
    // A reply that starts with an escape is left undecoded.
    EXPECT_EQ("\\u0041\\u0042", Unescape(L"\\u0041\\u0042"));
    // Quotes, backslashes and control characters stay escaped, so the string still parses.
    EXPECT_EQ("{\"q\":\"a\\u0022b\\u005Cc\\u000a\\u001F\"}", Unescape(L"{\"q\":\"a\\u0022b\\u005Cc\\u000a\\u001F\"}"));
    // An escaped backslash is one pair: the "u0041" after it is text, and "\\/" is no "\/".
    EXPECT_EQ("{\"p\":\"C:\\\\u0041\\\\/\"}", Unescape(L"{\"p\":\"C:\\\\u0041\\\\/\"}"));
    // Other escapes are the parser's business.
    EXPECT_EQ("{\"t\":\"a\\tb\\\"c\"}", Unescape(L"{\"t\":\"a\\tb\\\"c\"}"));
    // Nothing readable after "\u": the escape is dropped; a cut escape at the end does not overrun.
    EXPECT_EQ("{x}", Unescape(L"{\\uzzzzx}"));
    EXPECT_EQ("{\"e\":\"A", Unescape(L"{\"e\":\"\\u41"));
    EXPECT_EQ("x\\", Unescape(L"x\\"));
    EXPECT_EQ("", Unescape(L""));
    EXPECT_EQ("", Unescape(nullptr));
}

TEST(UrlHelpers, JsonOutputGrowsWithItsInput) {
    std::wstring big = L"{\"v\":\"";
    for (int i = 0; i < 20000; ++i) big += L"\\u4e2d";
    big += L"\"}";
    const std::string out = Unescape(big.c_str());
    EXPECT_EQ(6u + 40000u + 2u, out.size());
}

TEST(UrlHelpers, SplitByCommaKeepsEmptyMiddlePieces) {
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3"}), Split(L"1,2,3"));
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3"}), Split(L"1,2,3,"));
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"", L"3"}), Split(L"1,,3"));
    EXPECT_EQ((std::vector<std::wstring>{L""}), Split(L""));
    EXPECT_EQ((std::vector<std::wstring>{L"", L""}), Split(L",,"));
    EXPECT_EQ((std::vector<std::wstring>{L""}), Split(L","));
}

TEST(UrlHelpers, ColoursAreCutToBytesAndMissingPartsAreZero) {
    EXPECT_EQ(RGB(255, 128, 0), ParseRgbColor(L"255,128,0"));
    EXPECT_EQ(RGB(1, 2, 3), ParseRgbColor(L"1,2,3,4"));
    EXPECT_EQ(RGB(44, 255, 7), ParseRgbColor(L"300, -1 ,7x"));
    EXPECT_EQ(RGB(9, 0, 0), ParseRgbColor(L"9"));
    EXPECT_EQ(RGB(9, 8, 0), ParseRgbColor(L"9,8"));
    EXPECT_EQ(RGB(0, 0, 0), ParseRgbColor(L""));
    EXPECT_EQ(RGB(0, 5, 0), ParseRgbColor(L"abc,5"));
}

TEST(UrlHelpers, AnchorsPlaceAnElementInItsParent) {
    const RECT parent = {0, 0, 800, 600};
    const RECT element = {0, 0, 100, 50};
    int x = 10, y = 20;
    AlignToParent(x, y, L"bottomright", parent, element);
    EXPECT_EQ(690, x);
    EXPECT_EQ(530, y);

    x = 10, y = 20;
    AlignToParent(x, y, L"TopRight", parent, element);
    EXPECT_EQ(690, x);
    EXPECT_EQ(20, y);
    x = 10, y = 20;
    AlignToParent(x, y, L"BOTTOMLEFT", parent, element);
    EXPECT_EQ(10, x);
    EXPECT_EQ(530, y);
    x = 10, y = 20;
    AlignToParent(x, y, L"TopLeft", parent, element);
    EXPECT_EQ(10, x);
    EXPECT_EQ(20, y);
    AlignToParent(x, y, L"Centre", parent, element);
    EXPECT_EQ(10, x);
    EXPECT_EQ(20, y);

    const RECT wide = {0, 0, 801, 601};
    AlignToParent(x, y, L"middle", wide, element);
    EXPECT_EQ(350, x);
    EXPECT_EQ(275, y);
    // The parent's right and bottom edges count, not its size, for the edge anchors.
    const RECT moved = {100, 100, 500, 400};
    x = 0, y = 0;
    AlignToParent(x, y, L"BottomRight", moved, element);
    EXPECT_EQ(400, x);
    EXPECT_EQ(350, y);
}
