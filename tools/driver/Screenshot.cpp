#include "tools/driver/Screenshot.h"

#include "tools/driver/ProgramFolder.h"

#include <string>

namespace driver {

namespace {

bool CaptureArea(int x, int y, int width, int height, CDibSection& image) {
    CClientDC screen(nullptr);
    CMemoryDC memory(screen);
    if (!screen.GetSafeHdc() || !memory.GetSafeHdc() || !image.Create(memory, width, height, true))
        return false;
    CSelectObject select(memory, image.GetBitmap());
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    return copied;
}

} // namespace

bool CaptureScreen(CDibSection& image) {
    return CaptureArea(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), image);
}

bool CaptureWindow(HWND wnd, CDibSection& image) {
    RECT rect = {};
    return GetWindowRect(wnd, &rect) &&
           CaptureArea(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, image);
}

bool SaveBitmapFile(const CDibSection& image, const CString& path) {
    if (!image.Bits()) return false;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = image.Width();
    info.biHeight = image.Height(); // bottom-up rows, as every reader expects
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::string pixels;
    pixels.reserve(static_cast<size_t>(image.Width()) * image.Height() * 4);
    for (int row = image.Height() - 1; row >= 0; --row) {
        for (int column = 0; column < image.Width(); ++column) {
            const DWORD pixel = image.Pixel(column, row);
            pixels.append(reinterpret_cast<const char*>(&pixel), sizeof(pixel));
        }
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    bytes += pixels;
    return WriteBytes(path, bytes);
}

} // namespace driver
