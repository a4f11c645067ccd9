#include "foundation/TextPattern.h"

#include <gtest/gtest.h>

TEST(FillPattern, ReplacesMarkersInOrderAndKeepsEscapes) {
    EXPECT_EQ(L"http://h/i?s=12&k=abc", FillPattern(L"http://h/i?s=%s&k=%s", {L"12", L"abc"}));
    EXPECT_EQ(L"http://h/a%2Fb?v=x", FillPattern(L"http://h/a%2Fb?v=%s", {L"x"}));
    EXPECT_EQ(L"100% %d %n x", FillPattern(L"100%% %d %n %s", {L"x"}));
    EXPECT_EQ(L"a=&b=", FillPattern(L"a=%s&b=%s", {L""}));
    EXPECT_EQ(L"tail%", FillPattern(L"tail%", {}));
    EXPECT_EQ(L"v=%s", FillPattern(L"v=%%s", {L"x"}));
}
