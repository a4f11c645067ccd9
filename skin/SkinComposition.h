// The one picture of a skinned window, composed in four layers on a GDI+ surface: the IMG records, the
// visible buttons, the logo and title, the TEXT records. Both window bases use it; they differ only in
// how an image is spread over a window larger than its design size (tiled or stretched nine-slice).
//
// Images are read from their files at each composition and released right after they are drawn. A
// missing image, font family or font is skipped, never used.
#pragma once

#include "skin/SkinGdiplus.h"
#include "skin/SkinRecords.h"

#include <functional>
#include <memory>
#include <vector>

class CSkinDocument;

enum class SkinSpread {
    Tiled,     // double-buffered windows: repeat the right half of the image in steps of half its width
    Stretched, // layered windows: stretch one-pixel strips
};

// One image draw: source rectangle in image pixels, destination in client coordinates.
struct SkinPiece {
    Gdiplus::Rect src;
    Gdiplus::Rect dst;
};

// How one IMG record is drawn once its image is known.
struct SkinImagePlan {
    std::vector<SkinPiece> pieces; // in drawing order; empty: nothing to draw
    bool roundCorners = false;     // whiten the four corners of cornerRect with cornerRadius
    Gdiplus::RectF cornerRect;
    float cornerRadius = 0.0f;
};

// The size of the window being composed and its design size.
struct SkinGeometry {
    int width = 0;
    int height = 0;
    int designWidth = 0;
    int designHeight = 0;
    SkinSpread spread = SkinSpread::Tiled;
};

// The nine-slice of an image of iw by ih at (x, y); ex, ey: extra size of the window;
// growX, growY: whether each axis may grow. Images too narrow or too low for a middle band draw
// that band at most once; the pieces never loop.
std::vector<SkinPiece> PlanNineSliceTiled(int iw, int ih, int x, int y, int ex, int ey, bool growX,
                                          bool growY);
std::vector<SkinPiece> PlanNineSliceStretched(int iw, int ih, int x, int y, int ex, int ey, bool growX,
                                              bool growY);
// Where one IMG record's image of iw by ih goes in a window of the given geometry.
SkinImagePlan PlanSkinImage(const SkinImgInfo& record, int iw, int ih, const SkinGeometry& geometry);

// Draws the pieces of one image, each source rectangle scaled into its destination.
void DrawSkinPieces(Gdiplus::Graphics& graphics, Gdiplus::Image& image, const std::vector<SkinPiece>& pieces);

// Loads an image file; null when the path is empty or cannot be opened, or the image has no width.
SkinImagePtr LoadSkinImage(const wchar_t* path);
// The same image for every caller while any of them keeps it: buttons hold their state images for their
// whole life, and many buttons share one look. User-interface thread only.
SkinSharedImage LoadSharedSkinImage(const wchar_t* path);
// Time spent in LoadSkinImage so far (performance-counter ticks) and the number of calls; read by
// the benchmark to show how much of a paint is decoding. User-interface thread only.
struct SkinImageLoadTotals {
    LONGLONG ticks = 0;
    LONG count = 0;
};
SkinImageLoadTotals GetSkinImageLoadTotals();

// The font of a skin font record: its family, else the generic sans-serif family; null when neither
// exists or GDI+ cannot make the font.
std::unique_ptr<Gdiplus::Font> MakeSkinFont(const SkinFontSpec& spec);

// Draws one line of text: one line, left-aligned, centred vertically, cut with an ellipsis. A family
// that is not installed falls back to the generic sans-serif family; without either nothing is drawn.
void DrawSkinTextLine(Gdiplus::Graphics& graphics, const wchar_t* text, COLORREF color,
                      const SkinFontSpec& font, const Gdiplus::RectF& layout);
// Whitens one corner of rect outside a quarter circle of the radius (0 top-left, 1 bottom-left,
// 2 bottom-right, 3 top-right).
void DrawRoundCorner(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, int corner, float radius);

// Everything one composition reads. The records belong to the window.
struct SkinScene {
    const SkinWndInfo* wndInfo = nullptr;
    const std::vector<SkinImgInfo>* images = nullptr;
    const std::vector<SkinTextInfo>* texts = nullptr;
    SkinGeometry geometry;
    CSkinDocument* document = nullptr; // logo and fonts; null: no logo, title or texts
    // Layer 2: the window draws its visible buttons.
    std::function<void(Gdiplus::Graphics&)> drawButtons;
    // The window's text operation; empty: DrawSkinTextLine.
    std::function<void(Gdiplus::Graphics&, const wchar_t*, COLORREF, const SkinFontSpec&,
                       const Gdiplus::RectF&)>
        drawText;
    // Image loader; empty: LoadSkinImage.
    std::function<SkinImagePtr(const wchar_t*)> loadImage;
};

// All four layers in order.
void ComposeSkin(Gdiplus::Graphics& graphics, const SkinScene& scene);
// The layers one by one, for windows that put something of their own between them.
void ComposeSkinImages(Gdiplus::Graphics& graphics, const SkinScene& scene);
void ComposeSkinLogoAndTitle(Gdiplus::Graphics& graphics, const SkinScene& scene);
void ComposeSkinTexts(Gdiplus::Graphics& graphics, const SkinScene& scene);
// Where a TEXT record lands in a window of the given client size (its anchored rectangle).
Gdiplus::Rect PlaceSkinText(const SkinTextInfo& text, int width, int height);
