// The two small drawing operations of the skin windows: one line of skin text and a whitened corner.
// Every GDI+ object is checked before use: a family that is not installed, or a font GDI+ cannot
// make (a fresh system may lack even the generic sans-serif family), means the text is not drawn.
#include "skin/SkinComposition.h"

#include <memory>

namespace {

// The family named by the skin, else the generic sans-serif one; null when neither exists.
std::unique_ptr<Gdiplus::FontFamily> MakeFamily(const CString& name) {
    std::unique_ptr<Gdiplus::FontFamily> family(new Gdiplus::FontFamily(name.GetString()));
    if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable()) return family;
    // The wrappers cache the generic family for ever; ask the flat interface and keep only its name.
    Gdiplus::GpFontFamily* made = nullptr;
    if (Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&made) != Gdiplus::Ok) made = nullptr;
    CGpFontFamilyPtr generic(made);
    if (!generic) return nullptr;
    WCHAR genericName[LF_FACESIZE] = {};
    if (Gdiplus::DllExports::GdipGetFamilyName(generic.get(), genericName, LANG_NEUTRAL) != Gdiplus::Ok ||
        !genericName[0])
        return nullptr;
    family.reset(new Gdiplus::FontFamily(genericName));
    if (family->GetLastStatus() != Gdiplus::Ok || !family->IsAvailable()) return nullptr;
    return family;
}

} // namespace

std::unique_ptr<Gdiplus::Font> MakeSkinFont(const SkinFontSpec& spec) {
    std::unique_ptr<Gdiplus::FontFamily> family = MakeFamily(spec.family);
    if (!family) return nullptr;
    std::unique_ptr<Gdiplus::Font> font(new Gdiplus::Font(family.get(), static_cast<Gdiplus::REAL>(spec.size),
                                                          spec.style, Gdiplus::UnitPixel));
    if (font->GetLastStatus() != Gdiplus::Ok || !font->IsAvailable()) return nullptr;
    return font;
}

void DrawSkinTextLine(Gdiplus::Graphics& graphics, const wchar_t* text, COLORREF color,
                      const SkinFontSpec& spec, const Gdiplus::RectF& layout) {
    if (!text || !*text) return;
    std::unique_ptr<Gdiplus::Font> font = MakeSkinFont(spec);
    if (!font) return;
    Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    graphics.DrawString(text, -1, font.get(), layout, &format, &brush);
}

void DrawRoundCorner(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, int corner, float radius) {
    if (radius == 0.0f) return;
    const float x = rect.X, y = rect.Y, w = rect.Width, h = rect.Height, r = radius, d = 2 * radius;
    Gdiplus::GraphicsPath path;
    switch (corner) {
    case 0:
        path.AddArc(x, y, d, d, 180.0f, 90.0f);
        path.AddLine(x, y, x, y + r);
        break;
    case 1:
        path.AddArc(x, y + h - d, d, d, 90.0f, 90.0f);
        path.AddLine(x, y + h - r, x, y + h);
        break;
    case 2:
        path.AddArc(x + w - d, y + h - d, d, d, 0.0f, 90.0f);
        path.AddLine(x + w - r, y + h, x + w, y + h);
        break;
    case 3:
        path.AddArc(x + w - d, y, d, d, 270.0f, 90.0f);
        path.AddLine(x + w, y, x + w - r, y);
        break;
    default:
        return;
    }
    Gdiplus::Pen pen(Gdiplus::Color(0xFFFFFFFF), 1.0f);
    Gdiplus::SolidBrush brush(Gdiplus::Color(0xFFFFFFFF));
    graphics.DrawPath(&pen, &path);
    graphics.FillPath(&brush, &path);
}
