// CWnd: the window base of our class-library stand-in.
//
// One window procedure serves every window: windows of our own classes are bound to their object at
// WM_NCCREATE (messages before it, such as WM_GETMINMAXINFO, go to DefWindowProcW); windows of system
// classes ("Button", tooltips) are subclassed right after creation. The object is found again
// through a window property, so GWLP_USERDATA stays free for the window's own use.
//
// Messages reach the virtual WindowProc, which calls the On... handlers below; a handler that wants
// the system's behaviour calls its base, which calls Default() with the message being handled.
// When the system destroys the window, the object is detached at WM_NCDESTROY and then told so by
// PostNcDestroy (which may delete it). Destroying the object first detaches it and then destroys the
// window, so no message ever reaches a half-destroyed object; a handler may also delete its own
// object, after which nothing touches it. No exception leaves the window procedure.
#pragma once

#include "Geometry.h"
#include "String.h"

#include <windows.h>

#include <functional>
#include <vector>

// Run-time class information: a name and the base, enough for IsKindOf.
struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(cls) (&cls::class##cls)
#define DECLARE_DYNAMIC(cls)                                                                                 \
public:                                                                                                      \
    static const CRuntimeClass class##cls;                                                                   \
    const CRuntimeClass* GetRuntimeClass() const override;
#define IMPLEMENT_DYNAMIC(cls, base)                                                                         \
    const CRuntimeClass cls::class##cls = {#cls, RUNTIME_CLASS(base)};                                       \
    const CRuntimeClass* cls::GetRuntimeClass() const {                                                      \
        return RUNTIME_CLASS(cls);                                                                           \
    }

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// Registers (once) a window class served by the common window procedure and returns its name, which
// encodes the arguments: the same arguments give the same class.
CString AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);
// Registers the class unless a class of that name exists already in the given instance (which then
// stays unchanged); TRUE when the class exists afterwards.
BOOL AfxRegisterClass(WNDCLASSW* wndClass);

class CWndGuard;

// Counts as a running handler (see CWnd::IsInsideOuterLoop) while it lives: for code that the system calls
// back outside any window's handler, such as an event of a hosted control. The last one to end posts
// what CWnd::PostWhenOuterLoopsReturn kept, unless a message box is still up.
class CHandlerScope {
public:
    CHandlerScope();
    ~CHandlerScope();
    CHandlerScope(const CHandlerScope&) = delete;
    CHandlerScope& operator=(const CHandlerScope&) = delete;
};

// The id of a frame's first pane, and of the browser control inside its view.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

class CWnd {
public:
    static const CRuntimeClass classCWnd;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // TRUE while something further out than the caller has yet to return: a handler beyond the
    // caller's own (ownHandlers: how many of the running ones are the caller's; nested message loops
    // inside a handler let further messages in, and one called straight from the loop is the only
    // one), or a message box of
    // this thread, whose loop lies under everything that runs while it is up, whoever opened it (a
    // handler, or a hosted page's script outside any handler).
    static BOOL IsInsideOuterLoop(int ownHandlers);
    // Posts the message (both parameters 0) to the window once no handler is running on this thread
    // and no message box of it is up, at once when neither is: for work that must not run while
    // something further out may still need what it changes, and that nothing else would bring back
    // (no timer keeps trying).
    static void PostWhenOuterLoopsReturn(HWND wnd, UINT msg);

    // The object bound to a window, or null (also for windows no CWnd owns).
    static CWnd* FromHandlePermanent(HWND hWnd);
    // The common window procedure, for classes registered by name with AfxRegisterClass.
    static WNDPROC GetWndProc() { return &StaticWndProc; }

    // Creates the window and binds it to this object. Fails when the object has a window already.
    virtual BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                          LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    // A child window (WS_CHILD is added).
    virtual BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id);
    BOOL DestroyWindow();

    // Adopts an existing window (of any class): its messages go through WindowProc from now on.
    BOOL SubclassWindow(HWND hWnd);
    // Gives the window back its own procedure and forgets it; returns the window.
    HWND UnsubclassWindow();

    // Called by CreateEx before the window exists; may change the class name, styles or geometry.
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    // Called right after the window is bound to this object (before WM_CREATE for our own classes).
    virtual void PreSubclassWindow();
    // Called after the window is gone and the object detached from it; the object may delete itself.
    virtual void PostNcDestroy();
    // Asked by the message loop for messages of this window and its children; TRUE eats the message.
    virtual BOOL PreTranslateMessage(MSG* msg);

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Thin wrappers of the system calls.
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT pt) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT pt) const;
    void ClientToScreen(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();
    void SetWindowText(const wchar_t* text);
    CString GetWindowText() const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    HWND GetParentHwnd() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    HWND SetFocus();
    BOOL BringWindowToTop();
    BOOL SetForegroundWindow();
    HICON SetIcon(HICON icon, BOOL big);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
    BOOL KillTimer(UINT_PTR id);

    // Centres the window over its owner (a child: over its parent), or over the work area when the
    // owner is hidden, minimised or missing; it is kept inside the work area.
    void CenterWindow(CWnd* alternateOwner = nullptr);

    // A command (menu, accelerator, control notification with its code); TRUE when handled. The base
    // routes the command ranges.
    virtual BOOL OnCmdMsg(UINT id, int code);

    // Calls fn(id) for WM_COMMAND clicks (notification 0: menus and BN_CLICKED) whose id
    // lies in [first, last]; the first matching range wins.
    void AddCommandRange(UINT first, UINT last, std::function<void(UINT id)> fn);

    HWND m_hWnd = nullptr;

protected:
    // The message dispatcher: calls the handlers below; anything else gets Default().
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The system's processing of the message being handled now (0 outside a message).
    LRESULT Default();
    // The system's processing of the given message.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The message WindowProc is handling now, or null (for instance in a direct call of a handler).
    const MSG* GetCurrentMessage() const { return m_pCurMsg; }

    // Handlers; each base version gives the message its default processing.
    virtual int OnCreate(LPCREATESTRUCTW cs);
    virtual void OnDestroy();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnSetFocus(HWND oldFocus);
    virtual void OnKillFocus(HWND newFocus);
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(HDC hdc);
    virtual void OnClose();
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnActivate(UINT state, HWND other, BOOL minimized);
    virtual void OnTimer(UINT_PTR id);
    // WM_COMMAND: TRUE when handled. The base hands the command to OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: TRUE when handled, with *result the message's answer.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    virtual LRESULT OnNcHitTest(CPoint point);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    // WM_CTLCOLOR...: ctlColor is one of the CTLCOLOR_ values.
    virtual HBRUSH OnCtlColor(HDC hdc, HWND ctl, UINT ctlColor);

private:
    struct CommandRange {
        UINT first;
        UINT last;
        std::function<void(UINT)> fn;
    };

    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT Dispatch(CWnd* wnd, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Bind(HWND hWnd);
    void Unbind();

    friend class CWndGuard;
    CWndGuard* m_pGuards = nullptr; // guards watching this object

    WNDPROC m_pfnSuper = nullptr; // the window's own procedure when subclassed
    const MSG* m_pCurMsg = nullptr;
    bool* m_pbDeleted = nullptr; // set while a message is handled; the destructor marks it
    std::vector<CommandRange> m_commandRanges;
};

// Tells whether a window object still exists after a call that may have deleted it (a message box
// runs a nested message loop in which anything can happen).
class CWndGuard {
public:
    explicit CWndGuard(CWnd* wnd);
    ~CWndGuard();
    CWndGuard(const CWndGuard&) = delete;
    CWndGuard& operator=(const CWndGuard&) = delete;

    bool IsAlive() const { return m_pWnd != nullptr; }

private:
    friend class CWnd;
    CWnd* m_pWnd;
    CWndGuard* m_pNext = nullptr;
};
