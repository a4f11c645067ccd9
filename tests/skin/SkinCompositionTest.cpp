// The composition drawn into a 32-bit DIB and sampled in the middle of each region, plus the piece
// plans of the nine-slice that the drawing follows.
#include "SkinTestSupport.h"
#include "skin/SkinComposition.h"

using namespace skintest;

namespace {

const Argb kGrey = 0xFF808080, kDark = 0xFF202020;

// 100 by 60: red and yellow on the left, the right half split into two stripes of 25 columns.
Argb Quadrants(int x, int y) {
    if (y < 30) return x < 50 ? kRed : x < 75 ? kGreen : kBlue;
    return x < 50 ? kYellow : x < 75 ? kCyan : kMagenta;
}

// "src>dst " per piece, each rectangle as x,y,w,h.
std::string Describe(const std::vector<SkinPiece>& pieces) {
    std::string out;
    for (const SkinPiece& p : pieces) {
        char line[96];
        snprintf(line, sizeof line, "%d,%d,%d,%d>%d,%d,%d,%d ", p.src.X, p.src.Y, p.src.Width, p.src.Height,
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

// A skin folder with the quadrant image and a document over it.
class Composition : public ::testing::Test {
protected:
    void SetUp() override {
        m_quadrants = Image(L"quad.png", 100, 60, Quadrants);
        m_folder.WriteXml(L"s", R"(<CLIENTSKIN><IMG name="logo" stand="logo.png"/>
            <FONT name="big" size="20" family="Arial" style="1"/>
            <FONT name="nofamily" size="20" family="No Such Family 123" style="0"/></CLIENTSKIN>)");
        ASSERT_TRUE(m_doc.LoadFrom(m_folder.ProgramDir(), L"s"));
    }
    CString Image(const wchar_t* name, int w, int h, const std::function<Argb(int, int)>& colour) {
        const CString path = m_folder.ImagePath(L"s", name);
        EXPECT_TRUE(WritePng(path, w, h, colour));
        return path;
    }
    CString Solid(const wchar_t* name, int w, int h, Argb colour) {
        return Image(name, w, h, [colour](int, int) { return colour; });
    }
    std::unique_ptr<CSkinSurface> Compose(SkinScene& scene) {
        if (!scene.document) scene.document = &m_doc;
        return Paint(scene.geometry.width, scene.geometry.height,
                     [&](Gdiplus::Graphics& g) { ComposeSkin(g, scene); });
    }
    std::unique_ptr<CSkinSurface> Compose(const std::vector<SkinImgInfo>& images, SkinGeometry geometry,
                                          const std::vector<SkinTextInfo>* texts = nullptr) {
        SkinScene scene;
        scene.images = &images;
        scene.texts = texts;
        scene.geometry = geometry;
        return Compose(scene);
    }

    SkinFolder m_folder;
    CSkinDocument m_doc;
    CString m_quadrants;
};

} // namespace

TEST(NineSlicePlan, WorkedExample) {
    // Image 100 by 60, design 400 by 300, window 520 by 300.
    EXPECT_EQ("0,0,50,30>0,0,50,30 50,0,50,30>170,0,50,30 0,30,50,30>0,30,50,30 50,30,50,30>170,30,50,30 "
              "50,0,50,30>50,0,50,30 50,0,50,30>100,0,50,30 50,0,20,30>150,0,20,30 50,30,50,30>50,30,50,30 "
              "50,30,50,30>100,30,50,30 50,30,20,30>150,30,20,30 0,30,50,1>0,30,50,1 50,30,50,1>170,30,50,1 "
              "50,30,50,1>50,30,50,1 50,30,50,1>100,30,50,1 50,30,20,1>150,30,20,1 ",
              Describe(PlanNineSliceTiled(100, 60, 0, 0, 120, 0, true, true)));
    EXPECT_EQ("0,0,50,30>0,0,50,30 50,0,50,30>170,0,50,30 0,30,50,30>0,30,50,30 50,30,50,30>170,30,50,30 "
              "50,0,1,30>50,0,120,30 50,30,1,30>50,30,120,30 0,30,50,1>0,30,50,1 50,30,50,1>170,30,50,1 "
              "50,30,1,1>50,30,120,1 ",
              Describe(PlanNineSliceStretched(100, 60, 0, 0, 120, 0, true, true)));
    // Enlarged in height only: the right corners stay at x + hw and the bands are one pixel wide.
    const auto p = PlanNineSliceStretched(100, 60, 10, 0, -20, 40, true, true);
    ASSERT_EQ(9u, p.size());
    EXPECT_EQ("50,0,50,30>60,0,50,30 50,0,1,30>60,0,1,30 50,30,1,1>60,30,1,40 ",
              Describe({p[1], p[4], p[8]}));
}

TEST(NineSlicePlan, NarrowAndLowImagesEnd) {
    // One pixel wide: no half to step by; each band is one stretched piece within the column.
    const auto narrow = PlanNineSliceTiled(1, 40, 0, 0, 5000, 200, true, true);
    ASSERT_FALSE(narrow.empty());
    EXPECT_LT(narrow.size(), 10u) << Describe(narrow);
    int covered = 0;
    for (const SkinPiece& piece : narrow) {
        EXPECT_LE(piece.src.X + piece.src.Width, 1) << Describe(narrow);
        if (piece.dst.Y == 20 && piece.dst.Height == 200) covered = piece.dst.Width;
    }
    EXPECT_EQ(5000, covered) << Describe(narrow);
    EXPECT_LT(PlanNineSliceTiled(300, 1, 0, 0, 900, 900, true, true).size(), 20u);
    EXPECT_LT(PlanNineSliceTiled(1, 1, 0, 0, 900, 900, true, true).size(), 10u);
    EXPECT_LT(PlanNineSliceStretched(1, 1, 0, 0, 900, 900, true, true).size(), 10u);
    // Two pixels wide steps by one: many pieces, but a finite band.
    EXPECT_EQ(4u + 3u * 900u + 2u, PlanNineSliceTiled(2, 2, 0, 0, 900, 0, true, true).size());
    EXPECT_TRUE(PlanNineSliceTiled(0, 10, 0, 0, 10, 10, true, true).empty());
}

TEST(ImagePlan, CasesByVariant) {
    SkinImgInfo r = Record(L"x", 0);
    // Taller only, strech 0: tiled draws plainly, stretched draws a nine-slice with hS = ey.
    EXPECT_EQ(1u, PlanSkinImage(r, 100, 60, {400, 340, 400, 300, SkinSpread::Tiled}).pieces.size());
    auto stretched = PlanSkinImage(r, 100, 60, {400, 340, 400, 300, SkinSpread::Stretched}).pieces;
    ASSERT_EQ(9u, stretched.size());
    EXPECT_EQ("50,30,1,1>50,30,1,40 ", Describe({stretched[8]}));

    // Width 200, height 0, enlarged with strech: sized, anchored by the image size, no round corners.
    SkinImgInfo sized = Record(L"x");
    sized.rect = {0, 0, 200, 0};
    sized.arc = 1;
    sized.align = L"BottomRight";
    auto s = PlanSkinImage(sized, 100, 60, {520, 300, 400, 300, SkinSpread::Tiled});
    EXPECT_EQ("0,0,100,60>420,240,200,60 ", Describe(s.pieces));
    EXPECT_FALSE(s.roundCorners);
}

TEST_F(Composition, WorkedExampleAndGrowingInHeightInBothVariants) {
    std::vector<SkinImgInfo> images{Record(m_quadrants)};
    struct Sample {
        int x, y;
        Argb colour;
    };
    struct {
        SkinGeometry geometry;
        std::vector<Sample> samples;
    } cases[] = {
        // clang-format off
        // Tiled: the right half repeats (20 columns in the last piece), then the right corners.
        {{520, 300, 400, 300, SkinSpread::Tiled},
         {{25, 15, kRed}, {60, 15, kGreen}, {90, 15, kBlue}, {110, 15, kGreen}, {140, 15, kBlue},
          {160, 15, kGreen}, {180, 15, kGreen}, {210, 15, kBlue}, {25, 45, kYellow}, {140, 45, kMagenta},
          {160, 45, kCyan}, {210, 45, kMagenta}, {300, 30, 0}, {100, 100, 0}}},
        // Stretched: column 50 spread over 120 pixels.
        {{520, 300, 400, 300, SkinSpread::Stretched},
         {{25, 15, kRed}, {90, 15, kGreen}, {140, 15, kGreen}, {140, 45, kCyan}, {210, 15, kBlue},
          {210, 45, kMagenta}, {25, 45, kYellow}, {400, 100, 0}}},
        // Grown by 40 in both directions: the bottom and right corners move.
        {{140, 100, 100, 60, SkinSpread::Tiled}, {{25, 85, kYellow}, {130, 85, kMagenta}, {25, 10, kRed}}},
        {{140, 100, 100, 60, SkinSpread::Stretched}, {{25, 85, kYellow}, {130, 85, kMagenta}, {25, 10, kRed}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        auto s = Compose(images, c.geometry);
        for (const Sample& p : c.samples) {
            if (p.colour) {
                EXPECT_PIXEL(*s, p.x, p.y, p.colour) << " width " << c.geometry.width;
            } else {
                EXPECT_EQ(0u, s->PixelAt(p.x, p.y)) << p.x << "," << p.y << " nothing drawn";
            }
        }
    }
    // The layered surface keeps the image's alpha.
    EXPECT_EQ(0xFFu, Compose(images, cases[1].geometry)->PixelAt(140, 15) >> 24);
}

TEST_F(Composition, OnePixelWideImageInEnlargedWindow) {
    std::vector<SkinImgInfo> images{Record(Solid(L"column.png", 1, 40, kGrey))};
    for (SkinSpread spread : {SkinSpread::Tiled, SkinSpread::Stretched}) {
        auto s = Compose(images, {600, 80, 100, 40, spread});
        EXPECT_PIXEL(*s, 300, 10, kGrey) << (spread == SkinSpread::Tiled ? "tiled" : "stretched");
        EXPECT_PIXEL(*s, 300, 30, kGrey);
    }
}

TEST_F(Composition, PlainAnchoredSizedHiddenAndMissing) {
    const CString solid = Solid(L"solid.png", 10, 10, kBlue);
    SkinImgInfo corner = Record(solid, 0, 0);
    corner.align = L"BottomRight";
    corner.left = corner.top = 5;
    SkinImgInfo scaled = Record(solid, 0, 0);
    scaled.rect = {0, 0, 40, 20};
    scaled.left = 50;
    SkinImgInfo hidden = Record(m_quadrants, 0, 0);
    hidden.visible = FALSE;
    SkinImgInfo missing = Record(m_folder.ImagePath(L"s", L"missing.png"), 0, 0);
    auto s = Compose({hidden, missing, corner, scaled}, {200, 100, 200, 100, SkinSpread::Tiled});
    EXPECT_PIXEL(*s, 190, 90, kBlue); // 200 - 10 - 5 = 185 .. 195
    EXPECT_EQ(0u, Rgb(s->PixelAt(180, 90)));
    EXPECT_PIXEL(*s, 85, 15, kBlue); // scaled into 40 by 20
    EXPECT_EQ(0u, Rgb(s->PixelAt(95, 15)));
    EXPECT_EQ(0u, Rgb(s->PixelAt(25, 15))); // hidden record not drawn
}

TEST_F(Composition, RoundCornersWhitenOutsideTheArc) {
    SkinImgInfo r = Record(Solid(L"dark.png", 60, 60, kDark), 0, 0);
    r.arc = 1;
    r.left = r.top = 10;
    auto s = Compose({r}, {100, 100, 100, 100, SkinSpread::Tiled});
    for (POINT corner : {POINT{10, 10}, POINT{10, 69}, POINT{69, 69}, POINT{69, 10}})
        EXPECT_PIXEL(*s, corner.x, corner.y, kWhite);
    EXPECT_PIXEL(*s, 40, 40, kDark);
    EXPECT_PIXEL(*s, 40, 10, kDark); // the edge between corners keeps the image
}

TEST_F(Composition, TextsNeedAKnownFontAndADocument) {
    std::vector<SkinImgInfo> images{Record(Solid(L"black.png", 300, 120, kBlack), 0, 0)};
    std::vector<SkinTextInfo> texts;
    for (const wchar_t* font : {L"BIG", L"unknown", L"nofamily"}) {
        SkinTextInfo t;
        t.title = L"WWWWWWWW";
        t.font = font;
        t.rect = {10, static_cast<LONG>(texts.size()) * 40, 290, static_cast<LONG>(texts.size()) * 40 + 30};
        texts.push_back(t);
    }
    auto s = Compose(images, {300, 120, 300, 120, SkinSpread::Tiled}, &texts);
    auto bright = [](const CSkinSurface& surface, int top) {
        int n = 0;
        for (int y = top; y < top + 30; ++y)
            for (int x = 10; x < 290; ++x)
                n += (surface.PixelAt(x, y) & 0xFF) > 128;
        return n;
    };
    EXPECT_GT(bright(*s, 0), 50);  // the known font draws
    EXPECT_EQ(0, bright(*s, 40));  // a font name the skin lacks: nothing
    EXPECT_GT(bright(*s, 80), 50); // a family that is not installed falls back to sans-serif

    SkinScene bare; // without a skin document no text is drawn at all
    bare.texts = &texts;
    bare.geometry = {300, 120, 300, 120, SkinSpread::Tiled};
    auto none = Paint(300, 120, [&](Gdiplus::Graphics& g) { ComposeSkin(g, bare); });
    EXPECT_EQ(0, bright(*none, 0) + bright(*none, 80));

    SkinTextInfo anchored;
    anchored.rect = {10, 20, 110, 36};
    anchored.align = L"BottomRight";
    EXPECT_TRUE(Gdiplus::Rect(390, 264, 100, 16).Equals(PlaceSkinText(anchored, 500, 300)));
}

TEST_F(Composition, LayerOrderAndLogoTitle) {
    Solid(L"logo.png", 20, 10, kRed);
    const CString bg = Solid(L"bg.png", 200, 100, kBlue);
    std::vector<SkinImgInfo> images{Record(bg, 0, 0)};
    SkinWndInfo info;
    info.logo = 1;
    info.titleHeight = 30;
    info.title = L"WWWWWW";
    info.font = L"big";
    info.color = RGB(255, 255, 0);
    std::vector<int> order;
    SkinScene scene;
    scene.images = &images;
    scene.wndInfo = &info;
    scene.geometry = {200, 100, 200, 100, SkinSpread::Tiled};
    scene.loadImage = [&](const wchar_t* path) {
        order.push_back(CString(path) == bg ? 1 : 3);
        return LoadSkinImage(path);
    };
    scene.drawButtons = [&](Gdiplus::Graphics&) { order.push_back(2); };
    Gdiplus::RectF title;
    scene.drawText = [&](Gdiplus::Graphics& g, const wchar_t* text, COLORREF colour, const SkinFontSpec& font,
                         const Gdiplus::RectF& layout) {
        order.push_back(4);
        title = layout;
        EXPECT_EQ(RGB(255, 255, 0), colour);
        EXPECT_EQ(20, font.size);
        DrawSkinTextLine(g, text, colour, font, layout);
    };
    auto s = Compose(scene);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), order);
    EXPECT_TRUE(title.Equals(Gdiplus::RectF(26, 0, 200, 30))) << title.X; // after the logo's width + 6
    EXPECT_PIXEL(*s, 12, 15, kRed);                                       // logo at x 3, y (30 - 10) / 2
    EXPECT_PIXEL(*s, 12, 60, kBlue);

    // A broken logo file: the title starts at x = 6.
    m_folder.Dir().WriteFile(L"skin\\s\\logo.png", "not a png");
    CSkinDocument other;
    ASSERT_TRUE(other.LoadFrom(m_folder.ProgramDir(), L"s"));
    scene.document = &other;
    Compose(scene);
    EXPECT_FLOAT_EQ(6.0f, title.X);

    // A window without the logo flag has neither logo nor title.
    info.logo = 0;
    order.clear();
    Compose(scene);
    EXPECT_EQ((std::vector<int>{1, 2}), order);
}

TEST(SkinSurfaceLifetime, ContextAndBitmapAreDeletedAndDrawingEndsFirst) {
    for (CSkinSurface::Kind kind : {CSkinSurface::Dib32, CSkinSurface::Compatible}) {
        HDC dc = nullptr;
        HGDIOBJ bitmap = nullptr;
        {
            CSkinSurface surface(nullptr, 64, 48, kind);
            ASSERT_TRUE(surface.IsValid());
            dc = surface.GetDC();
            bitmap = GetCurrentObject(dc, OBJ_BITMAP);
            surface.EndDrawing(); // GDI+ is done before the context is used or deleted
            EXPECT_EQ(nullptr, surface.GetGraphics());
            EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(dc));
        }
        EXPECT_EQ(0u, GetObjectType(dc));
        EXPECT_EQ(0u, GetObjectType(bitmap));
    }
    CSkinSurface empty(nullptr, 0, 10, CSkinSurface::Dib32); // no bitmap; nothing to read
    EXPECT_EQ(0u, empty.PixelAt(0, 0));
}

TEST(SkinImageLoading, MissingBrokenUnnameableOrLongPaths) {
    TempDir dir;
    EXPECT_EQ(nullptr, LoadSkinImage(nullptr));
    EXPECT_EQ(nullptr, LoadSkinImage(L""));
    EXPECT_EQ(nullptr, LoadSkinImage(dir / L"none.png"));
    EXPECT_EQ(nullptr, LoadSkinImage(dir.WriteFile(L"bad.png", "garbage")));
    EXPECT_EQ(nullptr, LoadSkinImage((dir.Path() + L"\\").GetString())); // a folder
    EXPECT_EQ(nullptr, LoadSkinImage(CString(L'x', 40000).GetString())); // a name no file can have
    ASSERT_TRUE(WriteSolidPng(dir / L"ok.png", 3, 2, kRed));
    SkinImagePtr ok = LoadSkinImage(dir / L"ok.png");
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(3u, ok->GetWidth());

    const CString path = MakeLongDir(dir.Path(), 280) + L"\\img.png";
    if (!WriteSolidPng(CString(L"\\\\?\\") + path, 4, 4, kGreen)) GTEST_SKIP() << "cannot write long path";
    SkinImagePtr image = LoadSkinImage(path);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(4u, image->GetWidth());
}
