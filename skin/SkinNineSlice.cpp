// Where the pieces of one IMG record go. Pure arithmetic, kept apart from drawing so that both the
// composition and the benchmark issue exactly the same draws.
//
// A window larger than its design size spreads an image as a nine-slice around its centre: the four
// quarters stay at their size and move apart, the gap between them is filled from the image's
// middle. The tiled variant repeats the right half in steps of half the image width; an image of
// one pixel has no half to step by, so its band is drawn once, stretched, and never loops.
#include "skin/SkinComposition.h"

#include "skin/SkinAnchor.h"

namespace {

void AddPiece(std::vector<SkinPiece>& pieces, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
              int dh) {
    // A piece without area draws nothing; leaving it out keeps degenerate images cheap.
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    pieces.push_back({Gdiplus::Rect(sx, sy, sw, sh), Gdiplus::Rect(dx, dy, dw, dh)});
}

struct Corners {
    int hw, hh, exA, eyA;
    bool sx, sy;
};

Corners AddCorners(std::vector<SkinPiece>& pieces, int iw, int ih, int x, int y, int ex, int ey, bool growX,
                   bool growY) {
    Corners c;
    c.hw = iw / 2;
    c.hh = ih / 2;
    c.sx = ex > 0 && growX;
    c.sy = ey > 0 && growY;
    c.exA = c.sx ? ex : 0;
    c.eyA = c.sy ? ey : 0;
    const int hw = c.hw, hh = c.hh;
    AddPiece(pieces, 0, 0, hw, hh, x, y, hw, hh);
    // Drawn hw wide, not iw - hw: an odd width squeezes its right half by one column.
    AddPiece(pieces, hw, 0, iw - hw, hh, x + hw + c.exA, y, hw, hh);
    AddPiece(pieces, 0, hh, hw, ih - hh, x, y + hh + c.eyA, hw, ih - hh);
    AddPiece(pieces, hw, hh, iw - hw, ih - hh, x + hw + c.exA, y + hh + c.eyA, iw - hw, ih - hh);
    return c;
}

// A run of pieces at one height filling the gap from x + hw to x + hw + ex.
void AddBand(std::vector<SkinPiece>& pieces, const Corners& c, int x, int y, int srcTop, int h, int ex) {
    const int hw = c.hw;
    if (hw <= 0) {
        // One column: nothing to step by; stretch it over the gap once.
        AddPiece(pieces, 0, srcTop, 1, h, x, y, c.sx ? ex : 1, h);
        return;
    }
    int k = 1;
    int rem = ex;
    while (rem > hw) {
        AddPiece(pieces, hw, srcTop, hw, h, x + k * hw, y, hw, h);
        ++k;
        rem -= hw;
    }
    const int last = c.sx ? rem : 1;
    AddPiece(pieces, hw, srcTop, last, h, x + k * hw, y, last, h);
}

} // namespace

std::vector<SkinPiece> PlanNineSliceTiled(int iw, int ih, int x, int y, int ex, int ey, bool growX,
                                          bool growY) {
    std::vector<SkinPiece> pieces;
    if (iw <= 0 || ih <= 0) return pieces;
    const Corners c = AddCorners(pieces, iw, ih, x, y, ex, ey, growX, growY);
    const int hw = c.hw, hh = c.hh;
    const int hM = c.sy ? ey : 1;
    AddBand(pieces, c, x, y, 0, hh, ex);
    AddBand(pieces, c, x, y + hh + c.eyA, hh, ih - hh, ex);
    AddPiece(pieces, 0, hh, hw, hM, x, y + hh, hw, hM);
    AddPiece(pieces, hw, hh, iw - hw, hM, x + hw + c.exA, y + hh, iw - hw, hM);
    AddBand(pieces, c, x, y + hh, hh, hM, ex);
    return pieces;
}

std::vector<SkinPiece> PlanNineSliceStretched(int iw, int ih, int x, int y, int ex, int ey, bool growX,
                                              bool growY) {
    std::vector<SkinPiece> pieces;
    if (iw <= 0 || ih <= 0) return pieces;
    const Corners c = AddCorners(pieces, iw, ih, x, y, ex, ey, growX, growY);
    const int hw = c.hw, hh = c.hh;
    const int wS = c.sx ? ex : 1;
    const int hS = c.sy ? ey : 1;
    AddPiece(pieces, hw, 0, 1, hh, x + hw, y, wS, hh);
    AddPiece(pieces, hw, hh, 1, ih - hh, x + hw, y + hh + c.eyA, wS, ih - hh);
    AddPiece(pieces, 0, hh, hw, 1, x, y + hh, hw, hS);
    AddPiece(pieces, hw, hh, iw - hw, 1, x + hw + c.exA, y + hh, iw - hw, hS);
    AddPiece(pieces, hw, hh, 1, 1, x + hw, y + hh, wS, hS);
    return pieces;
}

SkinImagePlan PlanSkinImage(const SkinImgInfo& record, int iw, int ih, const SkinGeometry& g) {
    SkinImagePlan plan;
    if (iw <= 0 || ih <= 0) return plan;
    const int rw = record.rect.right - record.rect.left;
    const int rh = record.rect.bottom - record.rect.top;
    const bool recordSized = rw > 0 && rh > 0;
    const RECT parent = {0, 0, g.width, g.height};
    const RECT child = {0, 0, recordSized ? rw : iw, recordSized ? rh : ih};
    int x = record.left;
    int y = record.top;
    AlignToParent(x, y, record.align, parent, child);

    const bool enlarged = g.width > g.designWidth || g.height > g.designHeight;
    const bool tiled = g.spread == SkinSpread::Tiled;
    const bool plain = !enlarged || (tiled && record.strech == 0);
    if (plain || rw > 0 || rh > 0) {
        const int dw = rw > 0 ? rw : iw;
        const int dh = rh > 0 ? rh : ih;
        AddPiece(plan.pieces, 0, 0, iw, ih, x, y, dw, dh);
        if (plain && record.arc != 0) {
            plan.roundCorners = true;
            plan.cornerRect = Gdiplus::RectF(static_cast<float>(x), static_cast<float>(y),
                                             static_cast<float>(dw), static_cast<float>(dh));
            plan.cornerRadius = static_cast<float>(dw) / 10.0f;
        }
        return plan;
    }
    const int ex = g.width - g.designWidth;
    const int ey = g.height - g.designHeight;
    const bool growX = record.strech != 0;
    const bool growY = record.ystrech != 0;
    plan.pieces = tiled ? PlanNineSliceTiled(iw, ih, x, y, ex, ey, growX, growY)
                        : PlanNineSliceStretched(iw, ih, x, y, ex, ey, growX, growY);
    return plan;
}
