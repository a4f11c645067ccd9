// CFont: owns one GDI font.
#pragma once

#include "Gdi.h"

class CFont {
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const wchar_t* faceName);
    // Takes ownership of a font (the previous one is deleted).
    BOOL Attach(HFONT font);
    HFONT Detach() { return m_font.Detach(); }
    BOOL DeleteObject();

    HFONT GetSafeHandle() const { return m_font.Get(); }
    operator HFONT() const { return m_font.Get(); }

private:
    CFontHandle m_font;
};
