// Shared pieces of the browser tests: OLE on the test thread, a plain holder window that records
// WM_TITLE_CHANGED, a bounded message pump, and page-to-client rules that record what reaches them.
#pragma once

#include "client/IEView.h"
#include "client/PageClient.h"
#include "framework/MessageLoop.h"
#include "framework/OleVariant.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

// Handles messages (through the loop's pre-translation) until `done` holds or `ms` have passed.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!PreTranslateTree(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (done && done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
inline void PumpFor(DWORD ms) {
    PumpUntil(nullptr, ms);
}

// A top-level holder window of a plain class.
class HolderWnd : public CWnd {
public:
    bool Create(int width = 400, int height = 300) {
        CString cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW));
        return CreateEx(0, cls, L"holder", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width, height,
                        nullptr, nullptr) != FALSE;
    }
    std::vector<CString> m_titles;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_TITLE_CHANGED) {
            m_titles.push_back(reinterpret_cast<const wchar_t*>(lParam));
            return 0;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
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
    int m_newMsgs = 0;
    int m_fullScreens = 0;
};

// A browser view that lets the tests reach its sink and sees Invoke_Client.
class TestView : public CIEView {
public:
    using CIEView::GetEventSink;
    std::vector<CString> m_invokeTexts;

protected:
    void OnInvokeClient(const wchar_t* text, IDispatch*) override { m_invokeTexts.push_back(text); }
};

// Builds DISPPARAMS the way the browser control does: arguments in reverse order.
class EventArgs {
public:
    explicit EventArgs(std::vector<VARIANT> declared) : m_args(declared.rbegin(), declared.rend()) {
        m_params.rgvarg = m_args.data();
        m_params.cArgs = static_cast<UINT>(m_args.size());
    }
    DISPPARAMS* Get() { return &m_params; }

private:
    std::vector<VARIANT> m_args;
    DISPPARAMS m_params = {};
};

inline VARIANT Var(VARTYPE vt) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = vt;
    return v;
}
inline VARIANT VarBstr(BSTR b) {
    VARIANT v = Var(VT_BSTR);
    V_BSTR(&v) = b;
    return v;
}
inline VARIANT VarI4(long value) {
    VARIANT v = Var(VT_I4);
    V_I4(&v) = value;
    return v;
}
inline VARIANT VarDispatch(IDispatch* d) {
    VARIANT v = Var(VT_DISPATCH);
    V_DISPATCH(&v) = d;
    return v;
}
inline VARIANT VarRef(VARIANT* inner) {
    VARIANT v = Var(VT_BYREF | VT_VARIANT);
    V_VARIANTREF(&v) = inner;
    return v;
}
inline VARIANT VarBoolRef(VARIANT_BOOL* flag) {
    VARIANT v = Var(VT_BYREF | VT_BOOL);
    V_BOOLREF(&v) = flag;
    return v;
}
