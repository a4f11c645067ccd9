// The records that one window element of "skin.xml" and its children fill. They are plain values:
// the skin document fills them, the windows and buttons keep copies.
#pragma once

#include "framework/String.h"

#include <windows.h>

// A colour above every 24-bit colour: "none" (a window without an outline).
constexpr COLORREF SKIN_NO_COLOR = 0x1000000;
// Text colour used wherever the skin gives none.
constexpr COLORREF SKIN_DEFAULT_COLOR = 0xFFFFFF;

// The window element itself.
struct SkinWndInfo {
    int logo = 0;        // not 0: draw the skin's logo and the title in the title strip
    int strech = 0;      // read, used by no window
    int wmode = 0;       // size mode of the game window
    int titleHeight = 0; // height of the title strip (drag, title, double-click)
    int width = 0;       // design size
    int height = 0;
    int mWidth = 0; // minimum tracking size
    int mHeight = 0;
    COLORREF border = SKIN_NO_COLOR;       // outline colour; above 0xFFFFFF: no outline
    COLORREF color = SKIN_DEFAULT_COLOR;   // title colour
    COLORREF bgcolor = SKIN_DEFAULT_COLOR; // read, used by no window
    CString name;                          // the element's tag; set by the caller before the lookup
    CString title;
    CString font; // name of the FONT for the title
};

// One BTN child.
struct SkinButtonInfo {
    COLORREF color = SKIN_DEFAULT_COLOR;
    COLORREF hotcolor = SKIN_DEFAULT_COLOR; // caption colour while hovered or checked
    int style = 0;                          // layout of icon and caption, 0 to 4
    int check = 0;                          // not 0: a check button
    int left = 0;                           // offset from the anchor
    int top = 0;
    CString name;  // dispatch key, compared without regard to case
    CString title; // caption
    CString stand; // full path of the state images' base ("01.png" to "04.png" follow)
    CString flash; // base of the blink images; empty when the skin gives none
    CString icon;  // full path
    CString icon1; // badge, full path
    CString font;
    CString align = L"TopLeft";
    CString tip; // empty: no tooltip
};

// One TEXT child: a line of text drawn over the images.
struct SkinTextInfo {
    COLORREF color = SKIN_DEFAULT_COLOR;
    RECT rect = {0, 0, 0, 0}; // left, top, left + width, top + height
    CString name;             // key for replacing the text at run time
    CString title;            // the text shown
    CString font;             // without a matching FONT the text is not drawn
    CString align = L"TopLeft";
};

// One RECT child: never drawn; windows place child controls over it.
struct SkinRectInfo {
    int strech = 0;                      // not 0: grows with the window
    COLORREF color = SKIN_DEFAULT_COLOR; // carried only
    int border = 0;                      // carried only (an integer here, not a colour)
    RECT rect = {0, 0, 0, 0};
    CString name;
    CString font;               // carried only
    CString align = L"TopLeft"; // carried only
};

// One IMG child of a window element.
struct SkinImgInfo {
    int strech = 0;  // the width may grow when the window is larger than its design size
    int ystrech = 0; // likewise the height
    int left = 0;    // offset from the anchor
    int top = 0;
    RECT rect = {0, 0, 0, 0}; // (0, 0, width, height): drawn size when both are above 0
    CString name;             // key for showing and hiding it
    CString stand;            // full path of the image file
    CString align = L"TopLeft";
    int arc = 0; // not 0: rounded corners
    BOOL visible = TRUE;
};

// A FONT of the root: the caller sets name, the lookup fills the rest.
struct SkinFontSpec {
    int size = 0;  // pixels
    int style = 0; // GDI+ font style bits
    CString name;
    CString family;
};
