// Scoped owners for the GDI objects that painting uses: device contexts (paint, client, memory),
// objects selected into a context, GDI objects, and 32-bit DIB sections whose pixels can be read.
// Destruction order matters to callers: release anything drawing on a context (GDI+ Graphics)
// before the context itself goes.
#pragma once

#include "Geometry.h"

#include <windows.h>

// Owns one GDI object (bitmap, brush, pen, font, region) and deletes it.
template <class T> class CGdiHandle {
public:
    CGdiHandle() = default;
    explicit CGdiHandle(T handle) : m_handle(handle) {}
    ~CGdiHandle() { Reset(); }
    CGdiHandle(const CGdiHandle&) = delete;
    CGdiHandle& operator=(const CGdiHandle&) = delete;

    void Reset(T handle = nullptr) {
        if (m_handle) DeleteObject(m_handle);
        m_handle = handle;
    }
    T Detach() {
        T handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    T Get() const { return m_handle; }
    operator T() const { return m_handle; }

private:
    T m_handle = nullptr;
};

using CBitmapHandle = CGdiHandle<HBITMAP>;
using CBrushHandle = CGdiHandle<HBRUSH>;
using CPenHandle = CGdiHandle<HPEN>;
using CFontHandle = CGdiHandle<HFONT>;
using CRgnHandle = CGdiHandle<HRGN>;

// BeginPaint/EndPaint around one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    const PAINTSTRUCT& PaintStruct() const { return m_ps; }

private:
    HWND m_hWnd;
    HDC m_hDC = nullptr;
    PAINTSTRUCT m_ps = {};
};

// GetDC/ReleaseDC: the client area's context outside WM_PAINT.
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(GetDC(hWnd)) {}
    ~CClientDC() {
        if (m_hDC) ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A memory context compatible with another one (or with the screen when null).
class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatible) : m_hDC(CreateCompatibleDC(compatible)) {}
    ~CMemoryDC() {
        if (m_hDC) DeleteDC(m_hDC);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// Selects an object into a context and selects the previous one back at the end of the scope.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ object) : m_hDC(hDC) {
        if (hDC && object) m_old = SelectObject(hDC, object);
    }
    ~CSelectObject() {
        if (m_old) SelectObject(m_hDC, m_old);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_old = nullptr;
};

// A 32-bit BGRA DIB section with direct access to its pixels.
class CDibSection {
public:
    CDibSection() = default;
    CDibSection(const CDibSection&) = delete;
    CDibSection& operator=(const CDibSection&) = delete;

    // Rows run bottom-up unless topDown; the pixels start at zero (transparent black).
    BOOL Create(HDC hDC, int width, int height, bool topDown = false) {
        m_bitmap.Reset();
        m_bits = nullptr;
        if (width <= 0 || height <= 0) return FALSE;
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = topDown ? -height : height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits) {
            if (bitmap) DeleteObject(bitmap);
            return FALSE;
        }
        m_bitmap.Reset(bitmap);
        m_bits = static_cast<DWORD*>(bits);
        m_width = width;
        m_height = height;
        m_topDown = topDown;
        return TRUE;
    }

    HBITMAP GetBitmap() const { return m_bitmap; }
    int Width() const { return m_bitmap ? m_width : 0; }
    int Height() const { return m_bitmap ? m_height : 0; }
    DWORD* Bits() const { return m_bits; }

    // The pixel at (x, y) counted from the top-left corner as 0xAARRGGBB; 0 outside the bitmap.
    // GDI writes through its own batch: call GdiFlush() before reading what it drew.
    DWORD Pixel(int x, int y) const {
        if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
        int row = m_topDown ? y : m_height - 1 - y;
        return m_bits[static_cast<size_t>(row) * m_width + x];
    }

private:
    CBitmapHandle m_bitmap;
    DWORD* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_topDown = false;
};
