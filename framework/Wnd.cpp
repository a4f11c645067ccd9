#include "Wnd.h"

#include "DebugLog.h"
#include "Handle.h"
#include "MessageBox.h"

namespace {

// The window property that leads from a window to its object, and the one that keeps a subclassed
// window's own procedure when it could not be given back (someone subclassed on top of us).
const wchar_t kObjectProp[] = L"PellarWndObject";
const wchar_t kSuperProp[] = L"PellarWndSuper";

// The object whose window is being created on this thread; bound at that window's WM_NCCREATE.
thread_local CWnd* t_pWndInit = nullptr;
// Handlers of bound windows (and handler scopes) running on this thread.
thread_local int t_nHandlerDepth = 0;
// What waits for them and the boxes to return: a few distinct messages at most.
struct AfterHandlers {
    HWND wnd;
    UINT msg;
};
constexpr int kMaxAfterHandlers = 8;
thread_local AfterHandlers t_afterHandlers[kMaxAfterHandlers];
thread_local int t_nAfterHandlers = 0;
// Sees this thread's boxes close while something waits.
thread_local CScopedHook t_boxHook;

// A message box of this thread other than one on its way out.
struct BoxSearch {
    HWND closing;
    bool found;
};
BOOL CALLBACK MatchBox(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    search->found = wnd != search->closing && AfxIsMessageBoxWindow(wnd);
    return search->found ? FALSE : TRUE;
}
bool AnyBoxUp(HWND closing) {
    BoxSearch search{closing, false};
    EnumThreadWindows(GetCurrentThreadId(), &MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Posts what waits once no handler runs and no box is up; closing: a box on its way out.
void PostWaitingWork(HWND closing) {
    if (t_nAfterHandlers == 0 || t_nHandlerDepth > 0 || AnyBoxUp(closing)) return;
    t_boxHook.Unhook();
    const int count = t_nAfterHandlers;
    t_nAfterHandlers = 0;
    for (int i = 0; i < count; ++i)
        ::PostMessageW(t_afterHandlers[i].wnd, t_afterHandlers[i].msg, 0, 0);
}

LRESULT CALLBACK OnBoxDestroyed(int code, WPARAM wParam, LPARAM lParam) {
    const HWND wnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_DESTROYWND && AfxIsMessageBoxWindow(wnd)) PostWaitingWork(wnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls; cls = cls->m_pBaseClass)
        if (cls == base) return TRUE;
    return FALSE;
}

const CRuntimeClass CWnd::classCWnd = {"CWnd", nullptr};
const CRuntimeClass* CWnd::GetRuntimeClass() const {
    return &classCWnd;
}

HINSTANCE AfxGetInstanceHandle() {
    return GetModuleHandleW(nullptr);
}
HINSTANCE AfxGetResourceHandle() {
    return GetModuleHandleW(nullptr);
}

BOOL AfxRegisterClass(WNDCLASSW* wndClass) {
    if (!wndClass || !wndClass->lpszClassName) return FALSE;
    WNDCLASSW existing = {};
    if (GetClassInfoW(wndClass->hInstance, wndClass->lpszClassName, &existing)) return TRUE;
    return RegisterClassW(wndClass) != 0;
}

CString AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    HINSTANCE instance = AfxGetInstanceHandle();
    CString name;
    name.Format(L"PellarWnd:%p:%x:%p:%p:%p", static_cast<void*>(instance), classStyle,
                static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSW wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = CWnd::GetWndProc();
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc)) return CString();
    return name;
}

CWnd::~CWnd() {
    if (m_pbDeleted) *m_pbDeleted = true; // deleted by one of its own handlers
    for (CWndGuard* guard = m_pGuards; guard; guard = guard->m_pNext)
        guard->m_pWnd = nullptr;
    if (!m_hWnd) return;
    // Detach first: the derived parts of this object are gone, so no message may reach them.
    HWND hWnd = m_hWnd;
    Unbind();
    ::DestroyWindow(hWnd);
}

BOOL CWnd::IsInsideOuterLoop(int ownHandlers) {
    return t_nHandlerDepth > ownHandlers || AnyBoxUp(nullptr);
}

void CWnd::PostWhenOuterLoopsReturn(HWND wnd, UINT msg) {
    for (int i = 0; i < t_nAfterHandlers; ++i)
        if (t_afterHandlers[i].wnd == wnd && t_afterHandlers[i].msg == msg) return;
    if (!IsInsideOuterLoop(0) || t_nAfterHandlers == kMaxAfterHandlers) {
        ::PostMessageW(wnd, msg, 0, 0);
        return;
    }
    t_afterHandlers[t_nAfterHandlers++] = {wnd, msg};
    // Without the hook, the first handler to return after the last box has closed posts it.
    if (!t_boxHook.Get())
        t_boxHook.Attach(SetWindowsHookExW(WH_CBT, &OnBoxDestroyed, nullptr, GetCurrentThreadId()));
}

CHandlerScope::CHandlerScope() {
    ++t_nHandlerDepth;
}

CHandlerScope::~CHandlerScope() {
    if (--t_nHandlerDepth == 0) PostWaitingWork(nullptr);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    return static_cast<CWnd*>(GetPropW(hWnd, kObjectProp));
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menuOrId, LPVOID param) {
    if (m_hWnd) return FALSE;
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;

    // Only a class served by our procedure binds at WM_NCCREATE; a system control is adopted after
    // creation, so that nothing created meanwhile (by its parent's notifications) can claim this object.
    WNDCLASSW wc = {};
    const bool foreign = GetClassInfoW(cs.hInstance, cs.lpszClass, &wc) && wc.lpfnWndProc != &StaticWndProc;
    CWnd* outer = t_pWndInit;
    t_pWndInit = foreign ? nullptr : this;
    HWND hWnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    t_pWndInit = outer;
    if (!hWnd) return FALSE;
    // A class not served by our procedure (a system control): adopt it now.
    if (m_hWnd != hWnd && !SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd || !::IsWindow(hWnd) || FromHandlePermanent(hWnd)) return FALSE;
    Bind(hWnd);
    auto old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
    m_pfnSuper = old == &StaticWndProc ? nullptr : old;
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    Unbind();
    return hWnd;
}

void CWnd::Bind(HWND hWnd) {
    m_hWnd = hWnd;
    SetPropW(hWnd, kObjectProp, this);
    PreSubclassWindow();
}

void CWnd::Unbind() {
    if (!m_hWnd) return;
    RemovePropW(m_hWnd, kObjectProp);
    if (m_pfnSuper) {
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &StaticWndProc)
            SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        else
            SetPropW(m_hWnd, kSuperProp, reinterpret_cast<HANDLE>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd && msg == WM_NCCREATE && t_pWndInit && !t_pWndInit->m_hWnd) {
        wnd = t_pWndInit;
        t_pWndInit = nullptr;
        wnd->Bind(hWnd);
    }
    if (!wnd) {
        auto super = reinterpret_cast<WNDPROC>(GetPropW(hWnd, kSuperProp));
        if (msg == WM_NCDESTROY) RemovePropW(hWnd, kSuperProp);
        if (super) return CallWindowProcW(super, hWnd, msg, wParam, lParam);
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    }
    return Dispatch(wnd, hWnd, msg, wParam, lParam);
}

LRESULT CWnd::Dispatch(CWnd* wnd, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MSG current = {};
    current.hwnd = hWnd;
    current.message = msg;
    current.wParam = wParam;
    current.lParam = lParam;
    const MSG* outerMsg = wnd->m_pCurMsg;
    bool* outerDeleted = wnd->m_pbDeleted;
    bool deleted = false;
    wnd->m_pCurMsg = &current;
    wnd->m_pbDeleted = &deleted;
    LRESULT result = 0;
    {
        CHandlerScope handler;
        try {
            result = wnd->WindowProc(msg, wParam, lParam);
        } catch (...) {
            // A handler failed; the message counts as not handled rather than taking the process down.
            DebugLogException(L"CWnd window procedure");
            result = 0;
        }
    }
    if (deleted) {
        // A handler deleted the object: tell the handlers further out and touch nothing of it.
        if (outerDeleted) *outerDeleted = true;
        return result;
    }
    wnd->m_pCurMsg = outerMsg;
    wnd->m_pbDeleted = outerDeleted;
    if (msg == WM_NCDESTROY) {
        wnd->Unbind();
        wnd->PostNcDestroy(); // may delete the object: nothing touches it afterwards
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MOVE:
        OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam) ? 0 : Default();
    case WM_NOTIFY: {
        LRESULT result = 0;
        return OnNotify(wParam, lParam, &result) ? result : Default();
    }
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_MOUSEHOVER:
        return OnMouseHover(wParam, lParam);
    case WM_MOUSELEAVE:
        return OnMouseLeave(wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_NCHITTEST:
        return OnNcHitTest(CPoint(lParam));
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam),
                                                    reinterpret_cast<HWND>(lParam), msg - WM_CTLCOLORMSGBOX));
    default:
        return Default();
    }
}

LRESULT CWnd::Default() {
    if (!m_pCurMsg) return 0;
    return DefWindowProc(m_pCurMsg->message, m_pCurMsg->wParam, m_pCurMsg->lParam);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW&) {
    return TRUE;
}
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

void CWnd::AddCommandRange(UINT first, UINT last, std::function<void(UINT id)> fn) {
    m_commandRanges.push_back({first, last, std::move(fn)});
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnCmdMsg(UINT id, int code) {
    if (code != 0) return FALSE;
    for (const CommandRange& range : m_commandRanges) {
        if (id >= range.first && id <= range.last && range.fn) {
            range.fn(id);
            return TRUE;
        }
    }
    return FALSE;
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    if (!m_hWnd) return;
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND center = alternateOwner ? alternateOwner->GetSafeHwnd()
                                 : (child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    RECT area = {};
    RECT around = {};
    if (child) {
        ::GetClientRect(center, &area);
        around = area;
    } else {
        HMONITOR monitor = MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (monitor && GetMonitorInfoW(monitor, &info))
            area = info.rcWork;
        else
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        if (center && ::IsWindowVisible(center) && !::IsIconic(center))
            ::GetWindowRect(center, &around);
        else
            around = area;
    }
    RECT self = {};
    ::GetWindowRect(m_hWnd, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = (around.left + around.right) / 2 - width / 2;
    int y = (around.top + around.bottom) / 2 - height / 2;
    if (x + width > area.right) x = area.right - width;
    if (x < area.left) x = area.left;
    if (y + height > area.bottom) y = area.bottom - height;
    if (y < area.top) y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}
int CWnd::OnCreate(LPCREATESTRUCTW) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnSetFocus(HWND) {
    Default();
}
void CWnd::OnKillFocus(HWND) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(HDC) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnActivate(UINT, HWND, BOOL) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
LRESULT CWnd::OnMouseHover(WPARAM, LPARAM) {
    return Default();
}
LRESULT CWnd::OnMouseLeave(WPARAM, LPARAM) {
    return Default();
}
BOOL CWnd::OnSetCursor(HWND, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
LRESULT CWnd::OnNcHitTest(CPoint) {
    return Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
HBRUSH CWnd::OnCtlColor(HDC, HWND, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}

// Thin wrappers.

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}
void CWnd::GetClientRect(LPRECT rect) const {
    if (!::GetClientRect(m_hWnd, rect)) SetRectEmpty(rect);
}
void CWnd::GetWindowRect(LPRECT rect) const {
    if (!::GetWindowRect(m_hWnd, rect)) SetRectEmpty(rect);
}
void CWnd::ScreenToClient(LPPOINT pt) const {
    ::ScreenToClient(m_hWnd, pt);
}
void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}
void CWnd::ClientToScreen(LPPOINT pt) const {
    ::ClientToScreen(m_hWnd, pt);
}
void CWnd::ClientToScreen(LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
}
BOOL CWnd::ShowWindow(int cmdShow) {
    return ::ShowWindow(m_hWnd, cmdShow);
}
BOOL CWnd::IsWindowVisible() const {
    return m_hWnd && ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsWindowEnabled() const {
    return m_hWnd && ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}
void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    ::InvalidateRect(m_hWnd, rect, erase);
}
void CWnd::ValidateRect(LPCRECT rect) {
    ::ValidateRect(m_hWnd, rect);
}
void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}
void CWnd::SetWindowText(const wchar_t* text) {
    ::SetWindowTextW(m_hWnd, text ? text : L"");
}
CString CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return CString();
    CString text;
    wchar_t* buffer = text.GetBufferSetLength(length);
    int copied = ::GetWindowTextW(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
    return text;
}
int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}
CWnd* CWnd::GetParent() const {
    return FromHandlePermanent(GetParentHwnd());
}
HWND CWnd::GetParentHwnd() const {
    return m_hWnd ? ::GetParent(m_hWnd) : nullptr;
}
DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE));
}
DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
}

static BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT swpFlags) {
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hWnd, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    SetWindowLongPtrW(hWnd, index, static_cast<LONG_PTR>(changed));
    if (swpFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}
HWND CWnd::SetFocus() {
    return ::SetFocus(m_hWnd);
}
BOOL CWnd::BringWindowToTop() {
    return ::BringWindowToTop(m_hWnd);
}
BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}
HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(
        ::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse) {
    return ::SetTimer(m_hWnd, id, elapse, nullptr);
}
BOOL CWnd::KillTimer(UINT_PTR id) {
    return ::KillTimer(m_hWnd, id);
}

CWndGuard::CWndGuard(CWnd* wnd) : m_pWnd(wnd) {
    if (!m_pWnd) return;
    m_pNext = m_pWnd->m_pGuards;
    m_pWnd->m_pGuards = this;
}

CWndGuard::~CWndGuard() {
    if (!m_pWnd) return;
    for (CWndGuard** link = &m_pWnd->m_pGuards; *link; link = &(*link)->m_pNext) {
        if (*link == this) {
            *link = m_pNext;
            break;
        }
    }
}
