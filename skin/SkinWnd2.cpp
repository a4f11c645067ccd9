#include "skin/SkinWnd2.h"

#include "framework/Gdi.h"
#include "skin/SkinSurface.h"

int g_nSkinWnd2BtnId = IDC_SKINBTN_FIRST;

namespace {

// The outline a 2-pixel pen would stroke along the window's edges, as four separately filled bands
// centred on them. On a 32-bit DIB section GDI+ draws in software over the bounding box of each
// shape: a pen rectangle (or one call filling all four bands) spans the whole window and cost a
// quarter of a second at 1920x1080, the four bands a millisecond, with the same pixels.
void DrawBorder(Gdiplus::Graphics& graphics, COLORREF color, int width, int height) {
    Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
    const Gdiplus::REAL w = static_cast<Gdiplus::REAL>(width), h = static_cast<Gdiplus::REAL>(height);
    graphics.FillRectangle(&brush, Gdiplus::RectF(-1, -1, w + 2, 2));
    graphics.FillRectangle(&brush, Gdiplus::RectF(-1, h - 1, w + 2, 2));
    graphics.FillRectangle(&brush, Gdiplus::RectF(-1, -1, 2, h + 2));
    graphics.FillRectangle(&brush, Gdiplus::RectF(w - 1, -1, 2, h + 2));
}

} // namespace

IMPLEMENT_DYNAMIC(CSkinWnd2, CWnd)

CSkinWnd2::CSkinWnd2(const wchar_t* skinName) : CSkinWndCommon(skinName) {}

int CSkinWnd2::OnCreate(LPCREATESTRUCTW cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    InitIconAndTooltip();
    InitSkin();
    return 0;
}

void CSkinWnd2::OnLButtonDown(UINT flags, CPoint point) {
    // The move runs a modal loop in which posted messages may destroy this object: drag last.
    CWnd::OnLButtonDown(flags, point);
    if (m_bDraggable && point.y <= m_wndInfo.titleHeight) SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

BOOL CSkinWnd2::PlaceChildOverRect(CWnd& child, const wchar_t* rectName) {
    CRect rect;
    if (!child.IsWindow() || !GetPlacedRect(rectName, rect)) return FALSE;
    m_vecChildRects.assign(1, rect);
    child.MoveWindow(&rect, TRUE);
    child.SetWindowPos(m_hWnd, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    return TRUE;
}

void CSkinWnd2::SetSkinText(const wchar_t* name, const wchar_t* text) {
    if (!name) return;
    for (SkinTextInfo& record : m_vecTexts) {
        if (record.name.CompareNoCase(name) != 0) continue;
        record.title = text;
        if (!record.title.IsEmpty() && !record.font.IsEmpty() && m_hWnd) {
            const Gdiplus::Rect place = PlaceSkinText(record, m_nWidth, m_nHeight);
            CRect area(place.X, place.Y, place.X + place.Width, place.Y + place.Height);
            InvalidateRect(&area, TRUE);
        }
        return;
    }
}

void CSkinWnd2::OnPaint() {
    const MSG* current = GetCurrentMessage();
    if (!current || current->message != WM_PAINT) {
        // A direct call: have the whole window painted now, through WM_PAINT.
        if (!m_hWnd) return;
        Invalidate(FALSE);
        UpdateWindow();
        return;
    }
    CPaintDC dc(m_hWnd);
    CRect client;
    GetClientRect(&client);
    client.NormalizeRect();
    RenderTo(dc, client);
}

void CSkinWnd2::RenderTo(HDC target, const CRect& client) {
    const int width = client.Width(), height = client.Height();
    if (!target || width <= 0 || height <= 0) return;
    // The surface (and its GDI+ Graphics) is gone before the paint context ends. A 32-bit DIB, not a
    // device bitmap: on a device bitmap text may be drawn through the system's unsmoothed glyphs.
    CSkinSurface surface(target, width, height, CSkinSurface::Dib32);
    if (!surface.IsValid()) return;
    Gdiplus::Graphics& graphics = *surface.GetGraphics();
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    ComposeSkin(graphics, MakeScene());
    if (m_wndInfo.border <= 0xFFFFFF) DrawBorder(graphics, m_wndInfo.border, width, height);
    surface.EndDrawing();
    for (const CRect& child : m_vecChildRects)
        ExcludeClipRect(target, child.left, child.top, child.right, child.bottom);
    BitBlt(target, 0, 0, width, height, surface.GetDC(), 0, 0, SRCCOPY);
}
