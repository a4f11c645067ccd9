// Helpers for the skin tests: GDI+ for the whole program, PNG files of known colours, skin folders in
// a temporary program folder, colour comparison with a tolerance, thread counts and message pumping.
#pragma once

#include "TempDir.h"
#include "framework/MessageLoop.h"
#include "framework/Wnd.h"
#include "skin/SkinDocument.h"
#include "skin/SkinGdiplus.h"
#include "skin/SkinSurface.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const CString& s, std::ostream* os) {
    *os << '"' << s.ToUtf8() << '"';
}

namespace skintest {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE((m_session = std::make_unique<CGdiplusSession>())->IsOk()); }
    void TearDown() override { m_session.reset(); }

private:
    std::unique_ptr<CGdiplusSession> m_session;
};
inline ::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// 0xAARRGGBB
using Argb = DWORD;
const Argb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00,
           kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

// Writes a PNG whose pixel (x, y) is colour(x, y).
inline bool WritePng(const CString& path, int width, int height,
                     const std::function<Argb(int, int)>& colour) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
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
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || -d > tolerance) return false;
    }
    return true;
}
// The RGB part only (GDI drawing on a device context leaves the alpha byte to chance).
inline Argb Rgb(Argb v) {
    return v & 0xFFFFFF;
}
#define EXPECT_RGB_NEAR(got, want, tolerance)                                                                \
    EXPECT_TRUE(skintest::Near(skintest::Rgb(got), skintest::Rgb(want), tolerance))                          \
        << std::hex << "got " << (got) << " want " << (want) << std::dec
#define EXPECT_PIXEL(surface, x, y, colour)                                                                  \
    EXPECT_RGB_NEAR((surface).PixelAt(x, y), colour, 12) << " at (" << (x) << "," << (y) << ")"

// Runs draw on a fresh 32-bit DIB of the size and ends the drawing.
inline std::unique_ptr<CSkinSurface> Paint(int w, int h,
                                           const std::function<void(Gdiplus::Graphics&)>& draw) {
    std::unique_ptr<CSkinSurface> surface(new CSkinSurface(nullptr, w, h, CSkinSurface::Dib32));
    EXPECT_TRUE(surface->IsValid());
    if (surface->IsValid()) draw(*surface->GetGraphics());
    surface->EndDrawing();
    return surface;
}

// Creates nested folders below base until the path is at least minLength long; returns it (without
// the long-path prefix, which the creation needs).
inline CString MakeLongDir(const CString& base, int minLength) {
    CString path = base;
    while (path.GetLength() < minLength) {
        path += L"\\a_rather_long_folder_name_for_players_who_install_deep";
        CreateDirectoryW(CString(L"\\\\?\\") + path, nullptr);
    }
    return path;
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

// A skin folder "demo", loaded and installed in g_pSkinDocument for the life of the object.
class InstalledSkin {
public:
    explicit InstalledSkin(const std::string& xml) { m_folder.WriteXml(L"demo", xml); }
    ~InstalledSkin() {
        if (g_pSkinDocument == m_document.get()) g_pSkinDocument = nullptr;
    }
    // Loads after the images are written; true when the skin loaded.
    bool Install() {
        m_document.reset(new CSkinDocument);
        if (!m_document->LoadFrom(m_folder.ProgramDir(), L"demo")) return false;
        g_pSkinDocument = m_document.get();
        return true;
    }
    CString Image(const wchar_t* file) const { return m_folder.ImagePath(L"demo", file); }

private:
    SkinFolder m_folder;
    std::unique_ptr<CSkinDocument> m_document;
};

// Threads of this process right now.
inline int CountThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// Handles the waiting messages through the project's loop (with pre-translation).
inline void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
        PumpMessage();
}
// Pumps messages until done() holds or the time is up; returns done().
template <class Pred> bool PumpUntil(Pred done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done() && GetTickCount64() < end) {
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

// A plain pop-up that owns buttons in tests and records the clicks they send.
class COwnerWnd : public CWnd {
public:
    std::vector<UINT> clicks;
    BOOL CreateOwner(int width, int height) {
        return CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP, 0, 0, width, height, nullptr, nullptr);
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) != BN_CLICKED) return CWnd::OnCommand(wParam, lParam);
        clicks.push_back(LOWORD(wParam));
        return TRUE;
    }
};

} // namespace skintest
