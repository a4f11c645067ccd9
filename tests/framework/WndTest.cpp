#include "framework/Gdi.h"
#include "framework/MessageLoop.h"
#include "framework/ToolTipCtrl.h"
#include "framework/Wnd.h"

#include "DebugOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const UINT WM_TEST_OWN = WM_APP + 17;

// Records what reaches it, in order.
class CProbeWnd : public CWnd {
public:
    std::vector<std::string> events;
    std::vector<UINT> commands;
    int ownMessages = 0, preTranslated = 0, keysDispatched = 0;
    bool eatKeys = false, deleteOnNcDestroy = false;
    bool* destroyedFlag = nullptr;

    ~CProbeWnd() override {
        if (destroyedFlag) *destroyedFlag = true;
    }
    BOOL CreateChild(CWnd* parent, UINT id) {
        CString cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW));
        return Create(cls, L"child", WS_VISIBLE, CRect(0, 0, 50, 40), parent, id);
    }
    BOOL CreatePopup(HWND owner = nullptr) {
        return CreateEx(0, AfxRegisterWndClass(0), L"probe", WS_POPUP, 10, 10, 200, 100, owner, nullptr);
    }
    int Count(const char* name) const {
        return static_cast<int>(std::count(events.begin(), events.end(), name));
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_TEST_OWN) return ++ownMessages, 42;
        if (msg == WM_KEYDOWN) return ++keysDispatched, 0;
        if (msg == WM_NCCREATE) events.push_back("nccreate");
        return CWnd::WindowProc(msg, wParam, lParam);
    }
    int OnCreate(LPCREATESTRUCTW cs) override {
        events.push_back(m_hWnd ? "create" : "create unbound");
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT type, int cx, int cy) override {
        events.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
        CWnd::OnSize(type, cx, cy);
    }
    void OnDestroy() override {
        events.push_back("destroy");
        CWnd::OnDestroy();
    }
    void OnClose() override { events.push_back("close"); } // no default: the window stays
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (CWnd::OnCommand(wParam, lParam)) return TRUE;
        events.push_back("unrouted");
        return FALSE;
    }
    void PostNcDestroy() override {
        events.push_back("postncdestroy");
        if (deleteOnNcDestroy) delete this;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN) return FALSE;
        ++preTranslated;
        return eatKeys;
    }
};

// Handles every message that is waiting, through the project's loop.
void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
        PumpMessage();
}

} // namespace

TEST(CWndTest, BindsAtNcCreateAndDetachesAtNcDestroy) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup());
    HWND hwnd = wnd.m_hWnd;
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hwnd));
    // Nothing reached the object before WM_NCCREATE (WM_GETMINMAXINFO comes first).
    ASSERT_LE(2u, wnd.events.size());
    EXPECT_EQ("nccreate", wnd.events[0]);
    EXPECT_EQ("create", wnd.events[1]);
    EXPECT_FALSE(wnd.CreatePopup()) << "one object, one window";

    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
    EXPECT_EQ(1, wnd.Count("destroy"));
    EXPECT_EQ("postncdestroy", wnd.events.back());
    EXPECT_TRUE(wnd.CreatePopup()) << "a new window afterwards";

    struct CRefusingWnd : CProbeWnd {
        int OnCreate(LPCREATESTRUCTW) override { return -1; }
    } refused;
    EXPECT_FALSE(refused.CreatePopup());
    EXPECT_EQ(nullptr, refused.m_hWnd);
    EXPECT_EQ("postncdestroy", refused.events.back());
}

TEST(CWndTest, WindowAndObjectMayEachEndTheOther) {
    bool destroyed = false;
    auto* wnd = new CProbeWnd;
    wnd->destroyedFlag = &destroyed;
    wnd->deleteOnNcDestroy = true;
    ASSERT_TRUE(wnd->CreatePopup());
    HWND hwnd = wnd->m_hWnd;
    ::DestroyWindow(hwnd);
    EXPECT_TRUE(destroyed);

    // Deleting the object must not call back into it while it is half destroyed.
    wnd = new CProbeWnd;
    ASSERT_TRUE(wnd->CreatePopup());
    hwnd = wnd->m_hWnd;
    delete wnd;
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
}

namespace {

// Deletes itself from a handler; its memory is poisoned and kept, so writes after the delete show.
class CSelfDeletingWnd : public CProbeWnd {
public:
    static void* s_memory;
    static size_t s_size;
    static void operator delete(void* p, size_t size) {
        memset(p, 0xDD, size);
        s_memory = p;
        s_size = size;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_TEST_OWN) {
            delete this;
            return 5;
        }
        if (msg == WM_TEST_OWN + 1) { // the deleting message arrives while this one is handled
            HWND self = m_hWnd;
            return ::SendMessageW(self, WM_TEST_OWN, 0, 0) + 1;
        }
        return CProbeWnd::WindowProc(msg, wParam, lParam);
    }
};
void* CSelfDeletingWnd::s_memory = nullptr;
size_t CSelfDeletingWnd::s_size = 0;

} // namespace

TEST(CWndTest, HandlerMayDeleteItsOwnObjectOrThrow) {
    auto* wnd = new CSelfDeletingWnd;
    ASSERT_TRUE(wnd->CreatePopup());
    HWND hwnd = wnd->m_hWnd;
    EXPECT_EQ(6, ::SendMessageW(hwnd, WM_TEST_OWN + 1, 0, 0));
    EXPECT_FALSE(IsWindow(hwnd));
    ASSERT_NE(nullptr, CSelfDeletingWnd::s_memory);
    const auto* bytes = static_cast<const unsigned char*>(CSelfDeletingWnd::s_memory);
    for (size_t i = 0; i < CSelfDeletingWnd::s_size; ++i)
        ASSERT_EQ(0xDD, bytes[i]) << "written after delete at " << i;
    ::operator delete(CSelfDeletingWnd::s_memory);

    struct CThrowingWnd : CProbeWnd {
        LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
            if (msg == WM_TEST_OWN) throw std::runtime_error("handler failed");
            return CProbeWnd::WindowProc(msg, wParam, lParam);
        }
    } throwing;
    ASSERT_TRUE(throwing.CreatePopup());
    DebugOutput log;
    EXPECT_EQ(0, throwing.SendMessage(WM_TEST_OWN)) << "the exception stays inside the window procedure";
    EXPECT_TRUE(throwing.IsWindow());
    EXPECT_EQ(1, log.Count({"window procedure", "handler failed"})) << "and leaves a line in the debug log";
}

TEST(CWndTest, WorkForWhenHandlersReturnIsPostedOnceTheOutermostHasReturned) {
    CProbeWnd probe;
    ASSERT_TRUE(probe.CreatePopup());
    const HWND hwnd = probe.GetSafeHwnd();
    MSG msg;
    {
        CHandlerScope outer; // an event of a hosted control, or a window's handler
        {
            CHandlerScope inner;
            CWnd::PostWhenOuterLoopsReturn(hwnd, WM_TEST_OWN);
            CWnd::PostWhenOuterLoopsReturn(hwnd, WM_TEST_OWN);
        }
        EXPECT_FALSE(PeekMessageW(&msg, hwnd, WM_TEST_OWN, WM_TEST_OWN, PM_NOREMOVE));
    }
    PumpPending();
    EXPECT_EQ(1, probe.ownMessages) << "posted once, when the last scope ended";
    CWnd::PostWhenOuterLoopsReturn(hwnd, WM_TEST_OWN); // none running: at once
    PumpPending();
    EXPECT_EQ(2, probe.ownMessages);
}

TEST(CWndTest, ChildGetsSizeAndOwnMessagesAndIsDetachedWithItsParent) {
    CProbeWnd parent, child;
    ASSERT_TRUE(parent.CreatePopup());
    ASSERT_TRUE(child.CreateChild(&parent, 123));
    EXPECT_EQ(123, child.GetDlgCtrlID());
    EXPECT_EQ(&parent, child.GetParent());
    EXPECT_EQ(1, child.Count("size 50x40"));
    child.MoveWindow(0, 0, 70, 30);
    EXPECT_EQ(1, child.Count("size 70x30"));
    EXPECT_EQ(42, child.SendMessage(WM_TEST_OWN));

    parent.SendMessage(WM_CLOSE); // no default processing: the window stays
    EXPECT_EQ(1, parent.Count("close"));
    EXPECT_TRUE(parent.IsWindow());

    HWND childHwnd = child.m_hWnd;
    parent.DestroyWindow();
    EXPECT_EQ(1, child.Count("destroy"));
    EXPECT_EQ(nullptr, child.m_hWnd);
    EXPECT_FALSE(IsWindow(childHwnd));
}

TEST(CWndTest, CommandRangeRoutesClicksInsideTheRangeOnly) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup());
    wnd.AddCommandRange(10000, 19999, [&](UINT id) { wnd.commands.push_back(id); });
    for (WPARAM w : {MAKEWPARAM(10000, BN_CLICKED), MAKEWPARAM(19999, 0), MAKEWPARAM(20000, BN_CLICKED),
                     MAKEWPARAM(9999, BN_CLICKED), MAKEWPARAM(10005, BN_SETFOCUS)})
        wnd.SendMessage(WM_COMMAND, w, 0);
    EXPECT_EQ((std::vector<UINT>{10000, 19999}), wnd.commands);
    EXPECT_EQ(3, wnd.Count("unrouted"));
}

namespace {
WNDPROC g_chainedProc = nullptr;
int g_chainedCalls = 0;
LRESULT CALLBACK ChainedProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++g_chainedCalls;
    return CallWindowProcW(g_chainedProc, hWnd, msg, wParam, lParam);
}
} // namespace

TEST(CWndTest, SystemButtonIsSubclassedAndItsClickRoutedToTheOwner) {
    CProbeWnd owner;
    ASSERT_TRUE(owner.CreatePopup());
    owner.AddCommandRange(10000, 19999, [&](UINT id) { owner.commands.push_back(id); });
    struct CButtonProbe : CWnd {
        int downs = 0;
        bool preSubclassed = false;
        void PreSubclassWindow() override { preSubclassed = m_hWnd != nullptr; }
        void OnLButtonDown(UINT flags, CPoint pt) override {
            ++downs;
            CWnd::OnLButtonDown(flags, pt);
        }
    } button;
    ASSERT_TRUE(button.CreateEx(0, L"Button", L"ok", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                CRect(0, 0, 60, 20), &owner, 10042));
    EXPECT_TRUE(button.preSubclassed);
    EXPECT_EQ(&button, CWnd::FromHandlePermanent(button.m_hWnd));
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, button.downs);
    // Default() reached the system button: it checked itself and told its owner.
    EXPECT_EQ(BST_CHECKED, button.SendMessage(BM_GETCHECK));
    EXPECT_EQ((std::vector<UINT>{10042}), owner.commands);

    // Given back, the button keeps working without the object.
    HWND hwnd = button.UnsubclassWindow();
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
    ::SendMessageW(hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(1, button.downs);
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(hwnd, BM_GETCHECK, 0, 0));

    // Someone else subclasses the control after us: we cannot give it back its procedure then, so
    // ours must go on passing messages.
    ASSERT_TRUE(button.SubclassWindow(hwnd));
    g_chainedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainedProc)));
    button.UnsubclassWindow();
    ::SendMessageW(hwnd, BM_CLICK, 0, 0);
    EXPECT_GT(g_chainedCalls, 0);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(hwnd, BM_GETCHECK, 0, 0)) << "the control's own procedure runs";
    EXPECT_TRUE(::DestroyWindow(hwnd));
}

TEST(CWndTest, RegisteredClassesAreSharedAndNeverReplaced) {
    CString a = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW));
    ASSERT_FALSE(a.IsEmpty());
    EXPECT_EQ(a, AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW)));
    EXPECT_NE(a, AfxRegisterWndClass(CS_DBLCLKS));

    WNDCLASSW wc = {};
    ASSERT_TRUE(GetClassInfoW(AfxGetInstanceHandle(), a, &wc));
    wc.lpszClassName = L"PellarTestNamedClass";
    EXPECT_TRUE(AfxRegisterClass(&wc));
    wc.style = CS_HREDRAW;
    EXPECT_TRUE(AfxRegisterClass(&wc)) << "a second registration leaves the first in place";
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"PellarTestNamedClass", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS), GetClassLongPtrW(wnd.m_hWnd, GCL_STYLE));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
}

TEST(MessageLoopTest, PreTranslateRunsUpTheParentChainAndTheLoopEndsWithTheQuitCode) {
    CProbeWnd parent, child, owned;
    ASSERT_TRUE(parent.CreatePopup());
    ASSERT_TRUE(child.CreateChild(&parent, 1));
    ASSERT_TRUE(owned.CreatePopup(parent.m_hWnd));

    child.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    PumpPending();
    EXPECT_EQ(1, child.preTranslated);
    EXPECT_EQ(1, parent.preTranslated);
    EXPECT_EQ(1, child.keysDispatched);

    parent.eatKeys = true;
    child.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    PumpPending();
    EXPECT_EQ(2, parent.preTranslated);
    EXPECT_EQ(1, child.keysDispatched) << "the parent ate it";

    owned.PostMessage(WM_KEYDOWN, VK_RETURN, 0); // a top-level window's owner is not asked
    owned.PostMessage(WM_TEST_OWN);
    PostQuitMessage(7);
    EXPECT_EQ(7, RunMessageLoop());
    EXPECT_EQ(1, owned.keysDispatched);
    EXPECT_EQ(1, owned.ownMessages);
    EXPECT_EQ(2, parent.preTranslated);
}

TEST(CToolTipCtrlTest, ToolsAreAddedForAWindowAndFoundByTheirId) {
    CProbeWnd owner;
    ASSERT_TRUE(owner.CreatePopup());
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&owner, TTS_ALWAYSTIP));
    EXPECT_TRUE(tip.GetExStyle() & WS_EX_TOPMOST) << "tips show over a window kept on top";
    CRect area(0, 0, 40, 20);
    EXPECT_TRUE(tip.AddTool(&owner, L"保存设置", &area, 10007));
    EXPECT_EQ(CString(L"保存设置"), tip.GetText(&owner, 10007));
    EXPECT_TRUE(tip.GetText(&owner, 10008).IsEmpty());
    // A very long text is kept cut, never written past a buffer.
    tip.UpdateTipText(CString(L'x', 5000), &owner, 10007);
    EXPECT_EQ(1023, tip.GetText(&owner, 10007).GetLength());
    tip.DelTool(&owner, 10007);
    EXPECT_EQ(0, tip.GetToolCount());
    EXPECT_FALSE(tip.AddTool(nullptr, L"x", &area, 1));
}

TEST(GeometryTest, RectsAndPackedPoints) {
    CRect r(30, 40, 10, 20);
    r.NormalizeRect();
    EXPECT_EQ(CRect(10, 20, 30, 40), r);
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 20))) << "right edge lies outside";
    // Points left of or above a window arrive as negative 16-bit values.
    CPoint p(MAKELPARAM(static_cast<WORD>(-5), 7));
    EXPECT_EQ(-5, p.x);
    EXPECT_EQ(7, p.y);
}

TEST(GdiTest, DibSectionPixelsAreReadFromTheTopLeftAndSelectionIsRestored) {
    CMemoryDC dc(nullptr);
    ASSERT_NE(nullptr, dc.GetSafeHdc());
    HGDIOBJ original = GetCurrentObject(dc, OBJ_BITMAP);
    CDibSection dib;
    ASSERT_TRUE(dib.Create(dc, 4, 3));
    {
        CSelectObject select(dc, dib.GetBitmap());
        CBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
        RECT topRow = {0, 0, 4, 1};
        FillRect(dc, &topRow, red);
        GdiFlush();
    }
    EXPECT_EQ(original, GetCurrentObject(dc, OBJ_BITMAP));
    EXPECT_EQ(0x00FF0000u, dib.Pixel(3, 0) & 0x00FFFFFF);
    EXPECT_EQ(0u, dib.Pixel(3, 2) & 0x00FFFFFF);
    EXPECT_EQ(0u, dib.Pixel(4, 0)) << "outside";
    EXPECT_FALSE(dib.Create(dc, 0, 5));
}
