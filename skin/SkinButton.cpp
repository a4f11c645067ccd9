#include "skin/SkinButton.h"

#include "framework/Gdi.h"
#include "skin/SkinAnchor.h"
#include "skin/SkinComposition.h"

IMPLEMENT_DYNAMIC(CSkinButton, CWnd)

CSkinButton::CSkinButton() {
    m_format.reset(new Gdiplus::StringFormat(0, LANG_NEUTRAL));
    m_format->SetAlignment(Gdiplus::StringAlignmentNear);
    m_format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
    m_format->SetTrimming(Gdiplus::StringTrimmingWord);
    m_format->SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
}

CSkinButton::~CSkinButton() {
    // The owner is going away: end the thread, but neither reload images nor repaint anything.
    StopBlinkThread();
    m_bBlinking = FALSE;
    FreeImages();
    m_pIcon.reset();
    m_pBadge.reset();
    m_format.reset();
}

BOOL CSkinButton::Create(CWnd* parent, UINT id, int /*check*/) {
    return CreateEx(0, L"Button", L"", WS_CHILD | WS_VISIBLE, CRect(), parent, id);
}

void CSkinButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
}

BOOL CSkinButton::Setup(const SkinButtonInfo& info, CToolTipCtrl* tooltip) {
    ReloadImages(info.stand);
    m_pIcon = LoadSharedSkinImage(info.icon);
    m_pBadge = LoadSharedSkinImage(info.icon1);

    // First placement (Reposition, on the owner's first WM_SIZE, anchors by the layout rule).
    CRect own = GetRectInOwner();
    CRect owner;
    if (HWND ownerHwnd = GetParentHwnd()) {
        ::GetWindowRect(ownerHwnd, &owner);
        ::MapWindowPoints(nullptr, ownerHwnd, reinterpret_cast<LPPOINT>(&owner), 2);
    }
    int x = info.left, y = info.top;
    AlignButtonAtSetup(x, y, info.align, owner);
    MoveWindow(x, y, own.Width(), own.Height(), TRUE);
    ShowWindow(SW_SHOW);
    m_info = info;

    if (tooltip && !info.tip.IsEmpty()) {
        CRect client;
        GetClientRect(&client);
        tooltip->AddTool(this, info.tip, &client, static_cast<UINT_PTR>(GetDlgCtrlID()));
    }

    switch (info.style) {
    case 0:
        m_format->SetAlignment(Gdiplus::StringAlignmentNear);
        m_format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
        break;
    case 1:
    case 3:
        m_format->SetAlignment(Gdiplus::StringAlignmentCenter);
        m_format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
        break;
    case 2:
        m_format->SetAlignment(Gdiplus::StringAlignmentFar);
        m_format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
        break;
    case 4:
        m_format->SetAlignment(Gdiplus::StringAlignmentCenter);
        m_format->SetLineAlignment(Gdiplus::StringAlignmentFar);
        break;
    default:
        break;
    }
    return TRUE;
}

void CSkinButton::FreeImages() {
    m_pCurImage = nullptr; // it always points into m_images
    for (SkinSharedImage& image : m_images)
        image.reset();
    for (CString& path : m_pendingPaths)
        path.Empty();
}

BOOL CSkinButton::LoadImages(const wchar_t* normal, const wchar_t* hover, const wchar_t* pressed,
                             const wchar_t* checked) {
    FreeImages();
    if (!normal) return FALSE;
    // Only the normal image is shown at first: the others wait until a state first needs them (most
    // buttons are never pressed, and start-up decoded all four of every button).
    const wchar_t* paths[4] = {normal, hover, pressed, checked};
    for (int i = 0; i < 4; ++i)
        m_pendingPaths[i] = paths[i];
    StateImage(kNormal);
    // Without a normal image the hover image gives the size.
    Gdiplus::Image* sizing = m_images[kNormal] ? m_images[kNormal].get() : StateImage(kHover);
    const int width = sizing ? static_cast<int>(sizing->GetWidth()) : 50;
    const int height = sizing ? static_cast<int>(sizing->GetHeight()) : 20;
    if (m_hWnd)
        SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    m_pCurImage = m_images[kNormal].get();
    return TRUE;
}

void CSkinButton::ReloadImages(const wchar_t* base) {
    CString stem(base);
    if (stem.IsEmpty()) {
        // No base, no names: the button has no images (and so keeps the default size).
        LoadImages(L"", nullptr, nullptr, nullptr);
    } else {
        LoadImages(stem + L"01.png", stem + L"02.png", stem + L"03.png", stem + L"04.png");
    }
    InvalidateInOwner();
}

Gdiplus::Image* CSkinButton::GetStateImage(int index) const {
    return index >= 0 && index < 4 ? m_images[index].get() : nullptr;
}

Gdiplus::Image* CSkinButton::StateImage(int index) {
    CString& pending = m_pendingPaths[index];
    if (!pending.IsEmpty()) {
        m_images[index] = LoadSharedSkinImage(pending);
        pending.Empty(); // a missing file is looked for once per load, not at every hover
    }
    return m_images[index].get();
}

void CSkinButton::UpdateStateImage() {
    Gdiplus::Image* normal = m_images[kNormal].get();
    auto orNormal = [this, normal](int state) {
        Gdiplus::Image* image = StateImage(state);
        return image ? image : normal;
    };
    Gdiplus::Image* chosen = normal;
    if (m_info.check) {
        if (m_bChecked)
            chosen = orNormal(kChecked);
        else if (m_bHover)
            chosen = orNormal(kHover);
    } else if (m_bHover) {
        chosen = m_bPressed ? orNormal(kPressed) : orNormal(kHover);
    }
    if (chosen != m_pCurImage) {
        m_pCurImage = chosen;
        InvalidateInOwner();
    }
}

CRect CSkinButton::GetRectInOwner() const {
    CRect rect;
    if (!m_hWnd) return rect;
    ::GetWindowRect(m_hWnd, &rect);
    if (HWND owner = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, owner, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

void CSkinButton::InvalidateInOwner() {
    if (!m_hWnd) return;
    HWND owner = ::GetParent(m_hWnd);
    if (!owner) return;
    CRect rect = GetRectInOwner();
    ::InvalidateRect(owner, &rect, TRUE);
}

void CSkinButton::Reposition(const RECT& ownerClient) {
    if (!m_hWnd) return;
    CRect rect = GetRectInOwner();
    int x = m_info.left, y = m_info.top;
    AlignToParent(x, y, m_info.align, ownerClient, rect);
    MoveWindow(x, y, rect.Width(), rect.Height(), TRUE);
}

void CSkinButton::SetCaption(const wchar_t* text) {
    m_info.title = text;
    InvalidateInOwner();
}

LRESULT CSkinButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_BUTTONBLINK) return OnBlinkTick(wParam, lParam);
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CSkinButton::OnDestroy() {
    // The window goes before the object (its owner is being destroyed): no more ticks for it.
    StopBlinkThread();
    m_bBlinking = FALSE;
    CWnd::OnDestroy();
}

void CSkinButton::OnPaint() {
    // The owner paints the button into its own picture; here the area is only validated.
    CPaintDC validate(m_hWnd);
}

BOOL CSkinButton::OnEraseBkgnd(HDC) {
    return TRUE;
}

void CSkinButton::OnMouseMove(UINT flags, CPoint point) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 1;
        m_bTracking = TrackMouseEvent(&tme);
    }
    CWnd::OnMouseMove(flags, point);
}

LRESULT CSkinButton::OnMouseHover(WPARAM, LPARAM) {
    m_bHover = TRUE;
    UpdateStateImage();
    return 0;
}

LRESULT CSkinButton::OnMouseLeave(WPARAM, LPARAM) {
    m_bPressed = FALSE;
    m_bHover = FALSE;
    m_bTracking = FALSE;
    UpdateStateImage();
    return 0;
}

void CSkinButton::OnLButtonDown(UINT flags, CPoint point) {
    m_bPressed = TRUE;
    UpdateStateImage();
    CWnd::OnLButtonDown(flags, point);
}

void CSkinButton::OnLButtonUp(UINT flags, CPoint point) {
    m_bPressed = FALSE;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        m_bChecked = m_info.check ? !m_bChecked : FALSE;
    } else {
        m_bHover = FALSE;
    }
    // The owner sees the click (sent by the default processing below) with the blink already over.
    if (m_bBlinking) EndBlink();
    UpdateStateImage();
    CWnd::OnLButtonUp(flags, point);
}

BOOL CSkinButton::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(LoadCursor(nullptr, m_bHandCursor ? IDC_HAND : IDC_ARROW));
    return TRUE;
}
