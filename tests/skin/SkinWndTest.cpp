// Both skinned window bases created from a skin on the virtual display: size and place, records and
// buttons, clicks routed by button name, closing through the "close" button, the command range,
// resizing, dragging, the double-buffered picture and the layered window's class and images.
#include "SkinTestSupport.h"
#include "foundation/Config.h"
#include "framework/Gdi.h"
#include "skin/SkinWnd.h"
#include "skin/SkinWnd2.h"

using namespace skintest;

namespace {

const Argb kBack = 0xFF203040;

const char kSkinXml[] =
    "<CLIENTSKIN>"
    "<FONT name=\"title\" size=\"14\" style=\"0\" family=\"Liberation Sans\"/>"
    "<TESTWND title=\"测试窗口\" width=\"300\" height=\"200\" titleHeight=\"30\" border=\"255,255,255\" "
    "font=\"title\">"
    "<IMG name=\"bg\" stand=\"bg.png\" strech=\"1\" ystrech=\"1\"/>"
    "<RECT name=\"View\" left=\"10\" top=\"40\" width=\"100\" height=\"50\"/>"
    "<BTN name=\"close\" stand=\"close_\" left=\"30\" top=\"5\" align=\"TopRight\"/>"
    "<BTN name=\"OK\" stand=\"ok_\" left=\"20\" top=\"150\" tip=\"确定\"/>"
    "<TEXT name=\"info\" left=\"10\" top=\"100\" width=\"100\" height=\"20\" title=\"a\" font=\"title\"/>"
    "<TEXT name=\"info\" left=\"10\" top=\"130\" width=\"100\" height=\"20\" title=\"b\" font=\"title\"/>"
    "<TEXT name=\"nofont\" left=\"10\" top=\"160\" width=\"100\" height=\"20\" title=\"c\"/>"
    "</TESTWND>"
    "<PLAINWND width=\"120\" height=\"80\"><IMG name=\"bg\" stand=\"bg.png\"/>"
    "<BTN name=\"ok\" stand=\"ok_\"/><BTN name=\"more\" stand=\"ok_\"/></PLAINWND>"
    "<LAYWND width=\"200\" height=\"100\">"
    "<IMG name=\"choose\" stand=\"half.png\"/><IMG name=\"Choose\" stand=\"half.png\" left=\"1\"/>"
    "<BTN name=\"close\" stand=\"close_\" left=\"150\"/><BTN name=\"go\" stand=\"ok_\" left=\"50\"/>"
    "</LAYWND>"
    "</CLIENTSKIN>";

// Records clicks by name and drag requests instead of running the system's move loop.
template <class Base> class CRecordingWnd : public Base {
public:
    explicit CRecordingWnd(const wchar_t* name, bool centre = true) : Base(name) {
        this->m_bCenterOnInit = centre;
    }
    std::vector<CString> clicked;
    int drags = 0;
    void OnSkinBtnClick(const SkinButtonInfo& info) override { clicked.push_back(info.name); }

protected:
    void OnSysCommand(UINT id, LPARAM lParam) override {
        if ((id & 0xFFF0) == SC_MOVE)
            ++drags;
        else
            Base::OnSysCommand(id, lParam);
    }
};
using CTestWnd2 = CRecordingWnd<CSkinWnd2>;
using CTestLayeredWnd = CRecordingWnd<CSkinWnd>;

// The layered window's updates, blended over green as the system blends them over what lies below,
// before they go on to the system.
struct LayeredUpdate {
    CSkinWnd::PFN_UPDATELAYEREDWINDOW system = nullptr;
    int calls = 0;
    DWORD flags = 0;
    COLORREF opaque = 0, half = 0, clear = 0; // at (50, 50), (110, 50), (150, 50)
} g_layered;

BOOL WINAPI BlendLayeredUpdate(HWND wnd, HDC dst, POINT* dstPos, SIZE* size, HDC src, POINT* srcPos,
                               COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
    ++g_layered.calls;
    g_layered.flags = flags;
    CMemoryDC dc(nullptr);
    CDibSection below;
    if (size && srcPos && blend && below.Create(dc, size->cx, size->cy)) {
        CSelectObject select(dc, below.GetBitmap());
        CBrushHandle green(CreateSolidBrush(RGB(0, 255, 0)));
        RECT all = {0, 0, size->cx, size->cy};
        FillRect(dc, &all, green);
        GdiAlphaBlend(dc, 0, 0, size->cx, size->cy, src, srcPos->x, srcPos->y, size->cx, size->cy, *blend);
        GdiFlush();
    }
    g_layered.opaque = below.Pixel(50, 50);
    g_layered.half = below.Pixel(110, 50);
    g_layered.clear = below.Pixel(150, 50);
    return g_layered.system(wnd, dst, dstPos, size, src, srcPos, key, blend, flags);
}

// Every message the tooltip is asked to relay, while installed (WH_CALLWNDPROC sees sent messages).
struct TooltipRelays {
    HHOOK hook = nullptr;
    HWND tooltip = nullptr;
    std::vector<MSG> relayed;
} g_relays;

LRESULT CALLBACK WatchRelays(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == g_relays.tooltip && sent->message == TTM_RELAYEVENT &&
        sent->lParam)
        g_relays.relayed.push_back(*reinterpret_cast<const MSG*>(sent->lParam));
    return CallNextHookEx(g_relays.hook, code, wParam, lParam);
}

class SkinWndTest : public ::testing::Test {
protected:
    SkinWndTest() : skin(kSkinXml) {}
    void SetUp() override {
        ASSERT_TRUE(WriteSolidPng(skin.Image(L"bg.png"), 300, 200, kBack));
        ASSERT_TRUE(WriteSolidPng(skin.Image(L"close_01.png"), 20, 20, kRed));
        ASSERT_TRUE(WriteSolidPng(skin.Image(L"ok_01.png"), 40, 20, kGreen));
        // Left half opaque, then a band of half-transparent red, the rest fully transparent.
        ASSERT_TRUE(WritePng(skin.Image(L"half.png"), 200, 100, [](int x, int) {
            return x < 100 ? kRed : x < 125 ? 0x80FF0000u : 0u;
        }));
        ASSERT_TRUE(skin.Install());
        g_strImClass = L"PellarTestImClass";
    }
    // A hidden layered window without visible buttons, at the origin.
    static void CreateBareLayered(CTestLayeredWnd& wnd) {
        ASSERT_TRUE(wnd.CreateWnd(nullptr, WS_EX_APPWINDOW, WS_POPUP));
        for (auto& button : wnd.m_listButtons)
            button->ShowWindow(SW_HIDE);
    }
    static CSkinButton* Button(CSkinWndCommon& wnd, const wchar_t* name) {
        CSkinButton* button = nullptr;
        wnd.FindButton(name, &button);
        return button;
    }
    static CRect WindowRect(const CWnd& wnd) {
        CRect rect;
        wnd.GetWindowRect(&rect);
        return rect;
    }

    InstalledSkin skin;
};

} // namespace

TEST_F(SkinWndTest, DoubleBufferedWindowTakesItsSizePlaceTitleRecordsAndButtons) {
    const int firstId = g_nSkinWnd2BtnId, layeredIds = g_nSkinWndBtnId;
    CTestWnd2 wnd(L"TESTWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(CRect(CPoint(area.left + (area.right - area.left - 300) / 2,
                           area.top + (area.bottom - area.top - 200) / 2),
                    CSize(300, 200)),
              WindowRect(wnd));
    EXPECT_EQ(CString(L"测试窗口"), wnd.GetWindowText());
    EXPECT_EQ(CSize(300, 200), CSize(wnd.m_nWidth, wnd.m_nHeight));
    EXPECT_EQ(3u, wnd.m_vecTexts.size());
    ASSERT_EQ(2u, wnd.m_listButtons.size());
    // Ids in document order from the shared counter; the layered base's counter is untouched.
    EXPECT_EQ(firstId, Button(wnd, L"CLOSE")->GetDlgCtrlID());
    EXPECT_EQ(firstId + 1, Button(wnd, L"ok")->GetDlgCtrlID());
    EXPECT_EQ(firstId + 2, g_nSkinWnd2BtnId);
    EXPECT_EQ(layeredIds, g_nSkinWndBtnId);
    EXPECT_EQ(1, wnd.m_tooltip.GetToolCount());
    SkinRectInfo view;
    ASSERT_TRUE(wnd.GetRectInfo(L"view", view));
    EXPECT_EQ(CRect(10, 40, 110, 90), CRect(view.rect));
    EXPECT_FALSE(wnd.GetRectInfo(L"nothing", view));
    EXPECT_EQ(nullptr, Button(wnd, L"nothing"));

    CTestWnd2 corner(L"PLAINWND", false); // not centred: at the origin
    ASSERT_TRUE(corner.CreateWnd(nullptr, 0, WS_POPUP));
    EXPECT_EQ(CRect(0, 0, 120, 80), WindowRect(corner));
}

TEST_F(SkinWndTest, ClicksAreRoutedByNameAndCloseClicksTheCloseButton) {
    CTestWnd2 wnd(L"TESTWND"), plain(L"PLAINWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    ASSERT_TRUE(plain.CreateWnd(nullptr, 0, WS_POPUP));
    Button(wnd, L"ok")->SendMessage(BM_CLICK);
    // An id in the range that no button of this window has does nothing.
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SKINBTN_LAST, BN_CLICKED), 0);
    wnd.SendMessage(WM_CLOSE);
    plain.SendMessage(WM_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return wnd.clicked.size() == 2; }, 3000));
    EXPECT_EQ((std::vector<CString>{L"OK", L"close"}), wnd.clicked);
    EXPECT_TRUE(plain.clicked.empty());
    EXPECT_TRUE(wnd.IsWindow() && plain.IsWindow());
    // Ids are never reused: a window made after another is destroyed gets new ones.
    const int oldId = Button(wnd, L"ok")->GetDlgCtrlID();
    wnd.DestroyWindow();
    CTestWnd2 again(L"TESTWND");
    ASSERT_TRUE(again.CreateWnd(nullptr, 0, WS_POPUP));
    EXPECT_GT(Button(again, L"close")->GetDlgCtrlID(), oldId);
}

TEST_F(SkinWndTest, ButtonNumberedPastTheRangeIsDrawnButNotRouted) {
    // As after 9999 earlier buttons: this window's buttons become the 10000th and the 10001st.
    const int saved = g_nSkinWnd2BtnId;
    g_nSkinWnd2BtnId = IDC_SKINBTN_FIRST + 9999;
    CTestWnd2 wnd(L"PLAINWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    g_nSkinWnd2BtnId = saved;
    CSkinButton* last = Button(wnd, L"ok");
    CSkinButton* beyond = Button(wnd, L"more");
    ASSERT_TRUE(last && beyond);
    EXPECT_EQ(19999, last->GetDlgCtrlID());
    EXPECT_EQ(20000, beyond->GetDlgCtrlID());
    EXPECT_TRUE(beyond->GetStyle() & WS_VISIBLE);
    beyond->SendMessage(BM_CLICK);
    last->SendMessage(BM_CLICK);
    EXPECT_EQ(std::vector<CString>{L"ok"}, wnd.clicked);
}

TEST_F(SkinWndTest, SizingKeepsTheLastPositiveSizeAndReanchorsButtonsAndTextsChange) {
    CTestWnd2 wnd(L"TESTWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    // Creation ends with a WM_SIZE, which anchors a TopRight button by its right edge.
    EXPECT_EQ(CPoint(250, 5), Button(wnd, L"close")->GetRectInOwner().TopLeft());
    wnd.SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_TRUE(wnd.m_bMinimized);
    EXPECT_EQ(CSize(300, 200), CSize(wnd.m_nWidth, wnd.m_nHeight));
    wnd.MoveWindow(0, 0, 400, 250);
    EXPECT_FALSE(wnd.m_bMinimized);
    EXPECT_EQ(CSize(400, 250), CSize(wnd.m_nWidth, wnd.m_nHeight));
    EXPECT_EQ(CPoint(350, 5), Button(wnd, L"close")->GetRectInOwner().TopLeft());
    EXPECT_EQ(CPoint(20, 150), Button(wnd, L"ok")->GetRectInOwner().TopLeft());

    // SetSkinText changes the first text record of the name, in any letter case, and repaints its place.
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    wnd.ValidateRect(nullptr);
    wnd.SetSkinText(L"INFO", L"新的");
    CRect dirty;
    EXPECT_TRUE(GetUpdateRect(wnd, &dirty, FALSE));
    EXPECT_EQ(CRect(10, 100, 110, 120), dirty);
    wnd.SetSkinText(L"nofont", L"kept");
    wnd.SetSkinText(L"missing", L"x");
    wnd.SetSkinText(L"info", nullptr);
    ASSERT_EQ(3u, wnd.m_vecTexts.size());
    EXPECT_EQ(
        (std::vector<CString>{L"", L"b", L"kept"}),
        (std::vector<CString>{wnd.m_vecTexts[0].title, wnd.m_vecTexts[1].title, wnd.m_vecTexts[2].title}));
}

TEST_F(SkinWndTest, DragsFromTheTitleStripOnlyAndTheLayeredWindowFromAnywhere) {
    CTestWnd2 wnd(L"TESTWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 30));
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 31));
    wnd.m_bDraggable = FALSE;
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 2));
    EXPECT_EQ(1, wnd.drags);

    CTestLayeredWnd layered(L"LAYWND");
    ASSERT_TRUE(layered.CreateWnd(nullptr, WS_EX_APPWINDOW, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX));
    layered.m_bDraggable = FALSE; // has no effect here
    layered.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 90));
    EXPECT_EQ(1, layered.drags);
}

TEST_F(SkinWndTest, PictureHasImagesButtonsBorderAndLeavesChildRectanglesAlone) {
    CTestWnd2 wnd(L"TESTWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    wnd.m_vecChildRects.push_back(CRect(150, 100, 200, 150));
    CMemoryDC dc(nullptr);
    CDibSection dib;
    ASSERT_TRUE(dib.Create(dc, 300, 200));
    CSelectObject select(dc, dib.GetBitmap());
    CBrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all = {0, 0, 300, 200};
    FillRect(dc, &all, magenta);
    wnd.RenderTo(dc, CRect(all));
    GdiFlush();
    EXPECT_RGB_NEAR(dib.Pixel(100, 80), kBack, 8);
    EXPECT_RGB_NEAR(dib.Pixel(0, 100), kWhite, 8) << " border";
    EXPECT_RGB_NEAR(dib.Pixel(170, 120), kMagenta, 8) << " child rectangle";
    EXPECT_RGB_NEAR(dib.Pixel(40, 160), kGreen, 8) << " ok button";
    EXPECT_RGB_NEAR(dib.Pixel(260, 15), kRed, 8) << " close button";
    Button(wnd, L"ok")->ShowWindow(SW_HIDE); // a hidden button is not drawn
    wnd.RenderTo(dc, CRect(all));
    GdiFlush();
    EXPECT_RGB_NEAR(dib.Pixel(40, 160), kBack, 8);

    // A window whose skin names no border colour has none.
    CTestWnd2 plain(L"PLAINWND");
    ASSERT_TRUE(plain.CreateWnd(nullptr, 0, WS_POPUP));
    plain.RenderTo(dc, CRect(0, 0, 120, 80));
    GdiFlush();
    EXPECT_RGB_NEAR(dib.Pixel(0, 70), kBack, 8);
}

TEST_F(SkinWndTest, DestroyingAWindowEndsItsButtonsBlinkThreads) {
    auto* wnd = new CTestWnd2(L"TESTWND");
    ASSERT_TRUE(wnd->CreateWnd(nullptr, 0, WS_POPUP));
    const int before = CountThreads();
    Button(*wnd, L"ok")->SetBlink(TRUE);
    Button(*wnd, L"close")->SetBlink(TRUE);
    EXPECT_EQ(before + 2, CountThreads());
    delete wnd;
    EXPECT_EQ(before, CountThreads());
}

TEST_F(SkinWndTest, LayeredWindowUsesTheConfiguredClassAndShowsOnlyWhenAsked) {
    const int layeredIds = g_nSkinWndBtnId, plainIds = g_nSkinWnd2BtnId;
    CTestLayeredWnd wnd(L"LAYWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, WS_EX_APPWINDOW, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX));
    wchar_t cls[256] = {};
    GetClassNameW(wnd.m_hWnd, cls, 256);
    EXPECT_STREQ(L"PellarTestImClass", cls);
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_LAYERED);
    EXPECT_NE(nullptr, wnd.m_pfnUpdateLayeredWindow);
    EXPECT_EQ(CSize(200, 100), WindowRect(wnd).Size());
    EXPECT_EQ(layeredIds + 2, g_nSkinWndBtnId);
    EXPECT_EQ(plainIds, g_nSkinWnd2BtnId);

    // A paint message to the hidden window neither draws nor shows it.
    wnd.SendMessage(WM_PAINT);
    EXPECT_FALSE(wnd.IsWindowVisible());
    const CRect before = WindowRect(wnd);
    // Showing also brings a minimised window back.
    wnd.ShowWindow(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(wnd) && wnd.m_bMinimized);
    wnd.ShowSkinWnd(TRUE);
    EXPECT_TRUE(wnd.IsWindowVisible());
    EXPECT_FALSE(IsIconic(wnd));
    EXPECT_EQ(before, WindowRect(wnd));
    wnd.ShowSkinWnd(FALSE);
    EXPECT_FALSE(wnd.IsWindowVisible());

    // ShowImage changes every record of the name, in any letter case.
    wnd.ShowImage(L"CHOOSE", FALSE);
    wnd.ShowImage(L"nothing", TRUE);
    ASSERT_EQ(2u, wnd.m_vecImages.size());
    EXPECT_FALSE(wnd.m_vecImages[0].visible || wnd.m_vecImages[1].visible);

    // Clicks by name, and closing through the "close" button.
    Button(wnd, L"go")->SendMessage(BM_CLICK);
    wnd.SendMessage(WM_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return wnd.clicked.size() == 2; }, 3000));
    EXPECT_EQ((std::vector<CString>{L"go", L"close"}), wnd.clicked);
    EXPECT_TRUE(wnd.IsWindow());

    // A second layered window shares the class.
    CTestLayeredWnd second(L"LAYWND");
    ASSERT_TRUE(second.CreateWnd(nullptr, WS_EX_APPWINDOW, WS_POPUP));
    GetClassNameW(second.m_hWnd, cls, 256);
    EXPECT_STREQ(L"PellarTestImClass", cls);
}

TEST_F(SkinWndTest, LayeredPictureKeepsTheImagesTransparencyInMemoryAndOnScreen) {
    // A green window below the layered one (left half opaque red, right half transparent).
    struct CGreenWnd : CWnd {
        void OnPaint() override {
            CPaintDC dc(m_hWnd);
            CBrushHandle green(CreateSolidBrush(RGB(0, 255, 0)));
            RECT all = {0, 0, 400, 300};
            FillRect(dc, &all, green);
        }
    } below;
    ASSERT_TRUE(below.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                               nullptr));
    below.UpdateWindow();
    CTestLayeredWnd wnd(L"LAYWND", false);
    CreateBareLayered(wnd);
    auto surface = Paint(200, 100, [&](Gdiplus::Graphics& g) { wnd.ComposePicture(g); });
    EXPECT_PIXEL(*surface, 50, 50, kRed);
    EXPECT_EQ(0u, surface->PixelAt(150, 50) >> 24) << "transparent stays transparent";

    // What the system gets keeps the picture's alpha: blended over what lies below, the half-transparent
    // band shows both colours (three quarters red: two IMG records draw it).
    g_layered = LayeredUpdate{wnd.m_pfnUpdateLayeredWindow};
    ASSERT_TRUE(g_layered.system);
    wnd.m_pfnUpdateLayeredWindow = &BlendLayeredUpdate;
    wnd.ShowSkinWnd(TRUE);
    ASSERT_GT(g_layered.calls, 0);
    EXPECT_EQ(static_cast<DWORD>(ULW_ALPHA), g_layered.flags);
    EXPECT_RGB_NEAR(g_layered.opaque, kRed, 8);
    EXPECT_RGB_NEAR(g_layered.half, 0xFFBF4000, 8);
    EXPECT_RGB_NEAR(g_layered.clear, kGreen, 8);

    // The display shows both windows only once the X server has drawn them; a loaded machine may take
    // a while, so read the screen until it settles (bounded).
    COLORREF opaque = 0, through = 0;
    auto readScreen = [&] {
        CClientDC screen(nullptr);
        opaque = GetPixel(screen, 50, 50);
        through = GetPixel(screen, 150, 50);
        return Near(Rgb(RGB(GetBValue(opaque), GetGValue(opaque), GetRValue(opaque))), Rgb(kRed), 8) &&
               Near(Rgb(RGB(GetBValue(through), GetGValue(through), GetRValue(through))), Rgb(kGreen), 8);
    };
    PumpUntil(readScreen, 8000);
    EXPECT_RGB_NEAR(RGB(GetBValue(opaque), GetGValue(opaque), GetRValue(opaque)), kRed, 8);
    EXPECT_RGB_NEAR(RGB(GetBValue(through), GetGValue(through), GetRValue(through)), kGreen, 8);
}

TEST_F(SkinWndTest, MouseMessagesOfTheWindowAndItsButtonsAreRelayedToTheTooltip) {
    CTestWnd2 wnd(L"TESTWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    CSkinButton* ok = Button(wnd, L"ok");
    ASSERT_TRUE(ok && wnd.m_tooltip.GetSafeHwnd());
    g_relays.relayed.clear();
    g_relays.tooltip = wnd.m_tooltip.GetSafeHwnd();
    g_relays.hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchRelays, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(g_relays.hook);
    ok->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    wnd.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    PumpPending();
    UnhookWindowsHookEx(g_relays.hook);
    std::vector<std::pair<HWND, UINT>> relayed;
    for (const MSG& msg : g_relays.relayed)
        relayed.emplace_back(msg.hwnd, msg.message);
    const std::vector<std::pair<HWND, UINT>> mouse = {{ok->m_hWnd, WM_MOUSEMOVE}, {wnd.m_hWnd, WM_LBUTTONUP}};
    EXPECT_EQ(mouse, relayed);
}

TEST_F(SkinWndTest, MaximisedToTheWorkAreaAndStaticChildrenTransparent) {
    CTestWnd2 wnd(L"TESTWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    MINMAXINFO limits = {};
    wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(CPoint(area.left, area.top), CPoint(limits.ptMaxPosition));
    EXPECT_EQ(CSize(area.right - area.left, area.bottom - area.top),
              CSize(limits.ptMaxSize.x, limits.ptMaxSize.y));
    EXPECT_EQ(CSize(limits.ptMaxSize.x, limits.ptMaxSize.y),
              CSize(limits.ptMaxTrackSize.x, limits.ptMaxTrackSize.y));

    // Static texts on the picture draw without a background of their own.
    HWND label = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, wnd, nullptr, nullptr, nullptr);
    CMemoryDC dc(nullptr);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)),
              wnd.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                              reinterpret_cast<LPARAM>(label)));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
}

TEST_F(SkinWndTest, WithoutASkinDocumentWindowsAreEmptyButWork) {
    g_pSkinDocument = nullptr;
    CTestWnd2 wnd(L"TESTWND");
    ASSERT_TRUE(wnd.CreateWnd(nullptr, 0, WS_POPUP));
    EXPECT_EQ(0, wnd.m_nWidth);
    EXPECT_TRUE(wnd.m_listButtons.empty());
    wnd.MoveWindow(0, 0, 50, 40);
    wnd.OnPaint(); // a direct repaint of an empty window
    wnd.SendMessage(WM_CLOSE);
    PumpPending();
    EXPECT_TRUE(wnd.clicked.empty());
}
