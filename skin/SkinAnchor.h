// Where the skin's anchor names ("TopLeft", "TopRight", "BottomLeft", "BottomRight", "Middle",
// compared without regard to case) put an element: the layout rule every skinned window applies on
// each resize, and the button's own rule for its first placement.
#pragma once

#include "framework/String.h"

#include <windows.h>

// Places an offset (x, y) inside the parent: the edge anchors measure from the parent's right or
// bottom edge to the element's far edge, "Middle" centres and ignores the offsets; other names leave
// the position alone.
void AlignToParent(int& x, int& y, const CString& anchor, const RECT& parent, const RECT& element);

// A button's place when it is set up: the edge anchors measure from the owner's right or bottom edge
// to the button's near (left or top) edge, and "Middle" is not known.
void AlignButtonAtSetup(int& x, int& y, const CString& anchor, const RECT& owner);
