// The skin.xml grammar: a window element under CLIENTSKIN and its BTN, TEXT, RECT and IMG children,
// and the FONT elements of the root. Tags and attribute names match exactly; numbers read as atoi
// reads them; an empty colour keeps the field's default; an empty anchor is "TopLeft".
#include "skin/SkinDocument.h"

#include "foundation/Markup.h"
#include "foundation/UrlHelpers.h"

#include <algorithm>
#include <climits>

namespace {

// Each number is read within the int range, but an edge adds two of them: a far edge beyond the range
// stops at its end instead of wrapping round to the other side.
LONG SaturatedSum(int a, int b) {
    return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(a) + b, INT_MIN, INT_MAX));
}

RECT MakeRect(int left, int top, int width, int height) {
    return RECT{left, top, SaturatedSum(left, width), SaturatedSum(top, height)};
}

} // namespace

int CSkinDocument::GetIntAttrib(const wchar_t* attribute) const {
    return AnsiToInt(m_markup->GetAttribute(attribute));
}

CString CSkinDocument::GetTextAttrib(const wchar_t* attribute) const {
    return m_markup->GetAttribute(attribute);
}

CString CSkinDocument::GetAnchorAttrib(const wchar_t* attribute) const {
    CString anchor = m_markup->GetAttribute(attribute);
    return anchor.IsEmpty() ? CString(L"TopLeft") : anchor;
}

void CSkinDocument::GetColorAttrib(COLORREF& field, const wchar_t* attribute) {
    const CString value = m_markup->GetAttribute(attribute);
    if (!value.IsEmpty()) field = ParseRgbColor(value);
}

bool CSkinDocument::EnterWindow(const wchar_t* wndName, bool enter) {
    if (!m_bLoaded || !wndName || !*wndName) return false;
    m_markup->ResetPosition();
    if (!m_markup->FindElement(L"CLIENTSKIN") || !m_markup->EnterElement()) return false;
    if (!m_markup->FindElement(wndName)) return false;
    return !enter || m_markup->EnterElement();
}

BOOL CSkinDocument::GetWndInfo(SkinWndInfo& info) {
    info.strech = 0;
    info.width = 0;
    info.height = 0;
    info.color = SKIN_DEFAULT_COLOR;
    info.bgcolor = SKIN_DEFAULT_COLOR;
    info.border = SKIN_NO_COLOR;
    if (!EnterWindow(info.name, false)) return TRUE;
    info.logo = GetIntAttrib(L"logo");
    info.title = GetTextAttrib(L"title");
    info.titleHeight = GetIntAttrib(L"titleHeight");
    info.width = GetIntAttrib(L"width");
    info.height = GetIntAttrib(L"height");
    info.font = GetTextAttrib(L"font");
    info.strech = GetIntAttrib(L"strech");
    info.wmode = GetIntAttrib(L"wmode");
    info.mWidth = GetIntAttrib(L"mWidth");
    info.mHeight = GetIntAttrib(L"mHeight");
    GetColorAttrib(info.bgcolor, L"bgcolor");
    GetColorAttrib(info.color, L"color");
    GetColorAttrib(info.border, L"border");
    return TRUE;
}

BOOL CSkinDocument::GetButtons(const wchar_t* wndName, std::vector<SkinButtonInfo>& buttons) {
    buttons.clear();
    if (!EnterWindow(wndName, true)) return TRUE;
    while (m_markup->FindElement(L"BTN")) {
        SkinButtonInfo b;
        b.color = SKIN_DEFAULT_COLOR;
        b.hotcolor = SKIN_NO_COLOR;
        b.name = GetTextAttrib(L"name");
        b.check = GetIntAttrib(L"check");
        b.style = GetIntAttrib(L"style");
        b.stand = GetImagePath(GetTextAttrib(L"stand"));
        const CString flash = GetTextAttrib(L"flash");
        if (!flash.IsEmpty()) b.flash = GetImagePath(flash);
        b.left = GetIntAttrib(L"left");
        b.top = GetIntAttrib(L"top");
        b.title = GetTextAttrib(L"title");
        b.tip = GetTextAttrib(L"tip");
        b.icon = GetImagePath(GetTextAttrib(L"icon"));
        b.icon1 = GetImagePath(GetTextAttrib(L"icon1"));
        GetColorAttrib(b.color, L"color");
        GetColorAttrib(b.hotcolor, L"hotcolor");
        if (b.hotcolor > 0xFFFFFF) b.hotcolor = b.color;
        b.align = GetAnchorAttrib(L"align");
        b.font = GetTextAttrib(L"font");
        buttons.push_back(b);
    }
    return TRUE;
}

BOOL CSkinDocument::GetTexts(const wchar_t* wndName, std::vector<SkinTextInfo>& texts) {
    texts.clear();
    if (!EnterWindow(wndName, true)) return TRUE;
    while (m_markup->FindElement(L"TEXT")) {
        SkinTextInfo t;
        t.color = SKIN_DEFAULT_COLOR;
        t.name = GetTextAttrib(L"name");
        t.rect = MakeRect(GetIntAttrib(L"left"), GetIntAttrib(L"top"), GetIntAttrib(L"width"),
                          GetIntAttrib(L"height"));
        t.title = GetTextAttrib(L"title");
        GetColorAttrib(t.color, L"color");
        t.align = GetAnchorAttrib(L"align");
        t.font = GetTextAttrib(L"font");
        texts.push_back(t);
    }
    return TRUE;
}

BOOL CSkinDocument::GetRects(const wchar_t* wndName, std::vector<SkinRectInfo>& rects) {
    rects.clear();
    if (!EnterWindow(wndName, true)) return TRUE;
    while (m_markup->FindElement(L"RECT")) {
        SkinRectInfo r;
        r.color = SKIN_DEFAULT_COLOR;
        r.name = GetTextAttrib(L"name");
        r.border = GetIntAttrib(L"border");
        r.rect = MakeRect(GetIntAttrib(L"left"), GetIntAttrib(L"top"), GetIntAttrib(L"width"),
                          GetIntAttrib(L"height"));
        r.align = GetAnchorAttrib(L"align");
        r.font = GetTextAttrib(L"font");
        r.strech = GetIntAttrib(L"strech");
        rects.push_back(r);
    }
    return TRUE;
}

BOOL CSkinDocument::GetImages(const wchar_t* wndName, std::vector<SkinImgInfo>& images) {
    images.clear();
    if (!EnterWindow(wndName, true)) return TRUE;
    while (m_markup->FindElement(L"IMG")) {
        SkinImgInfo i;
        i.name = GetTextAttrib(L"name");
        i.left = GetIntAttrib(L"left");
        i.top = GetIntAttrib(L"top");
        i.rect = MakeRect(0, 0, GetIntAttrib(L"width"), GetIntAttrib(L"height"));
        i.align = GetAnchorAttrib(L"align");
        i.stand = GetImagePath(GetTextAttrib(L"stand"));
        i.strech = GetIntAttrib(L"strech");
        i.ystrech = GetIntAttrib(L"ystrech");
        i.arc = GetIntAttrib(L"arc");
        i.visible = TRUE;
        images.push_back(i);
    }
    return TRUE;
}

BOOL CSkinDocument::GetFont(SkinFontSpec& font) {
    if (!m_bLoaded) return FALSE;
    m_markup->ResetPosition();
    if (!m_markup->FindElement(L"CLIENTSKIN") || !m_markup->EnterElement()) return FALSE;
    while (m_markup->FindElement(L"FONT")) {
        if (m_markup->GetAttribute(L"name").CompareNoCase(font.name) != 0) continue;
        font.size = GetIntAttrib(L"size");
        font.family = GetTextAttrib(L"family");
        font.style = GetIntAttrib(L"style");
        return TRUE;
    }
    return FALSE;
}
