// skin-bench [PAINTS]: paints of the demo skin's windows through the real window bases, against the
// floor of the same GDI+ work issued by a bare loop on the same kind of surface.
//
// The cases are the windows the render tool draws (skin/render/SkinPreview.h), in the state in which
// the client first shows them. The floor repeats, per paint, what the toolkit asks of GDI and GDI+: a
// memory context with a 32-bit DIB section (the surface both window bases compose on) and its
// Graphics, every visible IMG record's image decoded from its file and drawn with the same source
// and target rectangles, the buttons' current images and captions, the logo, the title and TEXT
// strings with their fonts made anew, the border, and the copy to the window (or the layered
// update). Paints of ours and of the floor alternate, each round in the other order, so that both
// meet the same load. Per case it prints the medians, the share of our paint spent decoding images,
// the ratio of the medians and the range of the per-round ratios. Run on a display of at least 1920
// by 1080 (bench/skin/run.sh starts one).
#include "bench/BenchStats.h"
#include "foundation/Config.h"
#include "skin/SkinDocument.h"
#include "skin/render/SkinPreview.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

namespace {

using namespace skinpreview;

// The goal for every skinned paint: at most this many times the floor.
constexpr double kGoalRatio = 1.2;

double TicksToMs(LONGLONG ticks) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

Gdiplus::RectF ToRectF(const Gdiplus::Rect& r) {
    return Gdiplus::RectF(static_cast<float>(r.X), static_cast<float>(r.Y), static_cast<float>(r.Width),
                          static_cast<float>(r.Height));
}

Gdiplus::Color Opaque(COLORREF c) {
    return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c));
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
        Gdiplus::Image* image = nullptr; // the button's own, decoded once as the toolkit does
        Gdiplus::RectF rect;
        CString caption; // empty: none, or no font for it
        SkinFontSpec font;
        COLORREF color = 0;
        Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear;
        Gdiplus::StringAlignment lineAlign = Gdiplus::StringAlignmentCenter;
        float captionDown = 0;
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
    bool smoothingNone = false;
    // Something of the window that the floor does not draw (icons, badges, buttons larger than their
    // image): the case is then not like with like.
    bool incomplete = false;
};

// The caption's alignments and its downward shift by the button's layout style (captions without
// icons: the only kind the demo skin has).
void CaptionLayout(int style, FloorPlan::Button& b) {
    using Gdiplus::StringAlignmentCenter;
    switch (style) {
    case 0:
        b.align = Gdiplus::StringAlignmentNear;
        b.captionDown = 2;
        break;
    case 1:
        b.align = StringAlignmentCenter;
        b.captionDown = 2;
        break;
    case 2:
        b.align = Gdiplus::StringAlignmentFar;
        b.captionDown = 3;
        break;
    case 3:
        b.align = StringAlignmentCenter;
        break;
    case 4:
        b.align = StringAlignmentCenter;
        b.lineAlign = Gdiplus::StringAlignmentFar;
        break;
    default:
        b.caption.Empty();
        break;
    }
}

FloorPlan PlanFloor(CSkinWndCommon& wnd, CSkinDocument& doc, bool layered) {
    FloorPlan plan;
    plan.width = wnd.m_nWidth;
    plan.height = wnd.m_nHeight;
    plan.smoothingNone = !layered;
    const SkinGeometry geometry{wnd.m_nWidth, wnd.m_nHeight, wnd.m_wndInfo.width, wnd.m_wndInfo.height,
                                layered ? SkinSpread::Stretched : SkinSpread::Tiled};
    for (const SkinImgInfo& record : wnd.m_vecImages) {
        SkinImagePtr image = LoadSkinImage(record.stand);
        if (!record.visible || !image) continue;
        SkinImagePlan p = PlanSkinImage(record, static_cast<int>(image->GetWidth()),
                                        static_cast<int>(image->GetHeight()), geometry);
        plan.images.push_back({record.stand, p.pieces, p.roundCorners, p.cornerRect, p.cornerRadius});
    }
    for (const auto& button : wnd.m_listButtons) {
        if (!(button->GetStyle() & WS_VISIBLE) || !button->GetCurImage()) continue;
        const SkinButtonInfo& info = button->GetInfo();
        const CRect r = button->GetRectInOwner();
        FloorPlan::Button b;
        b.image = button->GetCurImage();
        b.rect = Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.top),
                                static_cast<float>(r.Width()), static_cast<float>(r.Height()));
        b.caption = info.title;
        b.font.name = info.font;
        b.color = (button->m_bHover || button->m_bChecked) ? info.hotcolor : info.color;
        if (b.font.name.IsEmpty() || !doc.GetFont(b.font)) b.caption.Empty();
        CaptionLayout(info.style, b);
        if (LoadSkinImage(info.icon) || LoadSkinImage(info.icon1) ||
            r.Width() > static_cast<int>(b.image->GetWidth()) ||
            r.Height() > static_cast<int>(b.image->GetHeight()))
            plan.incomplete = true;
        plan.buttons.push_back(b);
    }
    const SkinWndInfo& info = wnd.m_wndInfo;
    float logoWidth = 0;
    if (info.logo) {
        plan.logoPath = doc.GetLogoPath();
        plan.titleHeight = static_cast<float>(info.titleHeight);
        if (SkinImagePtr logo = LoadSkinImage(plan.logoPath))
            logoWidth = static_cast<float>(logo->GetWidth());
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
        t.text = text.title;
        t.color = text.color;
        t.rect = ToRectF(PlaceSkinText(text, plan.width, plan.height));
        plan.texts.push_back(t);
    }
    plan.border = layered ? SKIN_NO_COLOR : info.border;
    return plan;
}

void FloorString(Gdiplus::Graphics& g, const CString& text, const SkinFontSpec& spec, COLORREF color,
                 const Gdiplus::RectF& rect, Gdiplus::StringAlignment align,
                 Gdiplus::StringAlignment lineAlign, Gdiplus::StringTrimming trimming) {
    Gdiplus::FontFamily family(spec.family.GetString());
    Gdiplus::Font font(&family, static_cast<float>(spec.size), spec.style, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush brush(Opaque(color));
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(align);
    format.SetLineAlignment(lineAlign);
    format.SetTrimming(trimming);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    g.DrawString(text.GetString(), text.GetLength(), &font, rect, &format, &brush);
}

// One floor paint; returns the ticks spent decoding.
LONGLONG FloorPaint(const FloorPlan& plan, HWND hwnd, bool layered) {
    LONGLONG decode = 0;
    HDC window = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(window);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = plan.width;
    bmi.bmiHeader.biHeight = plan.height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(mem, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bitmap);
    {
        Gdiplus::Graphics g(mem);
        if (plan.smoothingNone) g.SetSmoothingMode(Gdiplus::SmoothingModeNone);
        for (const FloorPlan::Image& image : plan.images) {
            const LONGLONG start = Now();
            Gdiplus::Image loaded(image.path.GetString());
            loaded.GetWidth();
            decode += Now() - start;
            Gdiplus::ImageAttributes attributes;
            attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
            for (const SkinPiece& p : image.pieces)
                g.DrawImage(&loaded, ToRectF(p.dst), static_cast<float>(p.src.X), static_cast<float>(p.src.Y),
                            static_cast<float>(p.src.Width), static_cast<float>(p.src.Height),
                            Gdiplus::UnitPixel, &attributes);
            if (image.roundCorners)
                for (int corner = 0; corner < 4; ++corner)
                    DrawRoundCorner(g, image.cornerRect, corner, image.radius);
        }
        for (const FloorPlan::Button& b : plan.buttons) {
            g.DrawImage(b.image, b.rect, 0, 0, static_cast<float>(b.image->GetWidth()),
                        static_cast<float>(b.image->GetHeight()), Gdiplus::UnitPixel);
            if (!b.caption.IsEmpty()) {
                Gdiplus::RectF layout = b.rect;
                layout.Y += b.captionDown;
                FloorString(g, b.caption, b.font, b.color, layout, b.align, b.lineAlign,
                            Gdiplus::StringTrimmingWord);
            }
        }
        if (!plan.logoPath.IsEmpty()) {
            const LONGLONG start = Now();
            Gdiplus::Image logo(plan.logoPath.GetString());
            const float w = static_cast<float>(logo.GetWidth()), h = static_cast<float>(logo.GetHeight());
            decode += Now() - start;
            g.DrawImage(&logo, 3.0f, (plan.titleHeight - h) / 2, w, h);
        }
        for (const FloorPlan::Text& t : plan.texts)
            FloorString(g, t.text, t.font, t.color, t.rect, Gdiplus::StringAlignmentNear,
                        Gdiplus::StringAlignmentCenter, Gdiplus::StringTrimmingEllipsisCharacter);
        if (plan.border <= 0xFFFFFF) {
            Gdiplus::SolidBrush brush(Opaque(plan.border));
            const float w = static_cast<float>(plan.width), h = static_cast<float>(plan.height);
            g.FillRectangle(&brush, Gdiplus::RectF(-1, -1, w + 2, 2));
            g.FillRectangle(&brush, Gdiplus::RectF(-1, h - 1, w + 2, 2));
            g.FillRectangle(&brush, Gdiplus::RectF(-1, -1, 2, h + 2));
            g.FillRectangle(&brush, Gdiplus::RectF(w - 1, -1, 2, h + 2));
        }
        g.Flush(Gdiplus::FlushIntentionSync);
    }
    GdiFlush();
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
    double oursMs = 0, decodeShare = 0, floorMs = 0, lowRatio = 0, highRatio = 0;
    double Ratio() const { return floorMs > 0 ? oursMs / floorMs : 0; }
};

Result Measure(CSkinWndCommon& wnd, const FloorPlan& plan, bool layered, int paints) {
    HWND hwnd = wnd.GetSafeHwnd();
    auto paintOurs = [&](double& decodeMs) {
        const SkinImageLoadTotals before = GetSkinImageLoadTotals();
        const LONGLONG start = Now();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const double ms = TicksToMs(Now() - start);
        decodeMs = TicksToMs(GetSkinImageLoadTotals().ticks - before.ticks);
        return ms;
    };
    auto paintFloor = [&] {
        const LONGLONG start = Now();
        FloorPaint(plan, hwnd, layered);
        return TicksToMs(Now() - start);
    };
    double ignored = 0;
    for (int i = 0; i < 3; ++i) { // warm up both
        paintOurs(ignored);
        paintFloor();
    }
    std::vector<double> ours, decode, floor, ratios;
    for (int i = 0; i < paints; ++i) {
        double o = 0, f = 0, d = 0;
        if (i % 2 == 0) {
            o = paintOurs(d);
            f = paintFloor();
        } else {
            f = paintFloor();
            o = paintOurs(d);
        }
        ours.push_back(o);
        decode.push_back(d);
        floor.push_back(f);
        if (f > 0) ratios.push_back(o / f);
    }
    Result r;
    r.oursMs = Median(ours);
    r.decodeShare = r.oursMs > 0 ? Median(decode) / r.oursMs : 0;
    r.floorMs = Median(floor);
    if (!ratios.empty()) {
        r.lowRatio = *std::min_element(ratios.begin(), ratios.end());
        r.highRatio = *std::max_element(ratios.begin(), ratios.end());
    }
    return r;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int paints = 60;
    if (argc > 2 || (argc == 2 && (paints = _wtoi(argv[1])) <= 0)) {
        fwprintf(stderr,
                 L"usage: skin-bench [PAINTS]  (PAINTS: a positive number of paints per case, default 60)\n");
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
    wprintf(L"skin-bench: %d paints per case, ours and the floor alternating, both on a 32-bit DIB section;\n"
            L"medians; decode = share of our paint spent loading images; ratio = ours / floor (range of the\n"
            L"per-round ratios); goal: ratio at most %.2f\n",
            paints, kGoalRatio);
    int missed = 0, failed = 0;
    for (const PreviewJob& job : kPreviewJobs) {
        const bool layered = IsLayered(job.window);
        std::unique_ptr<CSkinWndCommon> wnd = MakePreviewWindow(job);
        if (!wnd) {
            fwprintf(stderr, L"skin-bench: could not create %ls\n", job.window);
            ++failed;
            continue;
        }
        if (job.width > 0 && (wnd->m_nWidth != job.width || wnd->m_nHeight != job.height))
            fwprintf(stderr, L"skin-bench: the display limits %ls to %dx%d\n", job.window, wnd->m_nWidth,
                     wnd->m_nHeight);
        const FloorPlan plan = PlanFloor(*wnd, doc, layered);
        const Result r = Measure(*wnd, plan, layered, paints);
        const bool met = r.Ratio() <= kGoalRatio;
        missed += met ? 0 : 1;
        wprintf(L"%-18ls %4dx%-4d %-7ls ours %7.2f ms (decode %4.1f%%)  floor %7.2f ms  ratio %4.2f "
                L"(%4.2f..%4.2f) "
                L"%ls%ls\n",
                job.file, wnd->m_nWidth, wnd->m_nHeight, layered ? L"layered" : L"buffer", r.oursMs,
                100 * r.decodeShare, r.floorMs, r.Ratio(), r.lowRatio, r.highRatio, met ? L"met" : L"MISSED",
                plan.incomplete ? L" (floor omits icons or nine-slice buttons)" : L"");
        fflush(stdout);
        wnd->DestroyWindow();
    }
    wprintf(L"skin-bench: %d of %d cases within %.2fx of the floor\n",
            static_cast<int>(std::size(kPreviewJobs)) - missed - failed,
            static_cast<int>(std::size(kPreviewJobs)), kGoalRatio);
    g_pSkinDocument = nullptr;
    return failed ? 1 : 0;
}
