// Skinned buttons driven by messages: state images, clicks, placement, drawing into the owner's
// surface, and blinking without leaked or doubled threads.
#include "SkinTestSupport.h"
#include "framework/Gdi.h"
#include "skin/GameWndHook.h"
#include "skin/SkinButton.h"
#include "skin/SkinComposition.h"
#include "skin/SkinWnd2.h"

using namespace skintest;

namespace {

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
        info.stand = Base(L"btn_");
    }

    CString Base(const wchar_t* name) const { return folder.SkinPath(L"demo") + L"\\" + name; }
    std::unique_ptr<CSkinButton> MakeButton(UINT id = 10500, CToolTipCtrl* tooltip = nullptr) {
        std::unique_ptr<CSkinButton> button(new CSkinButton);
        EXPECT_TRUE(button->Create(&owner, id, info.check));
        EXPECT_TRUE(button->Setup(info, tooltip));
        return button;
    }
    static std::unique_ptr<CSkinSurface> Drawn(CSkinButton& button) {
        return Paint(300, 200, [&](Gdiplus::Graphics& g) { button.Draw(g); });
    }
    static CSize SizeOf(const CSkinButton& button) { return button.GetRectInOwner().Size(); }
    static bool Shows(const CSkinButton& button, int state) {
        return button.GetCurImage() && button.GetCurImage() == button.GetStateImage(state);
    }
    static void Send(CSkinButton& button, UINT msg, WPARAM wParam = 0, int x = 5) {
        button.SendMessage(msg, wParam, MAKELPARAM(static_cast<WORD>(x), 5));
    }

    SkinFolder folder;
    COwnerWnd owner;
    SkinButtonInfo info;
};

} // namespace

TEST_F(SkinButtonTest, PushButtonShowsPressedOnlyWhileHoveredAndHeldAndClicksOnRelease) {
    auto button = MakeButton(10777);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    EXPECT_EQ(CSize(40, 20), SizeOf(*button));
    // A press before the hover notification keeps the normal image.
    Send(*button, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_TRUE(button->m_bPressed);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    Send(*button, WM_MOUSEHOVER, MK_LBUTTON);
    EXPECT_TRUE(Shows(*button, CSkinButton::kPressed));
    // Leaving clears hover and pressed even with the mouse button held.
    Send(*button, WM_MOUSELEAVE);
    EXPECT_FALSE(button->m_bPressed || button->m_bHover);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    Send(*button, WM_MOUSEHOVER, MK_LBUTTON);
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover));
    // Released outside: no click, no hover.
    Send(*button, WM_LBUTTONUP, 0, -3);
    EXPECT_FALSE(button->m_bHover || button->m_bChecked);
    EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    EXPECT_TRUE(owner.clicks.empty());
    // Released inside: the owner hears the control id; a push button never stays checked.
    button->m_bChecked = TRUE;
    Send(*button, WM_MOUSEHOVER);
    Send(*button, WM_LBUTTONDOWN, MK_LBUTTON);
    Send(*button, WM_LBUTTONUP);
    EXPECT_EQ((std::vector<UINT>{10777}), owner.clicks);
    EXPECT_FALSE(button->m_bChecked);
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover));
}

TEST_F(SkinButtonTest, CheckButtonTogglesAndMissingStateImagesFallBackToTheNormalOne) {
    info.check = 1;
    auto button = MakeButton();
    Send(*button, WM_MOUSEHOVER);
    Send(*button, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover)) << "check buttons have no pressed state";
    Send(*button, WM_LBUTTONUP);
    EXPECT_TRUE(button->m_bChecked);
    EXPECT_TRUE(Shows(*button, CSkinButton::kChecked));
    Send(*button, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_TRUE(Shows(*button, CSkinButton::kChecked));
    Send(*button, WM_LBUTTONUP);
    EXPECT_FALSE(button->m_bChecked);
    EXPECT_TRUE(Shows(*button, CSkinButton::kHover));
    EXPECT_EQ(2u, owner.clicks.size());

    // Without a checked image a checked button shows the normal one, even when hovered.
    ASSERT_TRUE(WriteSolidPng(Base(L"two_01.png"), 30, 10, kRed));
    ASSERT_TRUE(WriteSolidPng(Base(L"two_02.png"), 30, 10, kGreen));
    info.stand = Base(L"two_");
    auto two = MakeButton(10501);
    two->m_bChecked = two->m_bHover = TRUE;
    two->UpdateStateImage();
    EXPECT_TRUE(Shows(*two, CSkinButton::kNormal));
    // Likewise a push button held down without a pressed image: it is drawn, not left out.
    info.check = 0;
    auto held = MakeButton(10502);
    Send(*held, WM_MOUSEHOVER);
    Send(*held, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_TRUE(Shows(*held, CSkinButton::kNormal));
    EXPECT_PIXEL(*Drawn(*held), 15, 5, kRed);
}

TEST_F(SkinButtonTest, ButtonsOfOneLookShareTheirImagesWhileAnyOfThemLives) {
    ASSERT_TRUE(WriteSolidPng(Base(L"same_01.png"), 30, 10, kRed));
    info.stand = Base(L"same_");
    auto first = MakeButton(10601);
    auto second = MakeButton(10602);
    ASSERT_NE(first->GetStateImage(CSkinButton::kNormal), nullptr);
    EXPECT_EQ(first->GetStateImage(CSkinButton::kNormal), second->GetStateImage(CSkinButton::kNormal));
    // Once the last of them is gone, the file is read again.
    first.reset();
    second.reset();
    ASSERT_TRUE(WriteSolidPng(Base(L"same_01.png"), 30, 10, kGreen));
    auto third = MakeButton(10603);
    EXPECT_PIXEL(*Drawn(*third), 15, 5, kGreen);
}

TEST_F(SkinButtonTest, CreationDecodesOnlyTheNormalImageAndEachOtherStateOnceWhenFirstShown) {
    auto decodes = [start = GetSkinImageLoadTotals().count] {
        return GetSkinImageLoadTotals().count - start;
    };
    auto first = MakeButton(10611), second = MakeButton(10612);
    EXPECT_EQ(1, decodes()) << "two buttons of one look, only their normal image";
    Send(*first, WM_MOUSEHOVER);
    Send(*first, WM_LBUTTONDOWN, MK_LBUTTON);
    Send(*second, WM_MOUSEHOVER);
    EXPECT_TRUE(Shows(*first, CSkinButton::kPressed));
    EXPECT_TRUE(Shows(*second, CSkinButton::kHover));
    EXPECT_EQ(3, decodes()) << "hover and pressed, each once for both buttons";
}

TEST_F(SkinButtonTest, MouseRestingOnTheButtonBringsTheHoverImageEveryTimeAndTheOwnerRepaintsIt) {
    // Hover and leave notices come from the system's tracking, which needs the pointer really there.
    ASSERT_TRUE(WriteSolidPng(Base(L"cap_01.png"), 120, 30, kBlack));
    ASSERT_TRUE(WriteSolidPng(Base(L"cap_02.png"), 120, 30, kGreen));
    info.stand = Base(L"cap_");
    auto button = MakeButton();
    // Top-most and away from the corner where Wine keeps its tray window: the pointer must reach us.
    const int x0 = 300, y0 = 300;
    owner.SetWindowPos(HWND_TOPMOST, x0, y0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Whether the button's place in the owner awaits a repaint after the action.
    auto repaints = [&](const std::function<void()>& action) {
        owner.ValidateRect(nullptr);
        action();
        CRect dirty, common;
        const CRect place = button->GetRectInOwner();
        return GetUpdateRect(owner, &dirty, FALSE) && common.IntersectRect(dirty, place) && common == place;
    };
    POINT saved = {};
    GetCursorPos(&saved);
    for (int visit = 0; visit < 2; ++visit) {
        ASSERT_TRUE(SetCursorPos(x0 + 20, y0 + 10));
        Send(*button, WM_MOUSEMOVE, 0, 20);
        EXPECT_TRUE(PumpUntil([&] { return button->m_bHover; }, 3000)) << "no hover notice " << visit;
        EXPECT_TRUE(Shows(*button, CSkinButton::kHover));
        EXPECT_PIXEL(*Drawn(*button), 60, 15, kGreen);
        SetCursorPos(x0 + 250, y0 + 150);
        EXPECT_TRUE(PumpUntil([&] { return !button->m_bHover; }, 3000)) << "no leave notice " << visit;
        EXPECT_TRUE(Shows(*button, CSkinButton::kNormal));
    }
    SetCursorPos(saved.x, saved.y);
    EXPECT_TRUE(repaints([&] { Send(*button, WM_MOUSEHOVER); }));
    EXPECT_TRUE(repaints([&] { button->SetCaption(L"new"); }));
}

TEST_F(SkinButtonTest, HandCursorOnlyWhenAsked) {
    auto button = MakeButton();
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    button->m_bHandCursor = TRUE;
    EXPECT_TRUE(button->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button->m_hWnd), overClient));
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), GetCursor());
    button->m_bHandCursor = FALSE;
    button->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button->m_hWnd), overClient);
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), GetCursor());
}

TEST_F(SkinButtonTest, MissingImagesLeaveNothingToDrawAndFreedImagesAreNotCurrent) {
    // Only the hover image exists: it gives the size, but the current image is the (missing) normal one.
    ASSERT_TRUE(WriteSolidPng(Base(L"half_02.png"), 33, 17, kGreen));
    info.stand = Base(L"half_");
    auto half = MakeButton(10501);
    EXPECT_EQ(CSize(33, 17), SizeOf(*half));
    EXPECT_EQ(nullptr, half->GetCurImage());
    info.stand = Base(L"none_");
    auto none = MakeButton(10502);
    EXPECT_EQ(CSize(50, 20), SizeOf(*none));
    EXPECT_EQ(nullptr, none->GetCurImage());
    info.stand = Base(L"btn_");
    auto full = MakeButton(10503);
    ASSERT_NE(nullptr, full->GetCurImage());
    full->FreeImages();
    EXPECT_EQ(nullptr, full->GetCurImage());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(nullptr, full->GetStateImage(i));

    // Drawing any of them now draws nothing and touches no freed image.
    auto surface = Paint(300, 200, [&](Gdiplus::Graphics& g) {
        for (CSkinButton* b : {half.get(), none.get(), full.get()})
            b->Draw(g);
    });
    for (int y = 0; y < 200; y += 5)
        for (int x = 0; x < 300; x += 5)
            ASSERT_EQ(0u, surface->PixelAt(x, y)) << x << "," << y;

    // An empty image base names nothing (not files in the current folder).
    full->ReloadImages(L"");
    EXPECT_EQ(nullptr, full->GetCurImage());
    EXPECT_EQ(CSize(50, 20), SizeOf(*full));
}

TEST_F(SkinButtonTest, ImagesLoadFromFoldersLongerThanTheOldPathLimit) {
    const CString deep = MakeLongDir(folder.SkinPath(L"demo"), 300);
    ASSERT_TRUE(WriteSolidPng(CString(L"\\\\?\\") + deep + L"\\long_01.png", 21, 13, kBlue));
    info.stand = deep + L"\\long_";
    auto button = MakeButton();
    ASSERT_NE(nullptr, button->GetCurImage());
    EXPECT_EQ(CSize(21, 13), SizeOf(*button));
}

TEST_F(SkinButtonTest, PlacedByItsAnchorThenReanchoredOnResize) {
    info.left = 10;
    info.top = 5;
    // The first placement measures to the button's left edge and knows no Middle.
    const struct {
        const wchar_t* align;
        CPoint first;
        CRect owner;
        CPoint after;
    } cases[] = {{L"topright", {290, 5}, {0, 0, 300, 200}, {250, 5}},
                 {L"BottomRight", {290, 195}, {0, 0, 400, 300}, {350, 275}},
                 {L"Middle", {10, 5}, {0, 0, 300, 200}, {130, 90}}};
    UINT id = 10510;
    for (const auto& c : cases) {
        info.align = c.align;
        auto button = MakeButton(id++);
        EXPECT_EQ(c.first, button->GetRectInOwner().TopLeft()) << CString(c.align).ToUtf8();
        button->Reposition(c.owner);
        EXPECT_EQ(c.after, button->GetRectInOwner().TopLeft()) << CString(c.align).ToUtf8();
    }
}

TEST_F(SkinButtonTest, TooltipOnlyForButtonsWithATip) {
    CToolTipCtrl tooltip;
    ASSERT_TRUE(tooltip.Create(&owner, TTS_ALWAYSTIP));
    auto silent = MakeButton(10520, &tooltip);
    EXPECT_EQ(0, tooltip.GetToolCount());
    info.tip = L"进入游戏";
    auto tipped = MakeButton(10521, &tooltip);
    EXPECT_EQ(1, tooltip.GetToolCount());
    EXPECT_EQ(CString(L"进入游戏"), tooltip.GetText(tipped.get(), 10521));
    // The tip belongs to the whole button.
    TTHITTESTINFOW hit = {tipped->m_hWnd, {35, 15}};
    hit.ti.cbSize = TTTOOLINFOW_V2_SIZE;
    EXPECT_TRUE(tooltip.SendMessage(TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    EXPECT_EQ(10521u, hit.ti.uId);
}

TEST_F(SkinButtonTest, PressingNeverLetsTheSystemPaintItsOwnButtonFace) {
    auto button = MakeButton();
    // Top-most and away from the corner where Wine keeps its tray window: the pointer must reach us.
    const int x0 = 300, y0 = 300;
    owner.SetWindowPos(HWND_TOPMOST, x0, y0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpPending();
    CClientDC dc(owner);
    CBrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all = {0, 0, 300, 200};
    FillRect(dc, &all, magenta);
    Send(*button, WM_LBUTTONDOWN, MK_LBUTTON, 20);
    Send(*button, WM_LBUTTONUP, 0, 20);
    GdiFlush();
    EXPECT_EQ(RGB(255, 0, 255), GetPixel(dc, 20, 10)) << "the owner's picture stays";
}

TEST_F(SkinButtonTest, LargerButtonStretchesTheMiddleColumnSmallerGetsTheWholeImage) {
    // 20 by 30: columns 0-8 blue, 9-11 yellow, 12-19 green; the stretched column is 10 (its
    // neighbours share its colour, as scaling blends them in).
    ASSERT_TRUE(WritePng(Base(L"wide_01.png"), 20, 30, [](int x, int) {
        return x < 9 ? kBlue : x < 12 ? kYellow : kGreen;
    }));
    info.stand = Base(L"wide_");
    auto wide = MakeButton();
    wide->MoveWindow(10, 20, 120, 30, FALSE);
    auto s = Drawn(*wide);
    EXPECT_RGB_NEAR(s->PixelAt(14, 35), kBlue, 24);
    EXPECT_RGB_NEAR(s->PixelAt(70, 35), kYellow, 24);
    EXPECT_RGB_NEAR(s->PixelAt(125, 35), kGreen, 24);
    EXPECT_EQ(0u, s->PixelAt(70, 51)) << "the height is not stretched";

    // Smaller: the whole image scaled down; the badge's bottom-right corner is 62 pixels from the
    // button's top-left, outside the button.
    ASSERT_TRUE(WritePng(Base(L"sq_01.png"), 30, 30, [](int x, int) { return x < 15 ? kRed : kGreen; }));
    ASSERT_TRUE(WriteSolidPng(Base(L"badge.png"), 10, 10, kMagenta));
    info.stand = Base(L"sq_");
    info.icon1 = Base(L"badge.png");
    auto small = MakeButton(10501);
    small->MoveWindow(0, 0, 20, 20, FALSE);
    s = Drawn(*small);
    EXPECT_RGB_NEAR(s->PixelAt(4, 10), kRed, 24);
    EXPECT_RGB_NEAR(s->PixelAt(16, 10), kGreen, 24);
    EXPECT_EQ(0u, s->PixelAt(25, 10)) << "nothing beyond the button";
    EXPECT_RGB_NEAR(s->PixelAt(57, 57), kMagenta, 24);
    EXPECT_EQ(0u, s->PixelAt(63, 63));
}

TEST_F(SkinButtonTest, CaptionUsesTheHotColourWhileHoveredAndMissingFontsAreSkipped) {
    InstalledSkin skin(
        "<CLIENTSKIN><FONT name=\"Caption\" size=\"18\" style=\"1\" family=\"Liberation Sans\"/>"
        "</CLIENTSKIN>");
    ASSERT_TRUE(skin.Install());
    ASSERT_TRUE(WriteSolidPng(Base(L"cap_01.png"), 120, 30, kBlack));
    info.stand = Base(L"cap_");
    info.title = L"WWWW";
    info.style = 4;
    info.color = RGB(255, 0, 0);
    info.hotcolor = RGB(0, 0, 255);
    // Pixels of the button dominated by red and by blue.
    auto colours = [](CSkinButton& button) {
        auto s = Drawn(button);
        std::pair<int, int> n{0, 0};
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const int r = (s->PixelAt(x, y) >> 16) & 0xFF, b = s->PixelAt(x, y) & 0xFF;
                n.first += r > 150 && b < 80;
                n.second += b > 150 && r < 80;
            }
        return n;
    };
    info.font = L"caption"; // any letter case
    auto button = MakeButton(10530);
    button->MoveWindow(0, 0, 120, 30, FALSE);
    auto n = colours(*button);
    EXPECT_GT(n.first, 10);
    EXPECT_EQ(0, n.second);
    Send(*button, WM_MOUSEHOVER);
    n = colours(*button);
    EXPECT_EQ(0, n.first);
    EXPECT_GT(n.second, 10);
    // A checked button keeps the hot colour without the mouse.
    Send(*button, WM_MOUSELEAVE);
    button->m_bChecked = TRUE;
    n = colours(*button);
    EXPECT_EQ(0, n.first);
    EXPECT_GT(n.second, 10);

    info.font = L"NoSuchFont";
    auto unknown = MakeButton(10531);
    unknown->MoveWindow(0, 0, 120, 30, FALSE);
    EXPECT_EQ(std::make_pair(0, 0), colours(*unknown)) << "a caption without its font is not drawn";
    g_pSkinDocument = nullptr;
    EXPECT_EQ(std::make_pair(0, 0), colours(*button)) << "without a skin document there is no font";
}

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
CSkinWnd2* TestGameWnd() {
    return g_testGameWnd;
}

class SkinButtonBlinkTest : public SkinButtonTest {
protected:
    void SetUp() override {
        SkinButtonTest::SetUp();
        // The blink set is smaller, so the button's size tells which set is loaded.
        ASSERT_TRUE(WriteSolidPng(Base(L"flash_01.png"), 30, 16, kMagenta));
        info.flash = Base(L"flash_");
        g_bBlinkPhase = FALSE;
    }
    void TearDown() override {
        g_pfnGetGameWnd = nullptr;
        g_testGameWnd = nullptr;
    }
};

} // namespace

TEST_F(SkinButtonBlinkTest, OneThreadWhileBlinkingNoneAfterStopDeleteOrDestroy) {
    auto button = MakeButton(10601), second = MakeButton(10602);
    const int before = CountThreads();
    ASSERT_GT(before, 0);
    button->SetBlink(TRUE);
    button->SetBlink(TRUE); // already on: nothing new
    EXPECT_TRUE(button->m_bBlinking);
    for (int i = 0; i < 25; ++i) {
        button->SetBlink(FALSE);
        button->SetBlink(TRUE);
    }
    EXPECT_EQ(before + 1, CountThreads());
    button->SetBlink(FALSE);
    EXPECT_FALSE(button->m_bBlinking);
    EXPECT_EQ(before, CountThreads());
    EXPECT_EQ(CSize(40, 20), SizeOf(*button)) << "the stand images are back";

    button->SetBlink(TRUE);
    button.reset(); // deleted while blinking
    EXPECT_EQ(before, CountThreads());
    // The owner destroys its windows first; the thread goes with the button's window.
    second->SetBlink(TRUE);
    EXPECT_EQ(before + 1, CountThreads());
    owner.DestroyWindow();
    EXPECT_EQ(before, CountThreads());
    EXPECT_FALSE(second->m_bBlinking);
}

TEST_F(SkinButtonBlinkTest, TicksAlternateTheImageSetsAndNeedNoGameWindow) {
    auto button = MakeButton();
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

    // After the blink (the game window shows the stand images at once) no tick changes anything.
    game.paints = 0;
    button->SetBlink(FALSE);
    EXPECT_GT(game.paints, 0);
    const BOOL phase = g_bBlinkPhase;
    button->SendMessage(WM_BUTTONBLINK);
    EXPECT_EQ(phase, g_bBlinkPhase);
    EXPECT_EQ(CSize(40, 20), SizeOf(*button));
}

TEST_F(SkinButtonBlinkTest, TicksOfAnEndedBlinkDoNotReachTheNextOne) {
    auto button = MakeButton();
    button->SetBlink(TRUE);
    for (int i = 0; i < 3; ++i)
        button->PostMessage(WM_BUTTONBLINK);
    button->SetBlink(FALSE);
    button->SetBlink(TRUE);
    PumpPending();
    EXPECT_FALSE(g_bBlinkPhase);
    EXPECT_EQ(CSize(40, 20), SizeOf(*button));
}

TEST_F(SkinButtonBlinkTest, ClickOnABlinkingButtonStopsTheBlinkBeforeTheOwnerSeesIt) {
    auto button = MakeButton(10600);
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
