#include "skin/SkinWnd.h"

#include "foundation/Config.h"
#include "framework/Gdi.h"
#include "skin/SkinSurface.h"

int g_nSkinWndBtnId = IDC_SKINBTN_FIRST;

IMPLEMENT_DYNAMIC(CSkinWnd, CWnd)

CSkinWnd::CSkinWnd(const wchar_t* skinName) : CSkinWndCommon(skinName) {}

CSkinWnd::~CSkinWnd() {
    // The window must be gone before the module its layered updates come from is released (with the
    // members, after this body).
    HWND hWnd = UnsubclassWindow();
    m_listButtons.clear();
    if (hWnd) ::DestroyWindow(hWnd);
}

BOOL CSkinWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    // Without a configured name the registered class is used as it is.
    const CString name = g_strImClass;
    if (!name.IsEmpty() && cs.lpszClass) {
        WNDCLASSW wc = {};
        if (GetClassInfoW(AfxGetInstanceHandle(), cs.lpszClass, &wc)) {
            m_strLayeredClass = name;
            wc.hInstance = AfxGetInstanceHandle();
            wc.lpszClassName = m_strLayeredClass;
            // A class of that name registered earlier stays as it is.
            if (AfxRegisterClass(&wc)) cs.lpszClass = m_strLayeredClass;
        }
    }
    return CWnd::PreCreateWindow(cs);
}

int CSkinWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    m_hUser32.Attach(LoadLibraryA("User32.DLL"));
    if (!m_hUser32) return -1;
    // Through void* to tell the compiler the exported function's type is known to us.
    m_pfnUpdateLayeredWindow = reinterpret_cast<PFN_UPDATELAYEREDWINDOW>(
        reinterpret_cast<void*>(GetProcAddress(m_hUser32, "UpdateLayeredWindow")));
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(GetExStyle() ^ WS_EX_LAYERED));
    m_blend.BlendOp = AC_SRC_OVER;
    m_blend.BlendFlags = 0;
    m_blend.SourceConstantAlpha = 255;
    m_blend.AlphaFormat = AC_SRC_ALPHA;
    InitIconAndTooltip();
    InitSkin();
    return 0;
}

void CSkinWnd::ShowSkinWnd(BOOL show) {
    CSkinWndCommon::ShowSkinWnd(show);
    if (show) DrawSkin();
}

void CSkinWnd::ShowImage(const wchar_t* name, BOOL visible) {
    if (!name) return;
    for (SkinImgInfo& record : m_vecImages)
        if (record.name.CompareNoCase(name) == 0) record.visible = visible;
}

void CSkinWnd::OnPaint() {
    if (IsWindowVisible()) {
        DrawSkin();
    } else {
        ValidateRect(nullptr);
    }
}

void CSkinWnd::OnLButtonDown(UINT flags, CPoint point) {
    // The whole picture is the handle: any press drags. The move runs a modal loop in which posted
    // messages may destroy this object, so nothing of it is touched after the drag.
    CWnd::OnLButtonDown(flags, point);
    SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void CSkinWnd::DrawSkin() {
    if (!m_hWnd) return;
    CPaintDC dc(m_hWnd);
    CRect client;
    GetClientRect(&client);
    client.NormalizeRect();
    {
        // The surface (and its GDI+ Graphics) is released before the paint context ends.
        CSkinSurface surface(dc, client.Width(), client.Height(), CSkinSurface::Dib32);
        if (!surface.IsValid()) return;
        ComposeSkin(*surface.GetGraphics(), MakeScene());
        surface.EndDrawing();

        CRect window;
        GetWindowRect(&window);
        POINT destination = {window.left, window.top};
        SIZE size = {m_nWidth, m_nHeight};
        POINT source = {0, 0};
        if (m_pfnUpdateLayeredWindow)
            m_pfnUpdateLayeredWindow(m_hWnd, dc, &destination, &size, surface.GetDC(), &source, 0, &m_blend,
                                     ULW_ALPHA);
        BitBlt(dc, 0, 0, m_nWidth, m_nHeight, surface.GetDC(), 0, 0, SRCCOPY);
        SetWindowPos(HWND_NOTOPMOST, window.left, window.top, m_nWidth, m_nHeight, SWP_SHOWWINDOW);
    }
}
