// Skin images are read from their files at every paint and released after drawing, so a skin can be
// changed on disk while the client runs and no file stays locked between paints.
#include "skin/SkinComposition.h"

#include "framework/String.h"

#include <cwchar>
#include <map>
#include <string>

namespace {

SkinImageLoadTotals g_loadTotals;

// Adds the time from construction to destruction to the totals.
class CLoadClock {
public:
    CLoadClock() { QueryPerformanceCounter(&m_start); }
    ~CLoadClock() {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        g_loadTotals.ticks += end.QuadPart - m_start.QuadPart;
        ++g_loadTotals.count;
    }

private:
    LARGE_INTEGER m_start;
};

} // namespace

SkinImageLoadTotals GetSkinImageLoadTotals() {
    return g_loadTotals;
}

SkinImagePtr LoadSkinImage(const wchar_t* path) {
    if (!path || !*path) return nullptr;
    // An empty image attribute reads as the skin's folder: no file to open (every button without an
    // icon or badge asked twice at its creation).
    const wchar_t last = path[wcslen(path) - 1];
    if (last == L'\\' || last == L'/') return nullptr;
    CLoadClock clock;
    CString file(path);
    // Long program folders: GDI+ opens files through the ordinary file API, which takes the
    // extended-length form beyond MAX_PATH.
    if (file.GetLength() >= MAX_PATH && file.Left(4) != L"\\\\?\\") file = CString(L"\\\\?\\") + file;
    SkinImagePtr image(new Gdiplus::Image(file.GetString()));
    if (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0 || image->GetHeight() == 0)
        return nullptr;
    return image;
}

SkinSharedImage LoadSharedSkinImage(const wchar_t* path) {
    if (!path || !*path) return nullptr;
    // Only weak references: an image goes when its last button does, and a later load reads the file.
    static std::map<std::wstring, std::weak_ptr<Gdiplus::Image>> s_kept;
    std::weak_ptr<Gdiplus::Image>& kept = s_kept[path];
    if (SkinSharedImage image = kept.lock()) return image;
    SkinSharedImage image(LoadSkinImage(path).release());
    kept = image;
    return image;
}
