// The layout rule every skinned window applies on resize (the button's first placement is tested with
// the button, in SkinButtonTest).
#include "skin/SkinAnchor.h"

#include <gtest/gtest.h>

#include <utility>

TEST(SkinAnchor, LayoutRulePlacesAnElementInItsParent) {
    const RECT element = {0, 0, 100, 50};
    auto place = [&](const wchar_t* anchor, const RECT& parent) {
        int x = 10, y = 20;
        AlignToParent(x, y, anchor, parent, element);
        return std::make_pair(x, y);
    };
    const RECT parent = {0, 0, 800, 600};
    EXPECT_EQ(std::make_pair(690, 530), place(L"bottomright", parent));
    EXPECT_EQ(std::make_pair(690, 20), place(L"TopRight", parent));
    EXPECT_EQ(std::make_pair(10, 530), place(L"BOTTOMLEFT", parent));
    EXPECT_EQ(std::make_pair(10, 20), place(L"Centre", parent));
    EXPECT_EQ(std::make_pair(350, 275), place(L"middle", RECT{0, 0, 801, 601}));
    // The parent's right and bottom edges count for the edge anchors, not its size.
    EXPECT_EQ(std::make_pair(390, 330), place(L"BottomRight", RECT{100, 100, 500, 400}));
}
