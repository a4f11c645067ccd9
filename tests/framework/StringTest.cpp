#include "framework/String.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(CStringFormat, PercentSIsWideTextAndLongOutputIsNotCut) {
    CString s;
    s.Format(L"%s Ver %s&mytime=%d", L"游戏", L"1.0.2", -5);
    EXPECT_STREQ(L"游戏 Ver 1.0.2&mytime=-5", s);
    s.AppendFormat(L"[%02x]", 10);
    EXPECT_STREQ(L"游戏 Ver 1.0.2&mytime=-5[0a]", s);

    CString big(L'x', 5000);
    s.Format(L"<%s>", big.GetString());
    EXPECT_EQ(5002, s.GetLength());
    EXPECT_EQ(L'>', s[5001]);
}

TEST(CStringConvert, AnsiAndUtf8RoundTrips) {
    // The test run uses code page 936: every Chinese character is two bytes there.
    ASSERT_EQ(936u, GetACP());
    CString text(L"密码错误！abc");
    std::string ansi = text.ToAnsi();
    EXPECT_EQ(5u * 2 + 3, ansi.size());
    EXPECT_EQ(text, CString::FromAnsi(ansi.c_str()));
    EXPECT_EQ(text, CString(ansi.c_str()));

    text = L"加载皮肤 ok \u20ac";
    std::string utf8 = text.ToUtf8();
    EXPECT_EQ("\xe5\x8a\xa0\xe8\xbd\xbd\xe7\x9a\xae\xe8\x82\xa4 ok \xe2\x82\xac", utf8);
    EXPECT_EQ(text, CString::FromUtf8(utf8.c_str(), static_cast<int>(utf8.size())));
    EXPECT_TRUE(CString::FromUtf8(nullptr).IsEmpty());
}

TEST(CStringEdit, SearchAndSubstringsClamp) {
    CString s(L"index.html?a=1?");
    EXPECT_EQ(14, s.Find(L'?', 11));
    EXPECT_EQ(-1, s.Find(L'?', 15));
    EXPECT_EQ(14, s.ReverseFind(L'?'));
    EXPECT_EQ(6, s.Find(L"html"));
    EXPECT_EQ(s, s.Left(99));
    EXPECT_EQ(L"", s.Left(-1));
    EXPECT_EQ(L"1?", s.Right(2));
    EXPECT_EQ(L"", s.Mid(40));
    EXPECT_EQ(L"a=", s.Mid(11, 2));
    EXPECT_EQ(L'\0', s.GetAt(100));
}

TEST(CStringEdit, LongSearchesFindTheFirstOccurrenceFromTheStart) {
    // Texts of two letters hold many near-misses: every position and restart of a long search is met.
    unsigned seed = 7;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 200; ++round) {
        std::wstring text, sub;
        for (unsigned i = 0, n = 20 + next() % 200; i < n; ++i)
            text += static_cast<wchar_t>(L'a' + next() % 2);
        const size_t from = next() % text.size(), length = 17 + next() % 24;
        sub = text.substr(from, length); // present at least once when long enough
        if (next() % 3 == 0 && !sub.empty()) sub.back() = L'c';
        const int start = static_cast<int>(next() % (text.size() + 1));
        const size_t expected = text.find(sub, static_cast<size_t>(start));
        EXPECT_EQ(expected == std::wstring::npos ? -1 : static_cast<int>(expected),
                  CString(text).Find(sub.c_str(), start))
            << round;
    }
}

TEST(CStringEdit, ASearchLongerThanTheRestOfTheTextIsReadNoFurther) {
    // The searched text has no end of its own: it runs to the end of a readable page, and the page
    // after it may not be read. Only one character more than the rest of the text may be looked at.
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    struct Pages {
        void* base;
        ~Pages() { VirtualFree(base, 0, MEM_RELEASE); }
    } pages{VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)};
    ASSERT_NE(nullptr, pages.base);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(static_cast<char*>(pages.base) + page, page, PAGE_NOACCESS, &old));
    auto* chars = static_cast<wchar_t*>(pages.base);
    const size_t count = page / sizeof(wchar_t);
    std::fill(chars, chars + count, L'x');

    const CString text(L"axx");
    for (int start = 0; start <= 3; ++start)
        EXPECT_EQ(-1, text.Find(chars + count - (4 - start), start)) << start;
}

TEST(CStringEdit, TextCutIntoAFieldKeepsWholeCharacters) {
    wchar_t field[4];
    CopyTextCut(field, 4, L"ab\xD83D\xDE00"); // "ab" and one character outside the basic plane
    EXPECT_STREQ(L"ab", field);
    CopyTextCut(field, 4, L"abc\xD83D\xDE00");
    EXPECT_STREQ(L"abc", field);
    CopyTextCut(field, 4, L"\xD83D\xDE00");
    EXPECT_STREQ(L"\xD83D\xDE00", field);
    CopyTextCut(field, 1, L"abc");
    EXPECT_STREQ(L"", field);
}
