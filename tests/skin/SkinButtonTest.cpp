// Skinned buttons driven by messages: state images, clicks, placement, drawing into the owner's
// surface, and blinking without leaked or doubled threads.
#include "SkinWndTestSupport.h"
#include "skin/GameWndHook.h"
#include "skin/SkinButton.h"
#include "skin/SkinSurface.h"
#include "skin/SkinWnd2.h"

#include <gtest/gtest.h>

using namespace skintest;

namespace {

const Argb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;
const Argb kMagenta = 0xFFFF00FF, kBlack = 0xFF000000;

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.CreateOwner(300, 200));
        // Four state images of one size and four colours: normal, hover, pressed, checked.
        const Argb colours[4] = {kRed, kGreen, kBlue, kYellow};
        for (int i = 0; i < 4; ++i) {
            CString name;
            name.Format(L"btn_%02d.png", i + 1);
            ASSERT_TRUE(WriteSolidPng(folder.ImagePath(L"demo", name), 40, 20, colours[i]));
        }
        info.name = L"ok";
        info.stand = folder.SkinPath(L"demo") + L"\\btn_";
    }

    // A button of the owner with the record as given.
    std::unique_ptr<CSkinButton> MakeButton(const SkinButtonInfo& record, UINT id = 10500,
                                            CToolTipCtrl* tooltip = nullptr) {
        std::unique_ptr<CSkinButton> button(new CSkinButton);
        EXPECT_TRUE(button->Create(&owner, id, record.check));
        EXPECT_TRUE(button->Setup(record, tooltip));
        return button;
    }

    static CSize SizeOf(const CSkinButton& button) { return button.GetRectInOwner().Size(); }
    static bool Shows(const CSkinButton& button, int state) {
        return button.GetCurImage() && button.GetCurImage() == button.GetStateImage(state);
    }

    SkinFolder folder;
    COwnerWnd owner;
    SkinButtonInfo info;
};

} // namespace

TEST_F(SkinButtonTest, PushButtonShowsPressedOnlyWhileHoveredAndHeld) {
    auto button = MakeButton(info);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    EXPECT_EQ(CSize(40, 20), SizeOf(*button));

    // A press before the hover notification keeps the normal image.
    button->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(button->m_bPressed);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    button->SendMessage(WM_MOUSEHOVER, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(Shows(*button, CSkinButton::kPressed));

    // Leaving clears hover and pressed even with the mouse button held.
    button->SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(button->m_bPressed);
    EXPECT_FALSE(button->m_bHover);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    button->SendMessage(WM_MOUSEHOVER, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover));

    // Released outside: no click, no hover.
    button->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-3), 5));
    EXPECT_FALSE(button->m_bHover);
    EXPECT_FALSE(button->m_bChecked);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    EXPECT_TRUE(owner.clicks.empty());
}

TEST_F(SkinButtonTest, ReleaseInsideClicksTheOwnerWithTheControlId) {
    auto button = MakeButton(info, 10777);
    button->SendMessage(WM_MOUSEHOVER, 0, 0);
    button->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    button->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ((std::vector<UINT>{10777}), owner.clicks);
    EXPECT_FALSE(button->m_bChecked) << "a push button never stays checked";
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover));
}

TEST_F(SkinButtonTest, CheckButtonTogglesAndHasNoPressedImage) {
    info.check = 1;
    auto button = MakeButton(info);
    button->SendMessage(WM_MOUSEHOVER, 0, 0);
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover));
    button->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover)) << "check buttons have no pressed state";
    button->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button->m_bChecked);
    EXPECT_TRUE(Shows(*button, CSkinButton::kChecked));

    button->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(Shows(*button, CSkinButton::kChecked));
    button->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(button->m_bChecked);
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover));
    EXPECT_EQ(2u, owner.clicks.size());
}

TEST_F(SkinButtonTest, CheckedButtonWithoutCheckedImageShowsNormalEvenWhenHovered) {
    ASSERT_TRUE(WriteSolidPng(folder.ImagePath(L"demo", L"two_01.png"), 30, 10, kRed));
    ASSERT_TRUE(WriteSolidPng(folder.ImagePath(L"demo", L"two_02.png"), 30, 10, kGreen));
    info.check = 1;
    info.stand = folder.SkinPath(L"demo") + L"\\two_";
    auto button = MakeButton(info);
    button->m_bChecked = TRUE;
    button->m_bHover = TRUE;
    button->UpdateStateImage();
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
}

TEST_F(SkinButtonTest, MissingImagesLeaveNothingToDrawAndFreedImagesAreNotCurrent) {
    // Only the hover image exists: it gives the size, but the current image is the (missing) normal one.
    ASSERT_TRUE(WriteSolidPng(folder.ImagePath(L"demo", L"half_02.png"), 33, 17, kGreen));
    info.stand = folder.SkinPath(L"demo") + L"\\half_";
    auto half = MakeButton(info, 10501);
    EXPECT_EQ(CSize(33, 17), SizeOf(*half));
    EXPECT_EQ(nullptr, half->GetCurImage());

    info.stand = folder.SkinPath(L"demo") + L"\\none_";
    auto none = MakeButton(info, 10502);
    EXPECT_EQ(CSize(50, 20), SizeOf(*none));
    EXPECT_EQ(nullptr, none->GetCurImage());

    info.stand = folder.SkinPath(L"demo") + L"\\btn_";
    auto full = MakeButton(info, 10503);
    ASSERT_NE(nullptr, full->GetCurImage());
    full->FreeImages();
    EXPECT_EQ(nullptr, full->GetCurImage());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(nullptr, full->GetStateImage(i));

    // Drawing any of them now draws nothing and touches no freed image.
    CSkinSurface surface(nullptr, 300, 200, CSkinSurface::Dib32);
    ASSERT_TRUE(surface.IsValid());
    half->Draw(*surface.GetGraphics());
    none->Draw(*surface.GetGraphics());
    full->Draw(*surface.GetGraphics());
    surface.EndDrawing();
    for (int y = 0; y < 200; y += 5)
        for (int x = 0; x < 300; x += 5) ASSERT_EQ(0u, surface.PixelAt(x, y)) << x << "," << y;

    // An empty image base names nothing (not files in the current folder).
    full->ReloadImages(L"");
    EXPECT_EQ(nullptr, full->GetCurImage());
    EXPECT_EQ(CSize(50, 20), SizeOf(*full));
}

TEST_F(SkinButtonTest, ImagesLoadFromFoldersLongerThanTheOldPathLimit) {
    // A base of more than 260 characters, which a fixed buffer would have cut.
    CString deep = CString(L"\\\\?\\") + folder.SkinPath(L"demo");
    CreateDirectoryW(deep, nullptr);
    while (deep.GetLength() < 300) {
        deep += L"\\a_rather_long_folder_name_for_players_who_install_deep";
        ASSERT_TRUE(CreateDirectoryW(deep, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    ASSERT_TRUE(WriteSolidPng(deep + L"\\long_01.png", 21, 13, kBlue));
    info.stand = deep.Mid(4) + L"\\long_";
    ASSERT_GT(info.stand.GetLength(), 260);
    auto button = MakeButton(info);
    ASSERT_NE(nullptr, button->GetCurImage());
    EXPECT_EQ(CSize(21, 13), SizeOf(*button));
}

TEST_F(SkinButtonTest, PlacedByItsAnchorThenReanchoredOnResize) {
    info.align = L"topright";
    info.left = 10;
    info.top = 5;
    auto topRight = MakeButton(info, 10510);
    // First placement measures to the button's left edge, re-anchoring to its right edge.
    EXPECT_EQ(CPoint(290, 5), topRight->GetRectInOwner().TopLeft());
    topRight->Reposition(CRect(0, 0, 300, 200));
    EXPECT_EQ(CPoint(250, 5), topRight->GetRectInOwner().TopLeft());

    info.align = L"BottomRight";
    auto bottomRight = MakeButton(info, 10511);
    EXPECT_EQ(CPoint(290, 195), bottomRight->GetRectInOwner().TopLeft());
    bottomRight->Reposition(CRect(0, 0, 400, 300));
    EXPECT_EQ(CPoint(350, 275), bottomRight->GetRectInOwner().TopLeft());

    info.align = L"Middle";
    auto middle = MakeButton(info, 10512);
    EXPECT_EQ(CPoint(10, 5), middle->GetRectInOwner().TopLeft()) << "first placement knows no Middle";
    middle->Reposition(CRect(0, 0, 300, 200));
    EXPECT_EQ(CPoint(130, 90), middle->GetRectInOwner().TopLeft());
}

TEST_F(SkinButtonTest, TooltipOnlyForButtonsWithATip) {
    CToolTipCtrl tooltip;
    ASSERT_TRUE(tooltip.Create(&owner, TTS_ALWAYSTIP));
    auto silent = MakeButton(info, 10520, &tooltip);
    EXPECT_EQ(0, tooltip.GetToolCount());
    info.tip = L"进入游戏";
    auto tipped = MakeButton(info, 10521, &tooltip);
    EXPECT_EQ(1, tooltip.GetToolCount());
    EXPECT_EQ(CString(L"进入游戏"), tooltip.GetText(tipped.get(), 10521));
}

TEST_F(SkinButtonTest, CursorFollowsTheHandFlag) {
    auto button = MakeButton(info);
    EXPECT_TRUE(button->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button->m_hWnd), HTCLIENT));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), GetCursor());
    button->m_bHandCursor = TRUE;
    button->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button->m_hWnd), HTCLIENT);
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), GetCursor());
}

TEST_F(SkinButtonTest, LargerButtonStretchesTheMiddleColumnOnly) {
    // 20 by 30: columns 0-8 blue, 9-11 yellow, 12-19 green; the stretched column is 10 (its
    // neighbours share its colour, as scaling blends them in).
    ASSERT_TRUE(WritePng(folder.ImagePath(L"demo", L"wide_01.png"), 20, 30,
                         [](int x, int) { return x < 9 ? kBlue : x < 12 ? kYellow : kGreen; }));
    info.stand = folder.SkinPath(L"demo") + L"\\wide_";
    auto button = MakeButton(info);
    button->MoveWindow(10, 20, 120, 30, FALSE);

    CSkinSurface surface(nullptr, 300, 200, CSkinSurface::Dib32);
    ASSERT_TRUE(surface.IsValid());
    button->Draw(*surface.GetGraphics());
    surface.EndDrawing();
    EXPECT_TRUE(Near(kBlue, surface.PixelAt(10 + 4, 35), 24)) << Hex(surface.PixelAt(14, 35));
    EXPECT_TRUE(Near(kYellow, surface.PixelAt(10 + 60, 35), 24)) << Hex(surface.PixelAt(70, 35));
    EXPECT_TRUE(Near(kGreen, surface.PixelAt(10 + 115, 35), 24)) << Hex(surface.PixelAt(125, 35));
    EXPECT_EQ(0u, surface.PixelAt(10 + 60, 20 + 31)) << "the height is not stretched";
}

TEST_F(SkinButtonTest, SmallerButtonGetsTheWholeImageAndTheBadgeSitsAt62) {
    ASSERT_TRUE(WritePng(folder.ImagePath(L"demo", L"sq_01.png"), 30, 30,
                         [](int x, int) { return x < 15 ? kRed : kGreen; }));
    ASSERT_TRUE(WriteSolidPng(folder.ImagePath(L"demo", L"badge.png"), 10, 10, kMagenta));
    info.stand = folder.SkinPath(L"demo") + L"\\sq_";
    info.icon1 = folder.SkinPath(L"demo") + L"\\badge.png";
    auto button = MakeButton(info);
    button->MoveWindow(0, 0, 20, 20, FALSE); // smaller: the whole image scaled down

    CSkinSurface surface(nullptr, 100, 100, CSkinSurface::Dib32);
    ASSERT_TRUE(surface.IsValid());
    button->Draw(*surface.GetGraphics());
    surface.EndDrawing();
    EXPECT_TRUE(Near(kRed, surface.PixelAt(4, 10), 24)) << Hex(surface.PixelAt(4, 10));
    EXPECT_TRUE(Near(kGreen, surface.PixelAt(16, 10), 24)) << Hex(surface.PixelAt(16, 10));
    EXPECT_EQ(0u, surface.PixelAt(25, 10)) << "nothing beyond the button";
    // The badge's bottom-right corner is 62 pixels from the button's top-left, outside the button.
    EXPECT_TRUE(Near(kMagenta, surface.PixelAt(57, 57), 24)) << Hex(surface.PixelAt(57, 57));
    EXPECT_EQ(0u, surface.PixelAt(63, 63));
}

TEST_F(SkinButtonTest, CaptionUsesTheHotColourWhileHoveredAndMissingFontsAreSkipped) {
    InstalledSkin skin("<CLIENTSKIN><FONT name=\"Caption\" size=\"18\" style=\"1\" family=\"Liberation Sans\"/>"
                       "</CLIENTSKIN>");
    ASSERT_TRUE(skin.Install());
    ASSERT_TRUE(WriteSolidPng(folder.ImagePath(L"demo", L"cap_01.png"), 120, 30, kBlack));
    info.stand = folder.SkinPath(L"demo") + L"\\cap_";
    info.title = L"WWWW";
    info.style = 4;
    info.color = RGB(255, 0, 0);
    info.hotcolor = RGB(0, 0, 255);

    // Counts pixels of the button dominated by red and by blue.
    auto draw = [&](CSkinButton& button, int& reds, int& blues) {
        CSkinSurface surface(nullptr, 300, 200, CSkinSurface::Dib32);
        ASSERT_TRUE(surface.IsValid());
        button.Draw(*surface.GetGraphics());
        surface.EndDrawing();
        reds = blues = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const Argb p = surface.PixelAt(x, y);
                const int r = (p >> 16) & 0xFF, b = p & 0xFF;
                reds += r > 150 && b < 80;
                blues += b > 150 && r < 80;
            }
    };
    info.font = L"caption"; // any letter case
    auto button = MakeButton(info, 10530);
    button->MoveWindow(0, 0, 120, 30, FALSE);
    int reds = 0, blues = 0;
    draw(*button, reds, blues);
    EXPECT_GT(reds, 10);
    EXPECT_EQ(0, blues);
    button->SendMessage(WM_MOUSEHOVER);
    draw(*button, reds, blues);
    EXPECT_EQ(0, reds);
    EXPECT_GT(blues, 10);

    info.font = L"NoSuchFont";
    auto unknown = MakeButton(info, 10531);
    unknown->MoveWindow(0, 0, 120, 30, FALSE);
    draw(*unknown, reds, blues);
    EXPECT_EQ(0, reds + blues) << "a caption without its font is not drawn";

    g_pSkinDocument = nullptr;
    draw(*button, reds, blues);
    EXPECT_EQ(0, reds + blues) << "without a skin document there is no font";
}

TEST_F(SkinButtonTest, SetCaptionReplacesTheTitle) {
    auto button = MakeButton(info);
    button->SetCaption(L"对手");
    EXPECT_EQ(CString(L"对手"), button->GetInfo().title);
}

// Blinking.

namespace {

// A double-buffered window that counts its paints, to stand for the game window.
class CPaintCountingWnd : public CSkinWnd2 {
public:
    CPaintCountingWnd() : CSkinWnd2(L"NOSUCHWND") {}
    int paints = 0;
    void OnPaint() override {
        ++paints;
        CSkinWnd2::OnPaint();
    }
    void OnSkinBtnClick(const SkinButtonInfo&) override {}
};

CSkinWnd2* g_testGameWnd = nullptr;
CSkinWnd2* TestGameWnd() { return g_testGameWnd; }

class SkinButtonBlinkTest : public SkinButtonTest {
protected:
    void SetUp() override {
        SkinButtonTest::SetUp();
        // The blink set is smaller, so the button's size tells which set is loaded.
        ASSERT_TRUE(WriteSolidPng(folder.ImagePath(L"demo", L"flash_01.png"), 30, 16, kMagenta));
        info.flash = folder.SkinPath(L"demo") + L"\\flash_";
        g_bBlinkPhase = FALSE;
    }
    void TearDown() override {
        g_pfnGetGameWnd = nullptr;
        g_testGameWnd = nullptr;
    }
};

} // namespace

TEST_F(SkinButtonBlinkTest, OnOffOnLeavesExactlyOneThreadAndOffLeavesNone) {
    auto button = MakeButton(info);
    const int before = CountThreads();
    ASSERT_GT(before, 0);

    button->SetBlink(TRUE);
    EXPECT_TRUE(button->m_bBlinking);
    EXPECT_EQ(before + 1, CountThreads());
    button->SetBlink(TRUE); // already on: nothing new
    EXPECT_EQ(before + 1, CountThreads());

    for (int i = 0; i < 25; ++i) {
        button->SetBlink(FALSE);
        button->SetBlink(TRUE);
    }
    EXPECT_EQ(before + 1, CountThreads());

    button->SetBlink(FALSE);
    EXPECT_FALSE(button->m_bBlinking);
    EXPECT_EQ(before, CountThreads());
    EXPECT_EQ(CSize(40, 20), SizeOf(*button)) << "the stand images are back";
}

TEST_F(SkinButtonBlinkTest, ThreadEndsWithItsButtonOrItsWindow) {
    auto first = MakeButton(info, 10601);
    auto second = MakeButton(info, 10602);
    const int before = CountThreads();
    first->SetBlink(TRUE);
    EXPECT_EQ(before + 1, CountThreads());
    first.reset(); // deleted while blinking
    EXPECT_EQ(before, CountThreads());

    // The owner destroys its windows first; the thread goes with the button's window.
    second->SetBlink(TRUE);
    EXPECT_EQ(before + 1, CountThreads());
    owner.DestroyWindow();
    EXPECT_EQ(before, CountThreads());
    EXPECT_FALSE(second->m_bBlinking);
}

TEST_F(SkinButtonBlinkTest, TicksAlternateTheImageSetsAndNeedNoGameWindow) {
    auto button = MakeButton(info);
    button->SetBlink(TRUE);
    // A tick with no game window (none installed, or the lookup answers null) only swaps images.
    button->SendMessage(WM_BUTTONBLINK);
    EXPECT_EQ(CSize(40, 20), SizeOf(*button)) << "first tick: stand set";
    EXPECT_TRUE(g_bBlinkPhase);
    g_pfnGetGameWnd = &TestGameWnd;
    EXPECT_EQ(1, button->SendMessage(WM_BUTTONBLINK));
    EXPECT_EQ(CSize(30, 16), SizeOf(*button)) << "second tick: flash set";
    EXPECT_FALSE(g_bBlinkPhase);

    // With a game window, every tick repaints it.
    CPaintCountingWnd game;
    ASSERT_TRUE(game.CreateWnd(nullptr, 0, WS_POPUP | WS_VISIBLE));
    game.MoveWindow(0, 0, 50, 50);
    g_testGameWnd = &game;
    game.paints = 0;
    button->SendMessage(WM_BUTTONBLINK);
    EXPECT_GT(game.paints, 0);

    // The thread's own ticks arrive (about every 600 ms).
    const CSize first = SizeOf(*button);
    EXPECT_TRUE(PumpUntil([&] { return SizeOf(*button) != first; }, 5000)) << "no tick arrived";

    // After the blink no tick changes anything.
    button->SetBlink(FALSE);
    const BOOL phase = g_bBlinkPhase;
    button->SendMessage(WM_BUTTONBLINK);
    EXPECT_EQ(phase, g_bBlinkPhase);
    EXPECT_EQ(CSize(40, 20), SizeOf(*button));
}

TEST_F(SkinButtonBlinkTest, ClickOnABlinkingButtonStopsTheBlinkBeforeTheOwnerSeesIt) {
    auto button = MakeButton(info, 10600);
    const int before = CountThreads();
    button->SetBlink(TRUE);
    button->SendMessage(WM_BUTTONBLINK);
    button->SendMessage(WM_BUTTONBLINK); // now showing the flash set
    ASSERT_EQ(CSize(30, 16), SizeOf(*button));

    button->SendMessage(BM_CLICK);
    EXPECT_FALSE(button->m_bBlinking);
    EXPECT_EQ(before, CountThreads());
    EXPECT_EQ(CSize(40, 20), SizeOf(*button));
    EXPECT_EQ((std::vector<UINT>{10600}), owner.clicks);
}
