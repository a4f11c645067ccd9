#include "skin/SkinWndCommon.h"

#include "res/resource.h"
#include "skin/SkinDocument.h"

namespace {

RECT WorkArea() {
    RECT area = {};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return area;
}

} // namespace

PFN_SKINWNDRESTACKED g_pfnSkinWndRestacked = nullptr;
PFN_SKINCLICKALLOWED g_pfnSkinClickAllowed = nullptr;

void TellSkinWndRestacked(HWND wnd, UINT swpFlags) {
    // A change of size counts too: minimising and restoring change it, and nothing else tells.
    const bool restacked = (swpFlags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) || !(swpFlags & SWP_NOZORDER) ||
                           !(swpFlags & SWP_NOSIZE);
    if (restacked && g_pfnSkinWndRestacked && !(::GetWindowLongW(wnd, GWL_STYLE) & WS_CHILD))
        g_pfnSkinWndRestacked();
}

CSkinWndCommon::CSkinWndCommon(const wchar_t* skinName) : m_strSkinName(skinName) {
    AddCommandRange(IDC_SKINBTN_FIRST, IDC_SKINBTN_LAST, [this](UINT id) { OnSkinBtnCommand(id); });
}

CSkinWndCommon::~CSkinWndCommon() {
    // Detach first so that nothing of this half-destroyed object is called back; then the buttons go
    // (their blink threads end with them) and the window with its tooltip.
    HWND hWnd = UnsubclassWindow();
    m_listButtons.clear();
    if (hWnd) ::DestroyWindow(hWnd);
}

BOOL CSkinWndCommon::PreTranslateMessage(MSG* msg) {
    if (m_tooltip.GetSafeHwnd()) m_tooltip.RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}

BOOL CSkinWndCommon::CreateWnd(HWND parent, DWORD exStyle, DWORD style) {
    m_strClassName = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    if (m_strClassName.IsEmpty()) return FALSE;
    return CreateEx(exStyle, m_strClassName, nullptr, style, 0, 0, 0, 0, parent, nullptr);
}

void CSkinWndCommon::ShowSkinWnd(BOOL show) {
    if (!show) {
        ShowWindow(SW_HIDE);
        return;
    }
    ShowWindow(m_bMinimized ? SW_RESTORE : SW_SHOW);
    BringWindowToTop();
    SetForegroundWindow();
}

LRESULT CSkinWndCommon::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_WINDOWPOSCHANGED) return CWnd::WindowProc(msg, wParam, lParam);
    const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
    const HWND hWnd = m_hWnd;
    // The size and move handlers run first; nothing of this object is touched afterwards.
    const LRESULT result = CWnd::WindowProc(msg, wParam, lParam);
    TellSkinWndRestacked(hWnd, flags);
    return result;
}

void CSkinWndCommon::InitIconAndTooltip() {
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APP_ICON));
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    if (!m_tooltip.GetSafeHwnd()) m_tooltip.Create(this, TTS_ALWAYSTIP);
}

void CSkinWndCommon::InitSkin() {
    CSkinDocument* document = g_pSkinDocument;
    if (!document) return;
    m_wndInfo.name = m_strSkinName;
    document->GetWndInfo(m_wndInfo);
    m_nWidth = m_wndInfo.width;
    m_nHeight = m_wndInfo.height;
    SetWindowText(m_wndInfo.title);

    int x = 0, y = 0;
    if (m_bCenterOnInit) {
        const RECT area = WorkArea();
        x = area.left + (area.right - area.left - m_nWidth) / 2;
        y = area.top + (area.bottom - area.top - m_nHeight) / 2;
    }
    MoveWindow(x, y, m_wndInfo.width, m_wndInfo.height, FALSE);

    document->GetImages(m_strSkinName, m_vecImages);
    document->GetRects(m_strSkinName, m_vecRects);
    std::vector<SkinButtonInfo> records;
    document->GetButtons(m_strSkinName, records);
    for (const SkinButtonInfo& record : records) {
        std::unique_ptr<CSkinButton> button(new CSkinButton);
        // Every button takes an id, also one that fails: ids are never reused.
        const UINT id = static_cast<UINT>(ButtonIdCounter()++);
        if (!button->Create(this, id, record.check)) continue;
        button->Setup(record, &m_tooltip);
        m_listButtons.push_back(std::move(button));
    }
    document->GetTexts(m_strSkinName, m_vecTexts);
}

void CSkinWndCommon::DrawSkinText(Gdiplus::Graphics& graphics, const wchar_t* text, COLORREF color,
                                  const SkinFontSpec& font, const Gdiplus::RectF& layout) {
    DrawSkinTextLine(graphics, text, color, font, layout);
}

BOOL CSkinWndCommon::FindButton(const wchar_t* name, CSkinButton** button) {
    if (!name) return FALSE;
    for (const auto& candidate : m_listButtons) {
        if (candidate->GetInfo().name.CompareNoCase(name) == 0) {
            if (button) *button = candidate.get();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CSkinWndCommon::GetRectInfo(const wchar_t* name, SkinRectInfo& info) {
    if (!name) return FALSE;
    for (const SkinRectInfo& record : m_vecRects) {
        info = record;
        if (record.name.CompareNoCase(name) == 0) return TRUE;
    }
    return FALSE;
}

BOOL CSkinWndCommon::GetPlacedRect(const wchar_t* name, CRect& rect) {
    SkinRectInfo info;
    if (!GetRectInfo(name, info)) return FALSE;
    rect = info.rect;
    if (info.strech) {
        rect.right += m_nWidth - m_wndInfo.width - 1;
        rect.bottom += m_nHeight - m_wndInfo.height - 1;
    }
    return TRUE;
}

BOOL CSkinWndCommon::ShowButton(const wchar_t* name, int cmdShow) {
    CSkinButton* button = nullptr;
    if (!FindButton(name, &button)) return FALSE;
    button->ShowWindow(cmdShow);
    return TRUE;
}

SkinScene CSkinWndCommon::MakeScene() {
    SkinScene scene;
    scene.wndInfo = &m_wndInfo;
    scene.images = &m_vecImages;
    scene.texts = &m_vecTexts;
    scene.geometry.width = m_nWidth;
    scene.geometry.height = m_nHeight;
    scene.geometry.designWidth = m_wndInfo.width;
    scene.geometry.designHeight = m_wndInfo.height;
    scene.geometry.spread = GetSpread();
    scene.document = g_pSkinDocument;
    // A button hidden by its owner is not drawn. Its own visibility is what counts, so that a
    // rendering of a window that is not on screen still shows its buttons.
    scene.drawButtons = [this](Gdiplus::Graphics& graphics) {
        for (const auto& button : m_listButtons)
            if (button->GetStyle() & WS_VISIBLE) button->Draw(graphics);
    };
    scene.drawText = [this](Gdiplus::Graphics& graphics, const wchar_t* text, COLORREF color,
                            const SkinFontSpec& font, const Gdiplus::RectF& layout) {
        DrawSkinText(graphics, text, color, font, layout);
    };
    return scene;
}

void CSkinWndCommon::OnSkinBtnCommand(UINT id) {
    if (g_pfnSkinClickAllowed && !g_pfnSkinClickAllowed(m_hWnd)) return;
    for (const auto& button : m_listButtons) {
        if (static_cast<UINT>(button->GetDlgCtrlID()) == id) {
            // A copy: the handler may change or delete the button.
            const SkinButtonInfo info = button->GetInfo();
            OnSkinBtnClick(info);
            return;
        }
    }
}

void CSkinWndCommon::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (cx <= 0 || cy <= 0) {
        m_bMinimized = TRUE;
        return;
    }
    m_nWidth = cx;
    m_nHeight = cy;
    CRect client;
    GetClientRect(&client);
    for (const auto& button : m_listButtons)
        button->Reposition(client);
    m_bMinimized = FALSE;
    Invalidate(TRUE);
}

BOOL CSkinWndCommon::OnEraseBkgnd(HDC) {
    return TRUE;
}

void CSkinWndCommon::OnGetMinMaxInfo(MINMAXINFO* info) {
    const RECT area = WorkArea();
    info->ptMaxPosition.x = area.left;
    info->ptMaxPosition.y = area.top;
    info->ptMaxSize.x = info->ptMaxTrackSize.x = area.right - area.left;
    info->ptMaxSize.y = info->ptMaxTrackSize.y = area.bottom - area.top;
    CWnd::OnGetMinMaxInfo(info);
}

void CSkinWndCommon::OnClose() {
    // Closing means clicking the window's own "close" button; the window itself stays.
    CSkinButton* close = nullptr;
    if (FindButton(L"close", &close)) close->PostMessage(BM_CLICK);
}

HBRUSH CSkinWndCommon::OnCtlColor(HDC hdc, HWND ctl, UINT ctlColor) {
    HBRUSH brush = CWnd::OnCtlColor(hdc, ctl, ctlColor);
    if (ctlColor == CTLCOLOR_STATIC) {
        SetBkMode(hdc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }
    return brush;
}
