// skin-render OUTDIR: builds every window of the skin beside the program with the real window bases
// and writes its picture to OUTDIR\<WINDOW>.png, plus the game window at 1920 by 1080 to show how
// it spreads. Windows are shown (without activation) while they are drawn, because only visible
// buttons are painted; run it on a display at least 1920 by 1080 large.
#include "foundation/Config.h"
#include "skin/SkinDocument.h"
#include "skin/SkinSurface.h"
#include "skin/SkinWnd.h"
#include "skin/SkinWnd2.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

class CPreviewWnd2 : public CSkinWnd2 {
public:
    using CSkinWnd2::CSkinWnd2;
    void OnSkinBtnClick(const SkinButtonInfo&) override {}
};

class CPreviewLayeredWnd : public CSkinWnd {
public:
    using CSkinWnd::CSkinWnd;
    void OnSkinBtnClick(const SkinButtonInfo&) override {}
};

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

void HideButton(CSkinWndCommon& wnd, const wchar_t* name) {
    CSkinButton* button = nullptr;
    if (wnd.FindButton(name, &button)) button->ShowWindow(SW_HIDE);
}

// The state in which the client first shows each window.
void PrepareLikeTheClient(CSkinWndCommon& wnd, const CString& name) {
    if (name == L"GAMEWND") {
        HideButton(wnd, L"vip");
        HideButton(wnd, L"restore");
        static_cast<CSkinWnd2&>(wnd).SetSkinText(L"text_username", L"player");
    } else if (name == L"UPDATEWND") {
        static_cast<CSkinWnd2&>(wnd).SetSkinText(L"text2", L"");
        HideButton(wnd, L"ok1");
    } else if (name == L"MAINWND") {
        static_cast<CSkinWnd&>(wnd).ShowImage(L"choose", FALSE);
    }
}

bool Render(const CString& name, int width, int height, const CString& file) {
    const bool layered = name == L"MAINWND";
    std::unique_ptr<CSkinWndCommon> wnd;
    if (layered)
        wnd.reset(new CPreviewLayeredWnd(name));
    else
        wnd.reset(new CPreviewWnd2(name));
    if (!wnd->CreateWnd(nullptr, WS_EX_TOOLWINDOW, WS_POPUP)) return false;
    PrepareLikeTheClient(*wnd, name);
    if (width > 0 && height > 0)
        wnd->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    wnd->ShowWindow(SW_SHOWNOACTIVATE);
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

    struct Job {
        const wchar_t* window;
        int width, height;
        const wchar_t* file;
    };
    const Job jobs[] = {
        {L"MAINWND", 0, 0, L"MAINWND"},
        {L"GAMEWND", 0, 0, L"GAMEWND"},
        {L"GAMEWND", 1920, 1080, L"GAMEWND-1920x1080"},
        {L"BOSSWND", 0, 0, L"BOSSWND"},
        {L"CACHEWND", 0, 0, L"CACHEWND"},
        {L"LOCKWND", 0, 0, L"LOCKWND"},
        {L"UNLOCKWND", 0, 0, L"UNLOCKWND"},
        {L"MOREWND", 0, 0, L"MOREWND"},
        {L"SETUPWND", 0, 0, L"SETUPWND"},
        {L"SERVERWND", 0, 0, L"SERVERWND"},
        {L"SELECTWND", 0, 0, L"SELECTWND"},
        {L"UPDATEWND", 0, 0, L"UPDATEWND"},
        {L"VIPWND", 0, 0, L"VIPWND"},
        {L"HOSTWND", 0, 0, L"HOSTWND"},
    };
    int failures = 0;
    for (const Job& job : jobs) {
        const CString file = outDir + L"\\" + job.file + L".png";
        if (Render(job.window, job.width, job.height, file)) {
            wprintf(L"%ls\n", file.GetString());
        } else {
            fwprintf(stderr, L"skin-render: could not draw %ls\n", job.window);
            ++failures;
        }
    }
    g_pSkinDocument = nullptr;
    return failures ? 1 : 0;
}
