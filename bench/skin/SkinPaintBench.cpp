// skin-bench [PAINTS]: paints of the demo skin's windows through the real window bases, against the
// floor of the same GDI+ work issued by a bare loop.
//
// For each case it prints the median milliseconds per paint, the share of the paint spent loading
// (decoding) images, the median of the floor, and the ratio paint / floor. The floor repeats, per
// paint, what the toolkit asks of GDI and GDI+: the memory surface and its Graphics, every visible IMG
// record's image decoded from its file and drawn with the same source and target rectangles, the
// buttons' current images, the logo, the title and TEXT strings with their fonts made anew, the
// border, and the copy to the window (or the layered update). Run on a display of at least
// 1920 by 1080 (bench/skin/run.sh starts one).
#include "foundation/Config.h"
#include "skin/SkinDocument.h"
#include "skin/SkinSurface.h"
#include "skin/SkinWnd.h"
#include "skin/SkinWnd2.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <memory>
#include <vector>

namespace {

class CBenchWnd2 : public CSkinWnd2 {
public:
    using CSkinWnd2::CSkinWnd2;
    void OnSkinBtnClick(const SkinButtonInfo&) override {}
};

class CBenchLayeredWnd : public CSkinWnd {
public:
    using CSkinWnd::CSkinWnd;
    void OnSkinBtnClick(const SkinButtonInfo&) override {}
};

double TicksToMs(LONGLONG ticks) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

// Everything the floor draws, gathered once from the window (not timed).
struct FloorPlan {
    struct Image {
        CString path;
        std::vector<SkinPiece> pieces;
        bool roundCorners = false;
        Gdiplus::RectF cornerRect;
        float radius = 0;
    };
    struct Button {
        Gdiplus::Image* image = nullptr; // owned by the button, loaded once as the toolkit does
        Gdiplus::RectF rect;
        CString caption;
        SkinFontSpec font;
        COLORREF color = 0;
    };
    struct Text {
        CString text;
        SkinFontSpec font;
        COLORREF color = 0;
        Gdiplus::RectF rect;
    };
    std::vector<Image> images;
    std::vector<Button> buttons;
    CString logoPath;
    float titleHeight = 0;
    std::vector<Text> texts; // the title first when drawn
    COLORREF border = SKIN_NO_COLOR;
    int width = 0, height = 0;
};

FloorPlan PlanFloor(CSkinWndCommon& wnd, CSkinDocument& doc, SkinSpread spread) {
    FloorPlan plan;
    plan.width = wnd.m_nWidth;
    plan.height = wnd.m_nHeight;
    const SkinGeometry geometry{wnd.m_nWidth, wnd.m_nHeight, wnd.m_wndInfo.width, wnd.m_wndInfo.height, spread};
    for (const SkinImgInfo& record : wnd.m_vecImages) {
        SkinImagePtr image = LoadSkinImage(record.stand);
        if (!record.visible || !image) continue;
        SkinImagePlan p = PlanSkinImage(record, static_cast<int>(image->GetWidth()),
                                        static_cast<int>(image->GetHeight()), geometry);
        plan.images.push_back({record.stand, p.pieces, p.roundCorners, p.cornerRect, p.cornerRadius});
    }
    for (const auto& button : wnd.m_listButtons) {
        if (!button->IsWindowVisible() || !button->GetCurImage()) continue;
        const CRect r = button->GetRectInOwner();
        FloorPlan::Button b;
        b.image = button->GetCurImage();
        b.rect = Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
                                static_cast<float>(r.Height()));
        b.caption = button->GetInfo().title;
        b.font.name = button->GetInfo().font;
        b.color = button->GetInfo().color;
        if (b.font.name.IsEmpty() || !doc.GetFont(b.font)) b.caption.Empty();
        plan.buttons.push_back(b);
    }
    const SkinWndInfo& info = wnd.m_wndInfo;
    float logoWidth = 0;
    if (info.logo) {
        plan.logoPath = doc.GetLogoPath();
        plan.titleHeight = static_cast<float>(info.titleHeight);
        if (SkinImagePtr logo = LoadSkinImage(plan.logoPath)) logoWidth = static_cast<float>(logo->GetWidth());
        FloorPlan::Text title;
        title.font.name = info.font;
        if (!info.title.IsEmpty() && !info.font.IsEmpty() && doc.GetFont(title.font)) {
            title.text = info.title;
            title.color = info.color;
            title.rect = Gdiplus::RectF(logoWidth + 6, 0, static_cast<float>(plan.width), plan.titleHeight);
            plan.texts.push_back(title);
        }
    }
    for (const SkinTextInfo& text : wnd.m_vecTexts) {
        FloorPlan::Text t;
        t.font.name = text.font;
        if (text.title.IsEmpty() || text.font.IsEmpty() || !doc.GetFont(t.font)) continue;
        const Gdiplus::Rect r = PlaceSkinText(text, plan.width, plan.height);
        t.text = text.title;
        t.color = text.color;
        t.rect = Gdiplus::RectF(static_cast<float>(r.X), static_cast<float>(r.Y), static_cast<float>(r.Width),
                                static_cast<float>(r.Height));
        plan.texts.push_back(t);
    }
    plan.border = spread == SkinSpread::Tiled ? info.border : SKIN_NO_COLOR;
    return plan;
}

void FloorString(Gdiplus::Graphics& g, const CString& text, const SkinFontSpec& spec, COLORREF color,
                 const Gdiplus::RectF& rect, Gdiplus::StringAlignment align) {
    Gdiplus::FontFamily family(spec.family.GetString());
    Gdiplus::Font font(&family, static_cast<float>(spec.size), spec.style, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(align);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    g.DrawString(text.GetString(), -1, &font, rect, &format, &brush);
}

// One floor paint; returns the ticks spent decoding.
LONGLONG FloorPaint(const FloorPlan& plan, HWND hwnd, bool layered) {
    LONGLONG decode = 0;
    HDC window = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(window);
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    if (layered) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = plan.width;
        bmi.bmiHeader.biHeight = plan.height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bitmap = CreateDIBSection(mem, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    } else {
        bitmap = CreateCompatibleBitmap(window, plan.width, plan.height);
    }
    HGDIOBJ old = SelectObject(mem, bitmap);
    {
        Gdiplus::Graphics g(mem);
        if (!layered) g.SetSmoothingMode(Gdiplus::SmoothingModeNone);
        Gdiplus::ImageAttributes attributes;
        attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        for (const FloorPlan::Image& image : plan.images) {
            const LONGLONG start = Now();
            Gdiplus::Image loaded(image.path.GetString());
            loaded.GetWidth();
            decode += Now() - start;
            for (const SkinPiece& p : image.pieces)
                g.DrawImage(&loaded,
                            Gdiplus::RectF(static_cast<float>(p.dst.X), static_cast<float>(p.dst.Y),
                                           static_cast<float>(p.dst.Width), static_cast<float>(p.dst.Height)),
                            static_cast<float>(p.src.X), static_cast<float>(p.src.Y), static_cast<float>(p.src.Width),
                            static_cast<float>(p.src.Height), Gdiplus::UnitPixel, &attributes);
            if (image.roundCorners)
                for (int corner = 0; corner < 4; ++corner) DrawRoundCorner(g, image.cornerRect, corner, image.radius);
        }
        for (const FloorPlan::Button& b : plan.buttons) {
            g.DrawImage(b.image, b.rect);
            if (!b.caption.IsEmpty()) FloorString(g, b.caption, b.font, b.color, b.rect, Gdiplus::StringAlignmentCenter);
        }
        if (!plan.logoPath.IsEmpty()) {
            const LONGLONG start = Now();
            Gdiplus::Image logo(plan.logoPath.GetString());
            const float w = static_cast<float>(logo.GetWidth()), h = static_cast<float>(logo.GetHeight());
            decode += Now() - start;
            g.DrawImage(&logo, 3.0f, (plan.titleHeight - h) / 2, w, h);
        }
        for (const FloorPlan::Text& t : plan.texts)
            FloorString(g, t.text, t.font, t.color, t.rect, Gdiplus::StringAlignmentNear);
        if (plan.border <= 0xFFFFFF) {
            Gdiplus::Pen pen(Gdiplus::Color(255, GetRValue(plan.border), GetGValue(plan.border), GetBValue(plan.border)),
                             2.0f);
            g.DrawRectangle(&pen, 0, 0, plan.width, plan.height);
        }
    }
    if (layered) {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        POINT dst = {rc.left, rc.top}, src = {0, 0};
        SIZE size = {plan.width, plan.height};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(hwnd, window, &dst, &size, mem, &src, 0, &blend, ULW_ALPHA);
    }
    BitBlt(window, 0, 0, plan.width, plan.height, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(hwnd, window);
    return decode;
}

struct Result {
    double paintMs, decodeShare, floorMs, floorDecodeShare;
};

Result Measure(CSkinWndCommon& wnd, CSkinDocument& doc, bool layered, int paints) {
    HWND hwnd = wnd.GetSafeHwnd();
    const FloorPlan plan = PlanFloor(wnd, doc, layered ? SkinSpread::Stretched : SkinSpread::Tiled);
    std::vector<double> paint, decode, floor, floorDecode;
    for (int i = 0; i < 3; ++i) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); // warm up
    for (int i = 0; i < 3; ++i) FloorPaint(plan, hwnd, layered);
    // Interleaved, so that both see the same conditions.
    for (int i = 0; i < paints; ++i) {
        const SkinImageLoadTotals before = GetSkinImageLoadTotals();
        LONGLONG start = Now();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        paint.push_back(TicksToMs(Now() - start));
        decode.push_back(TicksToMs(GetSkinImageLoadTotals().ticks - before.ticks));
        start = Now();
        const LONGLONG floorDecodeTicks = FloorPaint(plan, hwnd, layered);
        floor.push_back(TicksToMs(Now() - start));
        floorDecode.push_back(TicksToMs(floorDecodeTicks));
    }
    const double p = Median(paint), f = Median(floor);
    return {p, p > 0 ? Median(decode) / p : 0, f, f > 0 ? Median(floorDecode) / f : 0};
}

void HideButton(CSkinWndCommon& wnd, const wchar_t* name) {
    CSkinButton* button = nullptr;
    if (wnd.FindButton(name, &button)) button->ShowWindow(SW_HIDE);
}

void Print(const wchar_t* name, int w, int h, const Result& r) {
    wprintf(L"%-28ls %5dx%-5d paint %8.2f ms  decode %5.1f%%   floor %8.2f ms (decode %5.1f%%)   ratio %5.2f\n", name,
            w, h, r.paintMs, 100 * r.decodeShare, r.floorMs, 100 * r.floorDecodeShare,
            r.floorMs > 0 ? r.paintMs / r.floorMs : 0);
    fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int paints = 60;
    if (argc > 2 || (argc == 2 && (paints = _wtoi(argv[1])) <= 0)) {
        fwprintf(stderr, L"usage: skin-bench [PAINTS]  (PAINTS: a positive number of paints per case, default 60)\n");
        return 2;
    }
    CGdiplusSession gdiplus;
    if (!gdiplus.IsOk()) {
        fwprintf(stderr, L"skin-bench: GDI+ did not start\n");
        return 1;
    }
    LoadConfigXml();
    CSkinDocument doc;
    if (!doc.Load()) {
        fwprintf(stderr, L"skin-bench: no loadable skin beside the program\n");
        return 1;
    }
    g_pSkinDocument = &doc;
    wprintf(L"skin-bench: %d paints per case, medians; decode = share of the paint spent loading images\n", paints);

    {
        CBenchWnd2 game(L"GAMEWND");
        if (!game.CreateWnd(nullptr, WS_EX_TOOLWINDOW, WS_POPUP)) return 1;
        HideButton(game, L"vip");
        HideButton(game, L"restore");
        game.ShowWindow(SW_SHOWNOACTIVATE);
        Print(L"GAMEWND (double-buffered)", game.m_nWidth, game.m_nHeight, Measure(game, doc, false, paints));
        game.SetWindowPos(nullptr, 0, 0, 1920, 1080, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        if (game.m_nWidth != 1920 || game.m_nHeight != 1080)
            fwprintf(stderr, L"skin-bench: the display limits the game window to %dx%d\n", game.m_nWidth,
                     game.m_nHeight);
        Print(L"GAMEWND (double-buffered)", game.m_nWidth, game.m_nHeight, Measure(game, doc, false, paints));
        game.DestroyWindow();
    }
    {
        CBenchLayeredWnd main(L"MAINWND");
        if (!main.CreateWnd(nullptr, WS_EX_TOOLWINDOW, WS_POPUP)) return 1;
        main.ShowImage(L"choose", FALSE);
        main.ShowWindow(SW_SHOWNOACTIVATE);
        Print(L"MAINWND (layered update)", main.m_nWidth, main.m_nHeight, Measure(main, doc, true, paints));
        main.DestroyWindow();
    }
    g_pSkinDocument = nullptr;
    return 0;
}
