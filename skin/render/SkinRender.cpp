// skin-render OUTDIR: builds every window of the skin beside the program with the real window bases
// and writes its picture to OUTDIR\<WINDOW>.png, plus the game window at 1920 by 1080 to show how
// it spreads. Windows are shown (without activation) while they are drawn, because only visible
// buttons are painted; run it on a display at least 1920 by 1080 large.
#include "foundation/Config.h"
#include "skin/SkinDocument.h"
#include "skin/SkinSurface.h"
#include "skin/render/SkinPreview.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using namespace skinpreview;

// The surface's bottom-up DIB as a PNG; withAlpha keeps the layered window's transparency.
bool SavePng(const CSkinSurface& surface, const CString& path, bool withAlpha) {
    CLSID png;
    if (!surface.Bits() || !FindPngEncoder(png)) return false;
    const INT stride = surface.Width() * 4;
    BYTE* lastRow = static_cast<BYTE*>(const_cast<void*>(surface.Bits())) +
                    static_cast<size_t>(surface.Height() - 1) * stride;
    Gdiplus::Bitmap bitmap(surface.Width(), surface.Height(), -stride,
                           withAlpha ? PixelFormat32bppPARGB : PixelFormat32bppRGB, lastRow);
    return bitmap.GetLastStatus() == Gdiplus::Ok &&
           bitmap.Save(path.GetString(), &png, nullptr) == Gdiplus::Ok;
}

bool Render(const PreviewJob& job, const CString& file) {
    const bool layered = IsLayered(job.window);
    std::unique_ptr<CSkinWndCommon> wnd = MakePreviewWindow(job);
    if (!wnd) return false;
    RECT client = {};
    wnd->GetClientRect(&client);
    bool saved = false;
    {
        CSkinSurface surface(nullptr, client.right, client.bottom, CSkinSurface::Dib32);
        if (surface.IsValid()) {
            if (layered) {
                wnd->ComposePicture(*surface.GetGraphics());
                surface.EndDrawing();
            } else {
                surface.EndDrawing();
                static_cast<CSkinWnd2&>(*wnd).RenderTo(surface.GetDC(), CRect(client));
                GdiFlush();
            }
            saved = SavePng(surface, file, layered);
        }
    }
    wnd->DestroyWindow();
    return saved;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 || !argv[1][0] || argv[1][0] == L'-') {
        fwprintf(stderr, L"usage: skin-render OUTDIR\n"
                         L"Draws every window of the skin beside the program into OUTDIR\\<WINDOW>.png.\n");
        return 2;
    }
    const CString outDir(argv[1]);
    const DWORD attributes = GetFileAttributesW(outDir);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        fwprintf(stderr, L"skin-render: %ls is not a folder\n", outDir.GetString());
        return 2;
    }
    CGdiplusSession gdiplus;
    if (!gdiplus.IsOk()) {
        fwprintf(stderr, L"skin-render: GDI+ did not start\n");
        return 1;
    }
    LoadConfigXml();
    CSkinDocument document;
    if (!document.Load()) {
        fwprintf(stderr, L"skin-render: no loadable skin \"%ls\" in the skin folder beside the program\n",
                 GetSkinDir().GetString());
        return 1;
    }
    g_pSkinDocument = &document;

    int failures = 0;
    for (const PreviewJob& job : kPreviewJobs) {
        const CString file = outDir + L"\\" + job.file + L".png";
        if (Render(job, file)) {
            wprintf(L"%ls\n", file.GetString());
        } else {
            fwprintf(stderr, L"skin-render: could not draw %ls\n", job.window);
            ++failures;
        }
    }
    g_pSkinDocument = nullptr;
    return failures ? 1 : 0;
}
