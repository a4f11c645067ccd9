#include "Font.h"

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const wchar_t* faceName) {
    return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CFont::Attach(HFONT font) {
    m_font.Reset(font);
    return font != nullptr;
}

BOOL CFont::DeleteObject() {
    if (!m_font.Get()) return FALSE;
    m_font.Reset();
    return TRUE;
}
