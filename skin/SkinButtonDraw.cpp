// Drawing of a skinned button into its owner's picture: the state image (whole, or in nine pieces
// when the button is larger than the image), then icon and caption by the layout style, then the
// badge. A missing font family, font or image is skipped; every GDI+ object is released here, before
// the owner releases the context it draws on.
#include "skin/SkinButton.h"

#include "skin/SkinComposition.h"
#include "skin/SkinDocument.h"

#include <memory>

namespace {

using Gdiplus::REAL;
using Gdiplus::RectF;

// The caption's font, or null when the skin has no such font or GDI+ cannot make it.
std::unique_ptr<Gdiplus::Font> MakeCaptionFont(const CString& fontName) {
    if (fontName.IsEmpty() || !g_pSkinDocument) return nullptr;
    SkinFontSpec spec;
    spec.name = fontName;
    if (!g_pSkinDocument->GetFont(spec)) return nullptr;

    return MakeSkinFont(spec);
}

void DrawPiece(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int dx, int dy, int dw, int dh, int sx,
               int sy, int sw, int sh) {
    graphics.DrawImage(
        image,
        RectF(static_cast<REAL>(dx), static_cast<REAL>(dy), static_cast<REAL>(dw), static_cast<REAL>(dh)),
        static_cast<REAL>(sx), static_cast<REAL>(sy), static_cast<REAL>(sw), static_cast<REAL>(sh),
        Gdiplus::UnitPixel);
}

int ImageWidth(Gdiplus::Image* image) {
    return image ? static_cast<int>(image->GetWidth()) : 0;
}
int ImageHeight(Gdiplus::Image* image) {
    return image ? static_cast<int>(image->GetHeight()) : 0;
}

} // namespace

void CSkinButton::Draw(Gdiplus::Graphics& graphics) {
    if (!m_pCurImage || !m_hWnd) return;
    const CRect r = GetRectInOwner();
    DrawBackground(graphics, r);
    DrawIconAndCaption(graphics, r);

    if (Gdiplus::Image* badge = m_pBadge.get()) {
        const int bw = ImageWidth(badge), bh = ImageHeight(badge);
        if (bw > 0) DrawPiece(graphics, badge, r.left + 62 - bw, r.top + 62 - bh, bw, bh, 0, 0, bw, bh);
    }
}

void CSkinButton::DrawBackground(Gdiplus::Graphics& graphics, const CRect& r) {
    Gdiplus::Image* image = m_pCurImage;
    const int W = ImageWidth(image), H = ImageHeight(image);
    if (W <= 0 || H <= 0) return;
    const int x0 = r.left, y0 = r.top, w = r.Width(), h = r.Height();
    if (w <= W && h <= H) {
        DrawPiece(graphics, image, x0, y0, w, h, 0, 0, W, H);
        return;
    }
    // Nine pieces: the pixel column at hw and row at hh stretch over the extra size.
    const int hw = W / 2, hh = H / 2;
    const int ex = w - W, ey = h - H;
    const int dx = ex > 0 ? ex : 0, dy = ey > 0 ? ey : 0;
    const int sx = ex > 0 ? ex : 1, sy = ey > 0 ? ey : 1;
    DrawPiece(graphics, image, x0, y0, hw, hh, 0, 0, hw, hh);
    DrawPiece(graphics, image, x0 + hw + dx, y0, W - hw, hh, hw, 0, W - hw, hh);
    DrawPiece(graphics, image, x0, y0 + hh + dy, hw, H - hh, 0, hh, hw, H - hh);
    DrawPiece(graphics, image, x0 + hw + dx, y0 + hh + dy, W - hw, H - hh, hw, hh, W - hw, H - hh);
    DrawPiece(graphics, image, x0 + hw, y0, sx, hh, hw, 0, 1, hh);
    DrawPiece(graphics, image, x0 + hw, y0 + hh + dy, sx, H - hh, hw, hh, 1, H - hh);
    DrawPiece(graphics, image, x0, y0 + hh, hw, sy, 0, hh, hw, 1);
    DrawPiece(graphics, image, x0 + hw + dx, y0 + hh, W - hw, sy, hw, hh, W - hw, 1);
    DrawPiece(graphics, image, x0 + hw, y0 + hh, sx, sy, hw, hh, 1, 1);
}

void CSkinButton::DrawIconAndCaption(Gdiplus::Graphics& graphics, const CRect& r) {
    const int x0 = r.left, y0 = r.top, w = r.Width(), h = r.Height();
    std::unique_ptr<Gdiplus::Font> font = MakeCaptionFont(m_info.font);
    const COLORREF color = (m_bHover || m_bChecked) ? m_info.hotcolor : m_info.color;
    Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));

    Gdiplus::Image* icon = m_pIcon.get();
    const int iw = ImageWidth(icon), ih = ImageHeight(icon);
    const bool hasIcon = iw > 0;
    const CString& caption = m_info.title;
    RectF layout(static_cast<REAL>(x0), static_cast<REAL>(y0), static_cast<REAL>(w), static_cast<REAL>(h));

    auto drawCaption = [&](const RectF& where) {
        if (font && !caption.IsEmpty())
            graphics.DrawString(caption.GetString(), caption.GetLength(), font.get(), where, m_format.get(),
                                &brush);
    };
    auto moved = [](RectF rect, REAL down) {
        rect.Y += down;
        return rect;
    };
    // An icon larger than the button both ways is squeezed inside it with a pixel of margin.
    auto shrunk = [&](CRect rect) {
        if (iw > w && ih > h) rect = CRect(x0 + 1, y0 + 1, x0 + 1 + (w - 2), y0 + 1 + (h - 2));
        return rect;
    };
    auto drawIcon = [&](const CRect& rect) {
        if (hasIcon)
            DrawPiece(graphics, icon, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, iw, ih);
    };

    switch (m_info.style) {
    case 0: {
        const int ix = caption.IsEmpty() ? x0 + (w - iw) / 2 : x0 + 5;
        const CRect rect = shrunk(CRect(ix, y0 + (h - ih) / 2, ix + iw, y0 + (h - ih) / 2 + ih));
        if (hasIcon) {
            drawIcon(rect);
            layout.X = static_cast<REAL>(rect.right);
        }
        drawCaption(moved(layout, 2));
        break;
    }
    case 1: {
        const CRect rect(x0 + (w - iw) / 2, y0 + 5, x0 + (w - iw) / 2 + iw, y0 + 5 + ih);
        drawIcon(rect);
        if (hasIcon && ih > 0) {
            layout.Y += static_cast<REAL>(ih);
            layout.Height -= static_cast<REAL>(ih);
        }
        drawCaption(moved(layout, 2));
        break;
    }
    case 2: {
        const CRect rect = shrunk(CRect(x0 + w - iw, y0 + (h - ih) / 2, x0 + w, y0 + (h - ih) / 2 + ih));
        if (hasIcon) {
            drawIcon(rect);
            layout.X = static_cast<REAL>(x0);
            layout.Width = static_cast<REAL>(rect.left - x0 - 5);
        }
        drawCaption(moved(layout, 3));
        break;
    }
    case 3: {
        drawCaption(layout);
        // The caption's extent only places the icon: without one there is nothing to measure for.
        int cx = 0;
        if (hasIcon && !caption.IsEmpty()) {
            // Measured with the surface's own current font, not the caption's.
            CGraphicsDC hdc(graphics);
            SIZE extent = {};
            if (hdc.GetSafeHdc() &&
                GetTextExtentPoint32W(hdc, caption.GetString(), caption.GetLength(), &extent))
                cx = extent.cx;
        }
        const int ix = x0 + w / 2 + cx / 2;
        drawIcon(shrunk(CRect(ix, y0 + (h - ih) / 2, ix + iw, y0 + (h - ih) / 2 + ih)));
        break;
    }
    case 4:
        drawCaption(layout);
        break;
    default:
        break;
    }
}
