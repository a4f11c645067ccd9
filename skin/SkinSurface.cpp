#include "skin/SkinSurface.h"

namespace {

// A bitmap like the reference context's (the screen's without one): a memory context's own
// compatible bitmap would be monochrome.
HBITMAP MakeCompatibleBitmap(HDC reference, int width, int height) {
    if (reference) return CreateCompatibleBitmap(reference, width, height);
    CClientDC screen(nullptr);
    return screen.GetSafeHdc() ? CreateCompatibleBitmap(screen, width, height) : nullptr;
}

} // namespace

CSkinSurface::CSkinSurface(HDC reference, int width, int height, Kind kind)
    : m_dc(reference), m_width(width > 0 ? width : 0), m_height(height > 0 ? height : 0) {
    if (!m_dc.GetSafeHdc()) return;
    if (m_width > 0 && m_height > 0) {
        HBITMAP bitmap = nullptr;
        if (kind == Dib32) {
            // Bottom-up, as the layered window expects.
            if (m_dib.Create(m_dc, m_width, m_height)) bitmap = m_dib.GetBitmap();
        } else {
            m_compatible.Reset(MakeCompatibleBitmap(reference, m_width, m_height));
            bitmap = m_compatible;
        }
        if (bitmap) m_select.emplace(m_dc, bitmap);
    }
    m_graphics.reset(new Gdiplus::Graphics(m_dc.GetSafeHdc()));
    if (m_graphics->GetLastStatus() != Gdiplus::Ok) m_graphics.reset();
}

CSkinSurface::~CSkinSurface() {
    EndDrawing();
}

void CSkinSurface::EndDrawing() {
    if (!m_graphics) return;
    m_graphics->Flush(Gdiplus::FlushIntentionSync);
    m_graphics.reset();
    GdiFlush();
}

DWORD CSkinSurface::PixelAt(int x, int y) const {
    GdiFlush();
    return m_dib.Pixel(x, y);
}
