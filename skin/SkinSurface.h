// An off-screen drawing surface: a memory device context, a bitmap selected into it and a GDI+
// Graphics on it, each held by its owner. Members go in reverse order of declaration: the Graphics
// first, then the bitmap is selected out, and only then are the bitmap and the context deleted, so
// GDI+ never outlives the context it draws on.
#pragma once

#include "framework/Gdi.h"
#include "skin/SkinGdiplus.h"

#include <memory>
#include <optional>

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
    bool IsValid() const { return m_dc.GetSafeHdc() && m_graphics; }
    HDC GetDC() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Gdiplus::Graphics* GetGraphics() const { return m_graphics.get(); }
    // Ends GDI+ drawing (flushes and releases the Graphics) before the bitmap is copied elsewhere.
    void EndDrawing();

    // Dib32 only: the pixel at (x, y) from the top-left as 0xAARRGGBB; 0 outside or without bits.
    DWORD PixelAt(int x, int y) const;
    const void* Bits() const { return m_dib.Bits(); }

private:
    CMemoryDC m_dc;
    CDibSection m_dib;          // Dib32
    CBitmapHandle m_compatible; // Compatible
    std::optional<CSelectObject> m_select;
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};
