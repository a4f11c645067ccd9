#include "skin/SkinAnchor.h"

void AlignToParent(int& x, int& y, const CString& anchor, const RECT& parent, const RECT& element) {
    const int width = element.right - element.left;
    const int height = element.bottom - element.top;
    if (anchor.CompareNoCase(L"TopLeft") == 0) return;
    if (anchor.CompareNoCase(L"TopRight") == 0) {
        x = parent.right - width - x;
    } else if (anchor.CompareNoCase(L"BottomLeft") == 0) {
        y = parent.bottom - height - y;
    } else if (anchor.CompareNoCase(L"BottomRight") == 0) {
        x = parent.right - width - x;
        y = parent.bottom - height - y;
    } else if (anchor.CompareNoCase(L"Middle") == 0) {
        x = static_cast<int>(static_cast<float>((parent.right - parent.left) - width) * 0.5f);
        y = static_cast<int>(static_cast<float>((parent.bottom - parent.top) - height) * 0.5f);
    }
}

// Differs from AlignToParent, the rule skins are laid out for: it holds only until the owner's first WM_SIZE.
void AlignButtonAtSetup(int& x, int& y, const CString& anchor, const RECT& owner) {
    if (anchor.CompareNoCase(L"TopRight") == 0) {
        x = owner.right - x;
    } else if (anchor.CompareNoCase(L"BottomLeft") == 0) {
        y = owner.bottom - y;
    } else if (anchor.CompareNoCase(L"BottomRight") == 0) {
        x = owner.right - x;
        y = owner.bottom - y;
    }
}
