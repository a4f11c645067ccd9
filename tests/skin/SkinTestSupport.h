// Helpers for the skin tests: PNG files of known colours, skin folders in a temporary program
// folder, and colour comparison with a tolerance.
#pragma once

#include "TempDir.h"
#include "skin/SkinGdiplus.h"

#include <functional>
#include <string>
#include <vector>

namespace skintest {

// 0xAARRGGBB
using Argb = DWORD;

// Writes a PNG whose pixel (x, y) is colour(x, y).
inline bool WritePng(const CString& path, int width, int height,
                     const std::function<Argb(int, int)>& colour) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, Gdiplus::Color(colour(x, y)));
    CLSID png;
    return FindPngEncoder(png) && bitmap.Save(path.GetString(), &png, nullptr) == Gdiplus::Ok;
}

inline bool WriteSolidPng(const CString& path, int width, int height, Argb colour) {
    return WritePng(path, width, height, [colour](int, int) { return colour; });
}

// Each channel within the tolerance.
inline bool Near(Argb a, Argb b, int tolerance = 8) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        if (ca - cb > tolerance || cb - ca > tolerance) return false;
    }
    return true;
}

inline std::string Hex(Argb v) {
    char text[16];
    snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(v));
    return text;
}

// The RGB part only (GDI drawing on a device context leaves the alpha byte to chance).
inline Argb Rgb(Argb v) {
    return v & 0xFFFFFF;
}

// A program folder with skin\<name>\skin.xml files.
class SkinFolder {
public:
    const TempDir& Dir() const { return m_dir; }
    CString ProgramDir() const { return m_dir.Path(); }
    CString SkinPath(const wchar_t* skin) const { return m_dir / (CString(L"skin\\") + skin).GetString(); }
    void WriteXml(const wchar_t* skin, const std::string& xml) const {
        m_dir.WriteFile((CString(L"skin\\") + skin + L"\\skin.xml").GetString(), xml);
    }
    CString ImagePath(const wchar_t* skin, const wchar_t* file) const {
        m_dir.MakeDir((CString(L"skin\\") + skin).GetString());
        return SkinPath(skin) + L"\\" + file;
    }

private:
    TempDir m_dir;
};

} // namespace skintest
