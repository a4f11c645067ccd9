#include "framework/String.h"

#include <gtest/gtest.h>

TEST(CStringFormat, PercentSIsWideText) {
    CString s;
    s.Format(L"%s Ver %s", L"游戏", L"1.0.2");
    EXPECT_STREQ(L"游戏 Ver 1.0.2", s);
    s.Format(L"%s&mytime=%d", L"a?b=1", -5);
    EXPECT_STREQ(L"a?b=1&mytime=-5", s);
    s.AppendFormat(L"[%02x]", 10);
    EXPECT_STREQ(L"a?b=1&mytime=-5[0a]", s);
}

TEST(CStringFormat, LongOutputIsNotCut) {
    CString big(L'x', 5000);
    CString s;
    s.Format(L"<%s>", big.GetString());
    EXPECT_EQ(5002, s.GetLength());
    EXPECT_EQ(L'>', s[5001]);
}

TEST(CStringConvert, AnsiRoundTripInChineseCodePage) {
    // The test run uses code page 936: every Chinese character is two bytes there.
    ASSERT_EQ(936u, GetACP());
    CString text(L"密码错误！abc");
    std::string ansi = text.ToAnsi();
    EXPECT_EQ(5u * 2 + 3, ansi.size());
    EXPECT_EQ(text, CString::FromAnsi(ansi.c_str()));
    EXPECT_EQ(text, CString(ansi.c_str()));
}

TEST(CStringConvert, Utf8RoundTrip) {
    CString text(L"加载皮肤 ok \u20ac");
    std::string utf8 = text.ToUtf8();
    EXPECT_EQ("\xe5\x8a\xa0\xe8\xbd\xbd\xe7\x9a\xae\xe8\x82\xa4 ok \xe2\x82\xac", utf8);
    EXPECT_EQ(text, CString::FromUtf8(utf8.c_str(), static_cast<int>(utf8.size())));
    EXPECT_TRUE(CString::FromUtf8(nullptr).IsEmpty());
}

TEST(CStringEdit, SearchAndSubstringsClamp) {
    CString s(L"index.html?a=1?");
    EXPECT_EQ(10, s.Find(L'?'));
    EXPECT_EQ(14, s.Find(L'?', 11));
    EXPECT_EQ(-1, s.Find(L'?', 15));
    EXPECT_EQ(14, s.ReverseFind(L'?'));
    EXPECT_EQ(6, s.Find(L"html"));
    EXPECT_EQ(L"index", s.Left(5));
    EXPECT_EQ(s, s.Left(99));
    EXPECT_EQ(L"", s.Left(-1));
    EXPECT_EQ(L"1?", s.Right(2));
    EXPECT_EQ(L"a=1?", s.Mid(11));
    EXPECT_EQ(L"", s.Mid(40));
    EXPECT_EQ(L"a=", s.Mid(11, 2));
    EXPECT_EQ(L'\0', s.GetAt(100));
}

TEST(CStringEdit, ReplaceRemoveCaseAndBuffer) {
    CString s(L"a\\/b\\/c");
    EXPECT_EQ(2, s.Replace(L"\\/", L"/"));
    EXPECT_EQ(L"a/b/c", s);
    EXPECT_EQ(2, s.Remove(L'/'));
    EXPECT_EQ(L"abc", s);
    CString mixed(L"TopRight");
    EXPECT_EQ(0, mixed.CompareNoCase(L"topright"));
    EXPECT_EQ(L"topright", CString(mixed).MakeLower());
    wchar_t* buffer = s.GetBuffer(10);
    wcscpy(buffer, L"xy");
    s.ReleaseBuffer();
    EXPECT_EQ(L"xy", s);
    EXPECT_EQ(L"  t ", CString(L"  t ")) << "copies keep spaces";
    EXPECT_EQ(L"t", CString(L"  t \r\n").Trim());
}
