// The four layers of a skinned window's picture. Draws blend over what is already there, in order;
// GDI+ errors of single draws are not acted upon, every later piece is still drawn.
#include "skin/SkinComposition.h"

#include "skin/SkinAnchor.h"
#include "skin/SkinDocument.h"

namespace {

SkinImagePtr LoadFor(const SkinScene& scene, const CString& path) {
    return scene.loadImage ? scene.loadImage(path.GetString()) : LoadSkinImage(path.GetString());
}

void DrawTextFor(Gdiplus::Graphics& graphics, const SkinScene& scene, const CString& text, COLORREF color,
                 const SkinFontSpec& font, const Gdiplus::RectF& layout) {
    if (scene.drawText)
        scene.drawText(graphics, text.GetString(), color, font, layout);
    else
        DrawSkinTextLine(graphics, text.GetString(), color, font, layout);
}

Gdiplus::RectF ToRectF(const Gdiplus::Rect& r) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(r.X), static_cast<Gdiplus::REAL>(r.Y),
                          static_cast<Gdiplus::REAL>(r.Width), static_cast<Gdiplus::REAL>(r.Height));
}

} // namespace

void DrawSkinPieces(Gdiplus::Graphics& graphics, Gdiplus::Image& image,
                    const std::vector<SkinPiece>& pieces) {
    // Scaled pieces sample beyond their source rectangle; at the image's edge that would blend in
    // transparency (a one-pixel image stretched over a band would come out faint). Mirroring the
    // edge keeps the image's own colours there.
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    for (const SkinPiece& piece : pieces) {
        const Gdiplus::RectF src = ToRectF(piece.src);
        graphics.DrawImage(&image, ToRectF(piece.dst), src.X, src.Y, src.Width, src.Height,
                           Gdiplus::UnitPixel, &attributes);
    }
}

void ComposeSkinImages(Gdiplus::Graphics& graphics, const SkinScene& scene) {
    if (!scene.images) return;
    for (const SkinImgInfo& record : *scene.images) {
        if (!record.visible) continue;
        SkinImagePtr image = LoadFor(scene, record.stand);
        if (!image) continue;
        const SkinImagePlan plan = PlanSkinImage(record, static_cast<int>(image->GetWidth()),
                                                 static_cast<int>(image->GetHeight()), scene.geometry);
        DrawSkinPieces(graphics, *image, plan.pieces);
        if (plan.roundCorners)
            for (int corner = 0; corner < 4; ++corner)
                DrawRoundCorner(graphics, plan.cornerRect, corner, plan.cornerRadius);
    }
}

void ComposeSkinLogoAndTitle(Gdiplus::Graphics& graphics, const SkinScene& scene) {
    if (!scene.wndInfo || !scene.document || scene.wndInfo->logo == 0) return;
    const SkinWndInfo& info = *scene.wndInfo;
    const Gdiplus::REAL titleHeight = static_cast<Gdiplus::REAL>(info.titleHeight);
    Gdiplus::REAL logoWidth = 0;
    SkinImagePtr logo = LoadFor(scene, scene.document->GetLogoPath());
    if (logo) {
        logoWidth = static_cast<Gdiplus::REAL>(logo->GetWidth());
        const Gdiplus::REAL logoHeight = static_cast<Gdiplus::REAL>(logo->GetHeight());
        graphics.DrawImage(logo.get(), 3.0f, (titleHeight - logoHeight) / 2.0f, logoWidth, logoHeight);
    }
    if (info.title.IsEmpty() || info.font.IsEmpty()) return;
    SkinFontSpec font;
    font.name = info.font;
    if (!scene.document->GetFont(font)) return;
    // The rectangle keeps the full width although it starts right of the logo.
    DrawTextFor(graphics, scene, info.title, info.color, font,
                Gdiplus::RectF(logoWidth + 6.0f, 0.0f, static_cast<Gdiplus::REAL>(scene.geometry.width),
                               titleHeight));
}

Gdiplus::Rect PlaceSkinText(const SkinTextInfo& text, int width, int height) {
    const RECT parent = {0, 0, width, height};
    int x = text.rect.left;
    int y = text.rect.top;
    AlignToParent(x, y, text.align, parent, text.rect);
    return Gdiplus::Rect(x, y, text.rect.right - text.rect.left, text.rect.bottom - text.rect.top);
}

void ComposeSkinTexts(Gdiplus::Graphics& graphics, const SkinScene& scene) {
    if (!scene.texts || !scene.document) return;
    for (const SkinTextInfo& text : *scene.texts) {
        if (text.title.IsEmpty() || text.font.IsEmpty()) continue;
        SkinFontSpec font;
        font.name = text.font;
        if (!scene.document->GetFont(font)) continue;
        const Gdiplus::Rect place = PlaceSkinText(text, scene.geometry.width, scene.geometry.height);
        DrawTextFor(graphics, scene, text.title, text.color, font, ToRectF(place));
    }
}

void ComposeSkin(Gdiplus::Graphics& graphics, const SkinScene& scene) {
    ComposeSkinImages(graphics, scene);
    if (scene.drawButtons) scene.drawButtons(graphics);
    ComposeSkinLogoAndTitle(graphics, scene);
    ComposeSkinTexts(graphics, scene);
}
