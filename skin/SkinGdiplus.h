// GDI+ for the skin code: the C++ wrappers that mingw ships, plus owners for what they lack.
#pragma once

#include <windows.h>
// The wrappers expect min and max, which NOMINMAX removes from windows.h.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

#include <cwchar>
#include <memory>
#include <vector>

// Starts GDI+ for the lifetime of the object (programs and test environments; the client starts it
// once in its application object).
class CGdiplusSession {
public:
    CGdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~CGdiplusSession() {
        if (m_ok) Gdiplus::GdiplusShutdown(m_token);
    }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;
    bool IsOk() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

// A loaded image, owned; null when the file is missing, unreadable or has no width.
using SkinImagePtr = std::unique_ptr<Gdiplus::Image>;
// A loaded image that several owners keep (buttons of the same look).
using SkinSharedImage = std::shared_ptr<Gdiplus::Image>;

// A font family made through the flat interface, deleted with it.
struct CGpFontFamilyDeleter {
    void operator()(Gdiplus::GpFontFamily* family) const {
        Gdiplus::DllExports::GdipDeleteFontFamily(family);
    }
};
using CGpFontFamilyPtr = std::unique_ptr<Gdiplus::GpFontFamily, CGpFontFamilyDeleter>;

// The device context of a Graphics, borrowed for GDI calls and given back at the end of the scope
// (the Graphics cannot draw meanwhile). Null when the Graphics has none to give.
class CGraphicsDC {
public:
    explicit CGraphicsDC(Gdiplus::Graphics& graphics) : m_graphics(graphics), m_hDC(graphics.GetHDC()) {}
    ~CGraphicsDC() {
        if (m_hDC) m_graphics.ReleaseHDC(m_hDC);
    }
    CGraphicsDC(const CGraphicsDC&) = delete;
    CGraphicsDC& operator=(const CGraphicsDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

private:
    Gdiplus::Graphics& m_graphics;
    HDC m_hDC;
};

// The class id of GDI+'s PNG encoder (for the render tool and the tests that write images).
inline bool FindPngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<BYTE> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}
