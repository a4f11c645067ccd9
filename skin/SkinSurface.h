// An off-screen drawing surface: a memory device context, a bitmap selected into it and a GDI+
// Graphics on it. The Graphics is released first, then the bitmap is selected out, and only then
// are the bitmap and the context deleted, so GDI+ never outlives the context it draws on.
#pragma once

#include "skin/SkinGdiplus.h"

#include <memory>

class CSkinSurface {
public:
    enum Kind {
        Compatible, // a bitmap compatible with the reference context; content undefined at first
        Dib32,      // a 32-bit bottom-up DIB section; starts fully transparent (all zero)
    };

    // reference: the window's device context, or null for the screen.
    CSkinSurface(HDC reference, int width, int height, Kind kind);
    ~CSkinSurface();
    CSkinSurface(const CSkinSurface&) = delete;
    CSkinSurface& operator=(const CSkinSurface&) = delete;

    // A context and a GDI+ Graphics exist (the bitmap may not, as with a failed DIB section).
    bool IsValid() const { return m_hdc && m_graphics; }
    HDC GetDC() const { return m_hdc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Gdiplus::Graphics* GetGraphics() const { return m_graphics.get(); }
    // Ends GDI+ drawing (flushes and releases the Graphics) before the bitmap is copied elsewhere.
    void EndDrawing();

    // Dib32 only: the pixel at (x, y) from the top-left as 0xAARRGGBB; 0 outside or without bits.
    DWORD PixelAt(int x, int y) const;
    const void* Bits() const { return m_bits; }

private:
    HDC m_hdc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    void* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};
