#include "skin/SkinSurface.h"

CSkinSurface::CSkinSurface(HDC reference, int width, int height, Kind kind)
    : m_width(width > 0 ? width : 0), m_height(height > 0 ? height : 0) {
    HDC screen = reference ? nullptr : ::GetDC(nullptr);
    HDC ref = reference ? reference : screen;
    m_hdc = CreateCompatibleDC(ref);
    if (m_hdc && m_width > 0 && m_height > 0) {
        if (kind == Dib32) {
            BITMAPINFO info = {};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = m_width;
            info.bmiHeader.biHeight = m_height; // bottom-up, as the layered window expects
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            m_bitmap = CreateDIBSection(m_hdc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
            if (!m_bitmap) m_bits = nullptr;
        } else {
            m_bitmap = CreateCompatibleBitmap(ref, m_width, m_height);
        }
        if (m_bitmap) m_oldBitmap = SelectObject(m_hdc, m_bitmap);
    }
    if (screen) ReleaseDC(nullptr, screen);
    if (m_hdc) {
        m_graphics.reset(new Gdiplus::Graphics(m_hdc));
        if (m_graphics->GetLastStatus() != Gdiplus::Ok) m_graphics.reset();
    }
}

CSkinSurface::~CSkinSurface() {
    EndDrawing();
    if (m_hdc && m_oldBitmap) SelectObject(m_hdc, m_oldBitmap);
    if (m_hdc) DeleteDC(m_hdc);
    if (m_bitmap) DeleteObject(m_bitmap);
}

void CSkinSurface::EndDrawing() {
    if (!m_graphics) return;
    m_graphics->Flush(Gdiplus::FlushIntentionSync);
    m_graphics.reset();
    GdiFlush();
}

DWORD CSkinSurface::PixelAt(int x, int y) const {
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    GdiFlush();
    const DWORD* rows = static_cast<const DWORD*>(m_bits);
    // Bottom-up: the first row in memory is the lowest on screen.
    return rows[static_cast<size_t>(m_height - 1 - y) * m_width + x];
}
