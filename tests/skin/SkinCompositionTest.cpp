// The composition drawn into a 32-bit DIB and sampled in the middle of each region, plus the piece
// plans of the nine-slice that the drawing follows.
#include "SkinTestSupport.h"
#include "skin/SkinComposition.h"
#include "skin/SkinDocument.h"
#include "skin/SkinSurface.h"

#include <gtest/gtest.h>

using skintest::Argb;
using skintest::Hex;
using skintest::Near;
using skintest::Rgb;

namespace {

const Argb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF,
           kMagenta = 0xFFFF00FF, kWhite = 0xFFFFFFFF, kGrey = 0xFF808080;

// 100 by 60: red and yellow on the left, the right half split into two stripes of 25 columns.
Argb Quadrants(int x, int y) {
    if (y < 30) return x < 50 ? kRed : x < 75 ? kGreen : kBlue;
    return x < 50 ? kYellow : x < 75 ? kCyan : kMagenta;
}

bool SamePiece(const SkinPiece& p, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
    return p.src.Equals(Gdiplus::Rect(sx, sy, sw, sh)) && p.dst.Equals(Gdiplus::Rect(dx, dy, dw, dh));
}

std::string Describe(const std::vector<SkinPiece>& pieces) {
    std::string out;
    for (const SkinPiece& p : pieces) {
        char line[128];
        snprintf(line, sizeof line, "(%d,%d,%d,%d)->(%d,%d,%d,%d) ", p.src.X, p.src.Y, p.src.Width, p.src.Height,
                 p.dst.X, p.dst.Y, p.dst.Width, p.dst.Height);
        out += line;
    }
    return out;
}

SkinImgInfo Record(const CString& stand, int strech = 1, int ystrech = 1) {
    SkinImgInfo r;
    r.stand = stand;
    r.strech = strech;
    r.ystrech = ystrech;
    return r;
}

// A skin folder with images and a document over it.
class Composition : public ::testing::Test {
protected:
    void SetUp() override {
        m_quadrants = m_folder.ImagePath(L"s", L"quad.png");
        ASSERT_TRUE(skintest::WritePng(m_quadrants, 100, 60, Quadrants));
        m_folder.WriteXml(L"s", R"(<CLIENTSKIN><IMG name="logo" stand="logo.png"/>
            <FONT name="big" size="20" family="Arial" style="1"/>
            <FONT name="nofamily" size="20" family="No Such Family 123" style="0"/></CLIENTSKIN>)");
        ASSERT_TRUE(m_doc.LoadFrom(m_folder.ProgramDir(), L"s"));
    }

    // Composes into a fresh DIB of the window's size.
    std::unique_ptr<CSkinSurface> Compose(const std::vector<SkinImgInfo>& images, int w, int h, int dw, int dh,
                                          SkinSpread spread, const std::vector<SkinTextInfo>* texts = nullptr,
                                          const SkinWndInfo* info = nullptr) {
        std::unique_ptr<CSkinSurface> surface(new CSkinSurface(nullptr, w, h, CSkinSurface::Dib32));
        EXPECT_TRUE(surface->IsValid());
        SkinScene scene;
        scene.images = &images;
        scene.texts = texts;
        scene.wndInfo = info;
        scene.document = &m_doc;
        scene.geometry = {w, h, dw, dh, spread};
        ComposeSkin(*surface->GetGraphics(), scene);
        surface->EndDrawing();
        return surface;
    }

    skintest::SkinFolder m_folder;
    CSkinDocument m_doc;
    CString m_quadrants;
};

#define EXPECT_PIXEL(surface, x, y, colour)                                                                  \
    EXPECT_TRUE(Near(Rgb((surface).PixelAt(x, y)), Rgb(colour), 12))                                         \
        << "at (" << (x) << "," << (y) << ") got " << Hex((surface).PixelAt(x, y)) << " want " << Hex(colour)

} // namespace

TEST(NineSlicePlan, WorkedExampleTiled) {
    // Image 100 by 60, design 400 by 300, window 520 by 300.
    const auto p = PlanNineSliceTiled(100, 60, 0, 0, 120, 0, true, true);
    ASSERT_EQ(15u, p.size()) << Describe(p);
    EXPECT_TRUE(SamePiece(p[0], 0, 0, 50, 30, 0, 0, 50, 30));
    EXPECT_TRUE(SamePiece(p[1], 50, 0, 50, 30, 170, 0, 50, 30));
    EXPECT_TRUE(SamePiece(p[2], 0, 30, 50, 30, 0, 30, 50, 30));
    EXPECT_TRUE(SamePiece(p[3], 50, 30, 50, 30, 170, 30, 50, 30));
    EXPECT_TRUE(SamePiece(p[4], 50, 0, 50, 30, 50, 0, 50, 30));
    EXPECT_TRUE(SamePiece(p[5], 50, 0, 50, 30, 100, 0, 50, 30));
    EXPECT_TRUE(SamePiece(p[6], 50, 0, 20, 30, 150, 0, 20, 30));
    EXPECT_TRUE(SamePiece(p[7], 50, 30, 50, 30, 50, 30, 50, 30));
    EXPECT_TRUE(SamePiece(p[8], 50, 30, 50, 30, 100, 30, 50, 30));
    EXPECT_TRUE(SamePiece(p[9], 50, 30, 20, 30, 150, 30, 20, 30));
    EXPECT_TRUE(SamePiece(p[10], 0, 30, 50, 1, 0, 30, 50, 1));
    EXPECT_TRUE(SamePiece(p[11], 50, 30, 50, 1, 170, 30, 50, 1));
    EXPECT_TRUE(SamePiece(p[12], 50, 30, 50, 1, 50, 30, 50, 1));
    EXPECT_TRUE(SamePiece(p[13], 50, 30, 50, 1, 100, 30, 50, 1));
    EXPECT_TRUE(SamePiece(p[14], 50, 30, 20, 1, 150, 30, 20, 1));
}

TEST(NineSlicePlan, WorkedExampleStretched) {
    const auto p = PlanNineSliceStretched(100, 60, 0, 0, 120, 0, true, true);
    ASSERT_EQ(9u, p.size()) << Describe(p);
    EXPECT_TRUE(SamePiece(p[1], 50, 0, 50, 30, 170, 0, 50, 30));
    EXPECT_TRUE(SamePiece(p[4], 50, 0, 1, 30, 50, 0, 120, 30));
    EXPECT_TRUE(SamePiece(p[5], 50, 30, 1, 30, 50, 30, 120, 30));
    EXPECT_TRUE(SamePiece(p[6], 0, 30, 50, 1, 0, 30, 50, 1));
    EXPECT_TRUE(SamePiece(p[7], 50, 30, 50, 1, 170, 30, 50, 1));
    EXPECT_TRUE(SamePiece(p[8], 50, 30, 1, 1, 50, 30, 120, 1));
}

TEST(NineSlicePlan, NarrowAndLowImagesEnd) {
    // One pixel wide: no half to step by; each band is one stretched piece.
    const auto narrow = PlanNineSliceTiled(1, 40, 0, 0, 5000, 200, true, true);
    ASSERT_FALSE(narrow.empty());
    EXPECT_LT(narrow.size(), 10u) << Describe(narrow);
    int covered = 0;
    for (const SkinPiece& piece : narrow) {
        EXPECT_LE(piece.src.X + piece.src.Width, 1) << Describe(narrow); // never reads beyond the column
        if (piece.dst.Y == 20 && piece.dst.Height == 200) covered = piece.dst.Width;
    }
    EXPECT_EQ(5000, covered) << Describe(narrow);
    // One pixel high and one pixel in both directions, both variants.
    EXPECT_LT(PlanNineSliceTiled(300, 1, 0, 0, 900, 900, true, true).size(), 20u);
    EXPECT_LT(PlanNineSliceTiled(1, 1, 0, 0, 900, 900, true, true).size(), 10u);
    EXPECT_LT(PlanNineSliceStretched(1, 1, 0, 0, 900, 900, true, true).size(), 10u);
    // Two pixels wide steps by one: many pieces, but a finite band.
    EXPECT_EQ(4u + 3u * 900u + 2u, PlanNineSliceTiled(2, 2, 0, 0, 900, 0, true, true).size());
    EXPECT_TRUE(PlanNineSliceTiled(0, 10, 0, 0, 10, 10, true, true).empty());
}

TEST(NineSlicePlan, NotPositiveExtraWidth) {
    // Enlarged in height only: the right corners stay at x + hw and the bands are one pixel wide.
    const auto p = PlanNineSliceStretched(100, 60, 10, 0, -20, 40, true, true);
    EXPECT_TRUE(SamePiece(p[1], 50, 0, 50, 30, 60, 0, 50, 30)) << Describe(p);
    EXPECT_TRUE(SamePiece(p[4], 50, 0, 1, 30, 60, 0, 1, 30)) << Describe(p);
    EXPECT_TRUE(SamePiece(p[8], 50, 30, 1, 1, 60, 30, 1, 40)) << Describe(p);
}

TEST(ImagePlan, CasesByVariant) {
    SkinImgInfo r = Record(L"x");
    const SkinGeometry designTiled{400, 300, 400, 300, SkinSpread::Tiled};
    auto plain = PlanSkinImage(r, 100, 60, designTiled);
    ASSERT_EQ(1u, plain.pieces.size());
    EXPECT_TRUE(SamePiece(plain.pieces[0], 0, 0, 100, 60, 0, 0, 100, 60));

    // Taller only, strech 0: tiled draws plainly, stretched draws a nine-slice with hS = ey.
    r.strech = 0;
    EXPECT_EQ(1u, PlanSkinImage(r, 100, 60, {400, 340, 400, 300, SkinSpread::Tiled}).pieces.size());
    auto stretched = PlanSkinImage(r, 100, 60, {400, 340, 400, 300, SkinSpread::Stretched});
    ASSERT_EQ(9u, stretched.pieces.size());
    EXPECT_TRUE(SamePiece(stretched.pieces[8], 50, 30, 1, 1, 50, 30, 1, 40)) << Describe(stretched.pieces);

    // Width 200, height 0, enlarged with strech: sized, anchored by the image size, no round corners.
    SkinImgInfo sized = Record(L"x");
    sized.rect = {0, 0, 200, 0};
    sized.arc = 1;
    sized.align = L"BottomRight";
    auto s = PlanSkinImage(sized, 100, 60, {520, 300, 400, 300, SkinSpread::Tiled});
    ASSERT_EQ(1u, s.pieces.size());
    EXPECT_TRUE(SamePiece(s.pieces[0], 0, 0, 100, 60, 420, 240, 200, 60)) << Describe(s.pieces);
    EXPECT_FALSE(s.roundCorners);

    // Arc on a plain record 60 wide: radius 6.
    SkinImgInfo round = Record(L"x", 0, 0);
    round.rect = {0, 0, 60, 40};
    round.arc = 1;
    round.left = 5;
    round.top = 7;
    auto a = PlanSkinImage(round, 100, 60, designTiled);
    ASSERT_TRUE(a.roundCorners);
    EXPECT_FLOAT_EQ(6.0f, a.cornerRadius);
    EXPECT_FLOAT_EQ(5.0f, a.cornerRect.X);
    EXPECT_FLOAT_EQ(60.0f, a.cornerRect.Width);
}

TEST_F(Composition, WorkedExampleTiledPixels) {
    std::vector<SkinImgInfo> images{Record(m_quadrants)};
    auto s = Compose(images, 520, 300, 400, 300, SkinSpread::Tiled);
    EXPECT_PIXEL(*s, 25, 15, kRed);
    EXPECT_PIXEL(*s, 60, 15, kGreen);   // first copy of the right half
    EXPECT_PIXEL(*s, 90, 15, kBlue);
    EXPECT_PIXEL(*s, 110, 15, kGreen);  // second copy
    EXPECT_PIXEL(*s, 140, 15, kBlue);
    EXPECT_PIXEL(*s, 160, 15, kGreen);  // last piece, 20 columns
    EXPECT_PIXEL(*s, 180, 15, kGreen);  // top-right corner
    EXPECT_PIXEL(*s, 210, 15, kBlue);
    EXPECT_PIXEL(*s, 25, 45, kYellow);
    EXPECT_PIXEL(*s, 140, 45, kMagenta);
    EXPECT_PIXEL(*s, 160, 45, kCyan);
    EXPECT_PIXEL(*s, 210, 45, kMagenta);
    EXPECT_EQ(0u, s->PixelAt(300, 30)); // right of the image nothing is drawn
    EXPECT_EQ(0u, s->PixelAt(100, 100));
}

TEST_F(Composition, WorkedExampleStretchedPixels) {
    std::vector<SkinImgInfo> images{Record(m_quadrants)};
    auto s = Compose(images, 520, 300, 400, 300, SkinSpread::Stretched);
    EXPECT_PIXEL(*s, 25, 15, kRed);
    EXPECT_PIXEL(*s, 90, 15, kGreen); // column 50 stretched over 120 pixels
    EXPECT_PIXEL(*s, 140, 15, kGreen);
    EXPECT_PIXEL(*s, 140, 45, kCyan);
    EXPECT_PIXEL(*s, 210, 15, kBlue);
    EXPECT_PIXEL(*s, 210, 45, kMagenta);
    EXPECT_PIXEL(*s, 25, 45, kYellow);
    // A layered surface keeps the image's alpha: opaque where drawn, transparent elsewhere.
    EXPECT_EQ(0xFFu, s->PixelAt(140, 15) >> 24);
    EXPECT_EQ(0u, s->PixelAt(400, 100));
}

TEST_F(Composition, BothVariantsGrowInHeight) {
    // 100 by 60 grown by 40 rows in both directions: the bottom half moves down by ey.
    std::vector<SkinImgInfo> images{Record(m_quadrants)};
    for (SkinSpread spread : {SkinSpread::Tiled, SkinSpread::Stretched}) {
        auto s = Compose(images, 140, 100, 100, 60, spread);
        EXPECT_PIXEL(*s, 25, 85, kYellow);  // bottom-left corner moved down
        EXPECT_PIXEL(*s, 130, 85, kMagenta); // bottom-right corner moved right and down
        EXPECT_PIXEL(*s, 25, 10, kRed);
    }
}

TEST_F(Composition, OnePixelWideImageInEnlargedWindow) {
    const CString column = m_folder.ImagePath(L"s", L"column.png");
    ASSERT_TRUE(skintest::WriteSolidPng(column, 1, 40, kGrey));
    std::vector<SkinImgInfo> images{Record(column)};
    for (SkinSpread spread : {SkinSpread::Tiled, SkinSpread::Stretched}) {
        auto s = Compose(images, 600, 80, 100, 40, spread);
        EXPECT_PIXEL(*s, 300, 10, kGrey) << (spread == SkinSpread::Tiled ? "tiled" : "stretched");
        EXPECT_PIXEL(*s, 300, 30, kGrey);
    }
}

TEST_F(Composition, PlainAnchoredSizedAndHidden) {
    const CString solid = m_folder.ImagePath(L"s", L"solid.png");
    ASSERT_TRUE(skintest::WriteSolidPng(solid, 10, 10, kBlue));
    SkinImgInfo corner = Record(solid, 0, 0);
    corner.align = L"BottomRight";
    corner.left = 5;
    corner.top = 5;
    SkinImgInfo scaled = Record(solid, 0, 0);
    scaled.rect = {0, 0, 40, 20};
    scaled.left = 50;
    SkinImgInfo hidden = Record(m_quadrants, 0, 0);
    hidden.visible = FALSE;
    SkinImgInfo missing = Record(m_folder.ImagePath(L"s", L"missing.png"), 0, 0);
    std::vector<SkinImgInfo> images{hidden, missing, corner, scaled};
    auto s = Compose(images, 200, 100, 200, 100, SkinSpread::Tiled);
    EXPECT_PIXEL(*s, 190, 90, kBlue); // 200 - 10 - 5 = 185 .. 195
    EXPECT_EQ(0u, Rgb(s->PixelAt(180, 90)));
    EXPECT_PIXEL(*s, 85, 15, kBlue);  // scaled into 40 by 20
    EXPECT_EQ(0u, Rgb(s->PixelAt(95, 15)));
    EXPECT_EQ(0u, Rgb(s->PixelAt(25, 15))); // hidden record not drawn
}

TEST_F(Composition, RoundCornersWhitenOutsideTheArc) {
    const CString solid = m_folder.ImagePath(L"s", L"dark.png");
    ASSERT_TRUE(skintest::WriteSolidPng(solid, 60, 60, 0xFF202020));
    SkinImgInfo r = Record(solid, 0, 0);
    r.arc = 1;
    r.left = 10;
    r.top = 10;
    std::vector<SkinImgInfo> images{r};
    auto s = Compose(images, 100, 100, 100, 100, SkinSpread::Tiled);
    EXPECT_PIXEL(*s, 10, 10, kWhite);  // top-left corner
    EXPECT_PIXEL(*s, 10, 69, kWhite);  // bottom-left
    EXPECT_PIXEL(*s, 69, 69, kWhite);  // bottom-right
    EXPECT_PIXEL(*s, 69, 10, kWhite);  // top-right
    EXPECT_PIXEL(*s, 40, 40, 0xFF202020);
    EXPECT_PIXEL(*s, 40, 10, 0xFF202020); // the edge between corners keeps the image
}

TEST_F(Composition, TextsNeedTitleAndKnownFont) {
    const CString black = m_folder.ImagePath(L"s", L"black.png");
    ASSERT_TRUE(skintest::WriteSolidPng(black, 300, 120, 0xFF000000));
    std::vector<SkinImgInfo> images{Record(black, 0, 0)};
    auto text = [](const wchar_t* font, int top, const wchar_t* align = L"TopLeft") {
        SkinTextInfo t;
        t.title = L"WWWWWWWW";
        t.font = font;
        t.color = RGB(255, 255, 255);
        t.rect = {10, top, 290, top + 30};
        t.align = align;
        return t;
    };
    std::vector<SkinTextInfo> texts{text(L"BIG", 0), text(L"unknown", 40), text(L"nofamily", 80)};
    auto s = Compose(images, 300, 120, 300, 120, SkinSpread::Tiled, &texts);
    auto bright = [&](int top) {
        int n = 0;
        for (int y = top; y < top + 30; ++y)
            for (int x = 10; x < 290; ++x)
                if ((s->PixelAt(x, y) & 0xFF) > 128) ++n;
        return n;
    };
    EXPECT_GT(bright(0), 50);   // the known font draws
    EXPECT_EQ(0, bright(40));   // a font name the skin lacks: nothing
    EXPECT_GT(bright(80), 50);  // a family that is not installed falls back to sans-serif

    // Without a skin document no text is drawn at all.
    std::unique_ptr<CSkinSurface> bare(new CSkinSurface(nullptr, 300, 120, CSkinSurface::Dib32));
    SkinScene scene;
    scene.texts = &texts;
    scene.geometry = {300, 120, 300, 120, SkinSpread::Tiled};
    ComposeSkin(*bare->GetGraphics(), scene);
    bare->EndDrawing();
    int any = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x) any += bare->PixelAt(x, y) != 0;
    EXPECT_EQ(0, any);
}

TEST_F(Composition, TextAnchoredBottomRightMovesWithTheWindow) {
    SkinTextInfo t;
    t.rect = {10, 20, 110, 36};
    t.align = L"BottomRight";
    const Gdiplus::Rect r = PlaceSkinText(t, 500, 300);
    EXPECT_EQ(500 - 100 - 10, r.X);
    EXPECT_EQ(300 - 16 - 20, r.Y);
    EXPECT_EQ(100, r.Width);
    EXPECT_EQ(16, r.Height);
}

TEST_F(Composition, LayerOrderAndLogoTitle) {
    const CString logo = m_folder.ImagePath(L"s", L"logo.png");
    ASSERT_TRUE(skintest::WriteSolidPng(logo, 20, 10, kRed));
    const CString bg = m_folder.ImagePath(L"s", L"bg.png");
    ASSERT_TRUE(skintest::WriteSolidPng(bg, 200, 100, kBlue));
    std::vector<SkinImgInfo> images{Record(bg, 0, 0)};
    SkinWndInfo info;
    info.logo = 1;
    info.titleHeight = 30;
    info.title = L"WWWWWW";
    info.font = L"big";
    info.color = RGB(255, 255, 0);
    std::vector<int> order;
    std::unique_ptr<CSkinSurface> surface(new CSkinSurface(nullptr, 200, 100, CSkinSurface::Dib32));
    SkinScene scene;
    scene.images = &images;
    scene.wndInfo = &info;
    scene.document = &m_doc;
    scene.geometry = {200, 100, 200, 100, SkinSpread::Tiled};
    scene.loadImage = [&](const wchar_t* path) {
        order.push_back(CString(path) == bg ? 1 : 3);
        return LoadSkinImage(path);
    };
    scene.drawButtons = [&](Gdiplus::Graphics&) { order.push_back(2); };
    Gdiplus::RectF titleRect;
    scene.drawText = [&](Gdiplus::Graphics& g, const wchar_t* text, COLORREF colour, const SkinFontSpec& font,
                         const Gdiplus::RectF& layout) {
        order.push_back(4);
        titleRect = layout;
        EXPECT_EQ(RGB(255, 255, 0), colour);
        EXPECT_EQ(20, font.size);
        DrawSkinTextLine(g, text, colour, font, layout);
    };
    ComposeSkin(*surface->GetGraphics(), scene);
    surface->EndDrawing();
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), order);
    EXPECT_FLOAT_EQ(26.0f, titleRect.X); // logo width + 6
    EXPECT_FLOAT_EQ(200.0f, titleRect.Width);
    EXPECT_FLOAT_EQ(30.0f, titleRect.Height);
    EXPECT_PIXEL(*surface, 12, 15, kRed); // logo at x 3, y (30 - 10) / 2
    EXPECT_PIXEL(*surface, 12, 60, kBlue);

    // A missing logo file: the title starts at x = 6.
    m_folder.Dir().WriteFile(L"skin\\s\\logo.png", "not a png");
    CSkinDocument other;
    ASSERT_TRUE(other.LoadFrom(m_folder.ProgramDir(), L"s"));
    scene.document = &other;
    std::unique_ptr<CSkinSurface> again(new CSkinSurface(nullptr, 200, 100, CSkinSurface::Dib32));
    ComposeSkin(*again->GetGraphics(), scene);
    EXPECT_FLOAT_EQ(6.0f, titleRect.X);
}

TEST(SkinImageLoading, MissingOrBrokenFilesGiveNull) {
    TempDir dir;
    EXPECT_EQ(nullptr, LoadSkinImage(nullptr));
    EXPECT_EQ(nullptr, LoadSkinImage(L""));
    EXPECT_EQ(nullptr, LoadSkinImage(dir / L"none.png"));
    EXPECT_EQ(nullptr, LoadSkinImage(dir.WriteFile(L"bad.png", "garbage")));
    EXPECT_EQ(nullptr, LoadSkinImage((dir.Path() + L"\\").GetString())); // a folder
    EXPECT_EQ(nullptr, LoadSkinImage(CString(L'x', 40000).GetString()));  // a name no file can have
    ASSERT_TRUE(skintest::WriteSolidPng(dir / L"ok.png", 3, 2, kRed));
    SkinImagePtr ok = LoadSkinImage(dir / L"ok.png");
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(3u, ok->GetWidth());
}

TEST(SkinImageLoading, LongFolderPath) {
    TempDir dir;
    CString path = dir.Path();
    for (int i = 0; i < 6; ++i) {
        path += L"\\" + CString(L'p', 45);
        CreateDirectoryW(CString(L"\\\\?\\") + path, nullptr);
    }
    path += L"\\img.png";
    ASSERT_GT(path.GetLength(), MAX_PATH);
    if (!skintest::WriteSolidPng(CString(L"\\\\?\\") + path, 4, 4, kGreen)) GTEST_SKIP() << "cannot write long path";
    SkinImagePtr image = LoadSkinImage(path);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(4u, image->GetWidth());
}
