// Screenshots from the driver's side: the screen as it is shown now, to look at after a failed case
// or to sample pixels of the client's windows.
#pragma once

#include "framework/Gdi.h"
#include "framework/String.h"

namespace driver {

// Copies the whole screen into a new top-down 32-bit bitmap; false when it could not be read.
bool CaptureScreen(CDibSection& image);
// Copies the part of the screen that a window covers, as shown now (with whatever lies over it).
bool CaptureWindow(HWND wnd, CDibSection& image);
// Writes a bitmap as a .bmp file.
bool SaveBitmapFile(const CDibSection& image, const CString& path);

} // namespace driver
