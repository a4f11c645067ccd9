// Shared pieces of the browser tests: OLE on the test thread, a plain holder window that records
// WM_TITLE_CHANGED, a bounded message pump, page-to-client rules that record what reaches them, and
// event arguments laid out as the browser control passes them.
#pragma once

#include "client/IEView.h"
#include "client/PageClient.h"
#include "framework/ComRef.h"
#include "framework/MessageLoop.h"
#include "framework/OleVariant.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <exdispid.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};
inline ::testing::Environment* const g_ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

// Handles messages (through the loop's pre-translation) until `done` holds or `ms` have passed.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!PreTranslateTree(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (ms > 0 && GetTickCount() - start >= ms) break; // bounded even while messages keep coming
        }
        if (done && done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// A top-level holder window of a plain class.
class HolderWnd : public CWnd {
public:
    bool Create(int width = 400, int height = 300) {
        return CreateEx(0, AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW)), L"holder",
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                        nullptr) != FALSE;
    }
    std::vector<CString> m_titles;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_TITLE_CHANGED) return CWnd::WindowProc(msg, wParam, lParam);
        m_titles.push_back(reinterpret_cast<const wchar_t*>(lParam));
        return 0;
    }
};

// Records every call; cancels navigations and new windows whose address contains m_cancelText.
class RecordingPageClient : public IPageClient {
public:
    RecordingPageClient() { SetPageClient(this); }
    ~RecordingPageClient() { SetPageClient(nullptr); }
    RecordingPageClient(const RecordingPageClient&) = delete;
    RecordingPageClient& operator=(const RecordingPageClient&) = delete;

    HWND GetGameWindow() override { return m_gameWnd; }
    void BeforeNavigate2(CIEView& view, const CString& url, BOOL* cancel) override {
        m_before.push_back(url);
        m_views.push_back(&view);
        if (!m_cancelText.IsEmpty() && url.Find(m_cancelText) >= 0) *cancel = TRUE;
    }
    void DocumentComplete(CIEView&, const CString& url) override { m_complete.push_back(url); }
    void NavigateComplete2(CIEView&, const CString& url) override { m_navigated.push_back(url); }
    void NewWindow3(CIEView&, const CString& url, BOOL* cancel) override {
        m_newWindows.push_back(url);
        if (!m_cancelText.IsEmpty() && url.Find(m_cancelText) >= 0) *cancel = TRUE;
    }
    void GetNewMsg(CIEView&) override { ++m_newMsgs; }
    void GetGsName(CIEView&, const CString& name) override { m_gsNames.push_back(name); }
    void GameFullScreen(CIEView&) override { ++m_fullScreens; }

    HWND m_gameWnd = nullptr;
    CString m_cancelText;
    std::vector<CString> m_before, m_complete, m_navigated, m_newWindows, m_gsNames;
    std::vector<CIEView*> m_views;
    int m_newMsgs = 0, m_fullScreens = 0;
};

// A VARIANT of the type whose value field holds `value` (a number or a pointer); not owned.
template <class T = int> VARIANT Var(VARTYPE vt, T value = T()) {
    static_assert(sizeof value <= sizeof(LONGLONG), "fits the value field");
    VARIANT v = {};
    V_VT(&v) = vt;
    std::memcpy(&V_I8(&v), &value, sizeof value);
    return v;
}

// DISPPARAMS as the browser control builds them: arguments in reverse order.
class EventArgs {
public:
    EventArgs(std::initializer_list<VARIANT> declared) : m_args(std::rbegin(declared), std::rend(declared)) {
        m_params.rgvarg = m_args.data();
        m_params.cArgs = static_cast<UINT>(m_args.size());
    }
    EventArgs(const EventArgs&) = delete;
    EventArgs& operator=(const EventArgs&) = delete;
    DISPPARAMS* Get() { return &m_params; }

private:
    std::vector<VARIANT> m_args;
    DISPPARAMS m_params = {};
};

inline HRESULT Call(IDispatch* disp, DISPID id, EventArgs& args, UINT* argErr = nullptr) {
    UINT err = 0;
    return disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, args.Get(), nullptr, nullptr,
                        argErr ? argErr : &err);
}
inline HRESULT Call(IDispatch* disp, DISPID id, EventArgs&& args, UINT* argErr = nullptr) {
    return Call(disp, id, args, argErr);
}

// A view's event sink, which the browser control calls (reached through a member pointer taken in a
// derived class).
struct ViewEventsAccess : CIEView {
    using CIEView::GetEventSink;
};
inline IDispatch* EventSink(CIEView* view) {
    return (view->*(&ViewEventsAccess::GetEventSink))();
}

// BeforeNavigate2 as the control raises it; true when the navigation was cancelled.
inline bool RaiseBeforeNavigate2(CIEView* view, const wchar_t* url) {
    CBstr address(url);
    VARIANT value = Var(VT_BSTR, address.Get());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, Call(EventSink(view), DISPID_BEFORENAVIGATE2,
                         {Var(VT_DISPATCH), Var(VT_BYREF | VT_VARIANT, &value), Var(VT_EMPTY), Var(VT_EMPTY),
                          Var(VT_EMPTY), Var(VT_EMPTY), Var(VT_BYREF | VT_BOOL, &cancel)}));
    return cancel != VARIANT_FALSE;
}

// Navigates the view for real (the rules read the address the control reports), then reports the
// navigation as complete.
inline void ReachPage(CIEView* view, const wchar_t* url) {
    view->Navigate(url);
    PumpUntil([&] { return view->GetLocationURL() == url; }, 3000);
    CBstr address(url);
    VARIANT value = Var(VT_BSTR, address.Get());
    EXPECT_EQ(S_OK, Call(EventSink(view), DISPID_NAVIGATECOMPLETE2,
                         {Var(VT_DISPATCH), Var(VT_BYREF | VT_VARIANT, &value)}));
}
