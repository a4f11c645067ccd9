// The browser view hosting the real control: its client site, window.external as scripts call it,
// the control's events through the sink, sizing, keys, lifetime.
#include "BrowserTestHost.h"

#include "framework/DispatchTable.h"

#include <exdispid.h>
#include <mshtmhst.h>

namespace {

// A view that lets the tests reach its sink and sees Invoke_Client.
class TestView : public CIEView {
public:
    using CIEView::GetEventSink;
    std::vector<CString> m_invokeTexts;

protected:
    void OnInvokeClient(const wchar_t* text, IDispatch*) override { m_invokeTexts.push_back(text); }
};

// The control's active object as far as keys go: records what it is offered and eats it.
class KeyRecorder final : public IOleInPlaceActiveObject {
public:
    std::vector<MSG> m_keys;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IOleWindow) &&
            !IsEqualIID(riid, IID_IOleInPlaceActiveObject))
            return E_NOINTERFACE;
        *ppv = static_cast<IOleInPlaceActiveObject*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_refs;
        if (!left) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override {
        m_keys.push_back(*msg);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

private:
    ULONG m_refs = 1;
};

// The innermost window inside the control's own.
HWND InnermostChild(HWND wnd) {
    for (HWND child; (child = GetWindow(wnd, GW_CHILD)) != nullptr;)
        wnd = child;
    return wnd;
}

// A view in a shown holder window, as the holders create theirs. The holder is shared: without a
// window manager, hiding or destroying a shown top-level window costs Wine about two seconds.
class IEViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_holder = new HolderWnd;
        if (!s_holder->Create()) return;
        s_holder->ShowWindow(SW_SHOW);
        s_holder->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    }
    static void TearDownTestSuite() {
        delete s_holder;
        s_holder = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_holder.IsWindow());
        m_holder.m_titles.clear();
        ASSERT_TRUE(
            m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1}, &m_holder, IDC_WEBVIEW));
        ASSERT_TRUE(m_view.GetBrowser());
    }
    void TearDown() override { m_view.DestroyWindow(); }

    // An interface of the control's client site, as the control sees it.
    template <class T> CComRef<T> Site(REFIID iid) {
        CComRef<IOleObject> object;
        CComRef<IOleClientSite> site;
        CComRef<T> part;
        if (SUCCEEDED(m_view.GetBrowser()->QueryInterface(IID_IOleObject,
                                                          reinterpret_cast<void**>(object.Out()))) &&
            SUCCEEDED(object->GetClientSite(site.Out())))
            site.QueryInto(part, iid);
        return part;
    }
    // window.external as the page gets it.
    CComRef<IDispatch> External() {
        CComRef<IDispatch> external;
        if (auto handler = Site<IDocHostUIHandler>(IID_IDocHostUIHandler))
            handler->GetExternal(external.Out());
        return external;
    }
    HRESULT Fire(DISPID id, EventArgs&& args) { return Call(m_view.GetEventSink(), id, args); }
    // BeforeNavigate2's seven arguments: frame, address, four others, cancel flag.
    static EventArgs Before(VARIANT frame, VARIANT url, VARIANT cancel, VARIANT other = Var(VT_EMPTY)) {
        return {frame, url, other, other, other, other, cancel};
    }

    static HolderWnd* s_holder;
    RecordingPageClient m_client;
    HolderWnd& m_holder = *s_holder;
    TestView m_view;
};

HolderWnd* IEViewTest::s_holder = nullptr;

TEST_F(IEViewTest, ControlIsHostedByTheClientSiteAndFillsTheClientAreaAfterEverySize) {
    HWND browser = m_view.GetBrowserWindow();
    ASSERT_TRUE(browser);
    EXPECT_EQ(m_view.m_hWnd, GetParent(browser));
    EXPECT_EQ(static_cast<LONG_PTR>(AFX_IDW_PANE_FIRST), GetWindowLongPtrW(browser, GWLP_ID));
    EXPECT_TRUE(m_view.GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_EQ(static_cast<int>(IDC_WEBVIEW), m_view.GetDlgCtrlID());
    auto handler = Site<IDocHostUIHandler>(IID_IDocHostUIHandler);
    ASSERT_TRUE(handler);
    DOCHOSTUIINFO info = {};
    ASSERT_EQ(S_OK, handler->GetHostInfo(&info));
    EXPECT_EQ(0x0404400Cu, info.dwFlags);
    HWND host = nullptr;
    auto inPlace = Site<IOleInPlaceSite>(IID_IOleInPlaceSite);
    EXPECT_EQ(S_OK, inPlace->GetWindow(&host));
    EXPECT_EQ(m_view.m_hWnd, host);
    // Where the control places itself when it is activated: the whole client area, framed by the view.
    m_view.MoveWindow(0, 0, 200, 100);
    CComRef<IOleInPlaceFrame> frame;
    CComRef<IOleInPlaceUIWindow> document;
    CRect pos, clip;
    OLEINPLACEFRAMEINFO frameInfo = {sizeof frameInfo};
    ASSERT_EQ(S_OK, inPlace->GetWindowContext(frame.Out(), document.Out(), &pos, &clip, &frameInfo));
    EXPECT_EQ(CRect(0, 0, 200, 100), pos);
    EXPECT_EQ(pos, clip);
    EXPECT_EQ(m_view.m_hWnd, frameInfo.hwndFrame);
    EXPECT_TRUE(frame);
    // The control keeps the client size after every WM_SIZE.
    for (SIZE size : {SIZE{300, 200}, SIZE{640, 480}, SIZE{1, 1}, SIZE{123, 457}}) {
        m_view.MoveWindow(5, 7, size.cx, size.cy);
        CRect client, control;
        m_view.GetClientRect(&client);
        GetWindowRect(browser, &control);
        MapWindowPoints(nullptr, m_view.m_hWnd, reinterpret_cast<POINT*>(&control), 2);
        EXPECT_EQ(client, control) << size.cx << "x" << size.cy;
    }
}

TEST_F(IEViewTest, KeysTypedInsideTheControlReachItsAcceleratorsBeforeDispatch) {
    HWND browser = m_view.GetBrowserWindow();
    ASSERT_TRUE(browser);
    // The control makes the window a page is typed into once it shows a document.
    m_view.Navigate(L"about:blank");
    PumpUntil([&] { return InnermostChild(browser) != browser; }, 3000);
    HWND inner = InnermostChild(browser);
    ASSERT_NE(browser, inner) << "the control made no window of its own to type into";
    CComRef<KeyRecorder> keys;
    keys.Attach(new KeyRecorder);
    // The control names its active object through the site, as on in-place activation.
    ASSERT_EQ(S_OK, Site<IOleInPlaceFrame>(IID_IOleInPlaceFrame)->SetActiveObject(keys.Get(), nullptr));
    // Only keys of the view's own windows; the last one marks the end.
    PostMessageW(m_holder.m_hWnd, WM_KEYDOWN, VK_F5, 0);
    PostMessageW(inner, WM_MOUSEMOVE, 0, 0);
    PostMessageW(inner, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(PumpUntil([&] { return !keys->m_keys.empty(); }, 3000));
    ASSERT_EQ(1u, keys->m_keys.size());
    EXPECT_EQ(inner, keys->m_keys[0].hwnd);
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), keys->m_keys[0].message);
    EXPECT_EQ(static_cast<WPARAM>(VK_TAB), keys->m_keys[0].wParam);
}

TEST_F(IEViewTest, EveryExternalHandedToThePageCarriesAReferenceOfItsOwn) {
    auto handler = Site<IDocHostUIHandler>(IID_IDocHostUIHandler);
    ASSERT_TRUE(handler);
    IDispatch* view = m_view.GetIDispatch(FALSE);
    ASSERT_TRUE(view);
    const ULONG held = view->AddRef() - 1;
    view->Release();
    IDispatch *first = nullptr, *second = nullptr;
    ASSERT_EQ(S_OK, handler->GetExternal(&first));
    ASSERT_EQ(S_OK, handler->GetExternal(&second));
    EXPECT_EQ(view, first);
    // Stop here rather than release references the page was never given.
    ASSERT_EQ(held + 3, view->AddRef());
    view->Release();
    first->Release();
    second->Release();
    // The page's releases leave the view's own reference: the object still answers.
    EXPECT_EQ(held + 1, view->AddRef());
    view->Release();
    CBstr name(L"after");
    EXPECT_EQ(S_OK, Call(view, 3, {Var(VT_BSTR, name.Get())}));
    EXPECT_EQ(std::vector<CString>{L"after"}, m_client.m_gsNames);
}

TEST_F(IEViewTest, ExternalNamesMatchInAnyCaseAndArgumentsAreChecked) {
    CComRef<IDispatch> external = External();
    ASSERT_TRUE(external);
    EXPECT_EQ(m_view.GetIDispatch(FALSE), external.Get());
    const std::pair<const wchar_t*, DISPID> names[] = {
        {L"invoke_client", 1},         {L"GETNEWMSG", 2},         {L"GetGsName", 3},
        {L"gamefullscreen", 4},        {L"beforeNavigate2", 250}, {L"DOCUMENTCOMPLETE", 259},
        {L"getGsNam", DISPID_UNKNOWN}, {L"", DISPID_UNKNOWN}};
    for (const auto& n : names) {
        LPOLESTR name = const_cast<LPOLESTR>(n.first);
        DISPID id = 0;
        external->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        EXPECT_EQ(n.second, id) << CString(n.first).ToUtf8();
    }
    CBstr name(L"服务器一");
    EXPECT_EQ(S_OK, Call(external.Get(), 3, {Var(VT_BSTR, name.Get())}));
    EXPECT_EQ(S_OK, Call(external.Get(), 3, {Var(VT_BSTR)})); // a null text
    EXPECT_EQ(S_OK, Call(external.Get(), 3, {Var(VT_I4, 42)}));
    EXPECT_EQ((std::vector<CString>{L"服务器一", L"", L"42"}), m_client.m_gsNames);
    EXPECT_EQ(S_OK, Call(external.Get(), 2, {Var(VT_BSTR)}));
    EXPECT_EQ(S_OK, Call(external.Get(), 4, {Var(VT_BSTR)}));
    EXPECT_EQ(1, m_client.m_newMsgs);
    EXPECT_EQ(1, m_client.m_fullScreens);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(external.Get(), 3, {}));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(external.Get(), 5, {Var(VT_BSTR, name.Get())}));
    EXPECT_EQ(3u, m_client.m_gsNames.size());

    // Invoke_Client needs a callback object.
    CBstr text(L"hello");
    EXPECT_EQ(E_POINTER, Call(external.Get(), 1, {Var(VT_BSTR, text.Get()), Var(VT_DISPATCH)}));
    EXPECT_EQ(E_POINTER, Call(external.Get(), 1, {Var(VT_BSTR, text.Get()), Var(VT_NULL)}));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(external.Get(), 1, {Var(VT_BSTR, text.Get()), Var(VT_I4, 7)}));
    EXPECT_TRUE(m_view.m_invokeTexts.empty());
    EXPECT_EQ(S_OK, Call(external.Get(), 1, {Var(VT_BSTR, text.Get()), Var(VT_DISPATCH, external.Get())}));
    EXPECT_EQ(std::vector<CString>{L"hello"}, m_view.m_invokeTexts);
}

TEST_F(IEViewTest, ScriptCallsOfTheEventMethodsAreChecked) {
    CComRef<IDispatch> external = External();
    ASSERT_TRUE(external);
    m_client.m_cancelText = L"cancel";
    // Script passes plain values where the event has pointers: nothing is written through them.
    CBstr url(L"http://host/cancel");
    EventArgs plain = Before(Var(VT_NULL), Var(VT_BSTR, url.Get()), Var(VT_I4, 0x5000), Var(VT_I4, 0x1000));
    EXPECT_EQ(S_OK, Call(external.Get(), 250, plain));
    EXPECT_EQ(0x5000, V_I4(&plain.Get()->rgvarg[0]));
    // A number as the address is read through a conversion; only a real flag receives the cancel.
    VARIANT_BOOL flag = VARIANT_FALSE;
    EXPECT_EQ(S_OK, Call(external.Get(), 250,
                         Before(Var(VT_DISPATCH), Var(VT_I4, 12345), Var(VT_BYREF | VT_BOOL, &flag))));
    EXPECT_EQ(VARIANT_FALSE, flag);
    CBstr cancelUrl(L"x-cancel");
    VARIANT inner = Var(VT_BSTR, cancelUrl.Get());
    EXPECT_EQ(S_OK, Call(external.Get(), 250,
                         Before(Var(VT_DISPATCH), Var(VT_BYREF | VT_VARIANT, &inner),
                                Var(VT_BYREF | VT_BOOL, &flag))));
    EXPECT_NE(VARIANT_FALSE, flag);
    // A null flag pointer and a null text are survived.
    EXPECT_EQ(S_OK,
              Call(external.Get(), 250, Before(Var(VT_DISPATCH), Var(VT_BSTR), Var(VT_BYREF | VT_BOOL))));
    EXPECT_EQ((std::vector<CString>{L"http://host/cancel", L"12345", L"x-cancel", L""}), m_client.m_before);

    UINT argErr = 99;
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(external.Get(), 250, {Var(VT_BSTR, url.Get())}));
    EXPECT_EQ(
        DISP_E_TYPEMISMATCH,
        Call(external.Get(), 250, Before(Var(VT_I4, 1), Var(VT_BSTR, url.Get()), Var(VT_EMPTY)), &argErr));
    EXPECT_EQ(6u, argErr);
    EXPECT_EQ(4u, m_client.m_before.size());

    CBstr page(L"http://host/page");
    EXPECT_EQ(S_OK, Call(external.Get(), 259, {Var(VT_NULL), Var(VT_BSTR, page.Get())}));
    EXPECT_EQ(S_OK, Call(external.Get(), 259, {Var(VT_DISPATCH), Var(VT_I4, 5)}));
    EXPECT_EQ(S_OK, Call(external.Get(), 259, {Var(VT_DISPATCH), Var(VT_DISPATCH, external.Get())}));
    EXPECT_EQ((std::vector<CString>{L"http://host/page", L"5", L""}), m_client.m_complete);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(external.Get(), 259, {Var(VT_BSTR, page.Get())}));
}

TEST_F(IEViewTest, EventsArriveWithTheControlsArgumentLayout) {
    ASSERT_TRUE(m_view.GetEventSink());
    CComRef<IDispatch> frame = External(); // any object stands in for the frame's dispatch
    CBstr url(L"http://host/done");
    VARIANT urlValue = Var(VT_BSTR, url.Get());
    EXPECT_EQ(S_OK, Fire(DISPID_NAVIGATECOMPLETE2,
                         {Var(VT_DISPATCH, frame.Get()), Var(VT_BYREF | VT_VARIANT, &urlValue)}));
    EXPECT_EQ(S_OK, Fire(DISPID_DOCUMENTCOMPLETE,
                         {Var(VT_DISPATCH, frame.Get()), Var(VT_BYREF | VT_VARIANT, &urlValue)}));
    EXPECT_EQ(std::vector<CString>{L"http://host/done"}, m_client.m_navigated);
    EXPECT_EQ(std::vector<CString>{L"http://host/done"}, m_client.m_complete);
    CBstr title(L"标题 Title");
    EXPECT_EQ(S_OK, Fire(DISPID_TITLECHANGE, {Var(VT_BSTR, title.Get())}));
    EXPECT_EQ(std::vector<CString>{L"标题 Title"}, m_holder.m_titles);

    m_client.m_cancelText = L"popup";
    CBstr context(L"http://host/"), popup(L"http://host/popup"), other(L"http://host/other");
    IDispatch* newDisp = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    const VARIANT dispRef = Var(VT_BYREF | VT_DISPATCH, &newDisp),
                  cancelRef = Var(VT_BYREF | VT_BOOL, &cancel);
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3, {dispRef, cancelRef, Var(VT_UI4, 0x80000006u),
                                             Var(VT_BSTR, context.Get()), Var(VT_BSTR, popup.Get())}));
    EXPECT_NE(VARIANT_FALSE, cancel);
    cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3,
                         {dispRef, cancelRef, Var(VT_I4), Var(VT_BSTR), Var(VT_BSTR, other.Get())}));
    EXPECT_EQ(VARIANT_FALSE, cancel);
    EXPECT_EQ((std::vector<CString>{L"http://host/popup", L"http://host/other"}), m_client.m_newWindows);
    EXPECT_EQ(nullptr, newDisp);
    // Malformed events are dropped, not read.
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3, {cancelRef}));
    EXPECT_EQ(S_OK, Fire(DISPID_TITLECHANGE, {}));
    EXPECT_EQ(2u, m_client.m_newWindows.size());
    EXPECT_EQ(1u, m_holder.m_titles.size());

    // Without page rules events do nothing.
    SetPageClient(nullptr);
    EXPECT_EQ(S_OK, Fire(DISPID_BEFORENAVIGATE2,
                         Before(Var(VT_DISPATCH), Var(VT_BYREF | VT_VARIANT, &urlValue), cancelRef)));
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3,
                         {Var(VT_EMPTY), cancelRef, Var(VT_I4), Var(VT_BSTR), Var(VT_BSTR, popup.Get())}));
    EXPECT_EQ(VARIANT_FALSE, cancel);
    EXPECT_FALSE(m_view.IsGameView());
    EXPECT_TRUE(m_client.m_before.empty());
    EXPECT_EQ(2u, m_client.m_newWindows.size());
    SetPageClient(&m_client);
}

TEST_F(IEViewTest, GameViewOnlyInsideTheGameWindowAndTitlesGoToTheHolderOfTheMoment) {
    EXPECT_FALSE(m_view.IsGameView());
    HolderWnd game;
    ASSERT_TRUE(game.Create());
    m_client.m_gameWnd = game.m_hWnd;
    EXPECT_FALSE(m_view.IsGameView());
    SetParent(m_view.m_hWnd, game.m_hWnd);
    EXPECT_TRUE(m_view.IsGameView());
    CBstr title(L"in game");
    Fire(DISPID_TITLECHANGE, {Var(VT_BSTR, title.Get())});
    EXPECT_EQ(1u, game.m_titles.size());
    EXPECT_TRUE(m_holder.m_titles.empty());
    m_client.m_gameWnd = nullptr;
    EXPECT_FALSE(m_view.IsGameView());
    SetParent(m_view.m_hWnd, m_holder.m_hWnd);
}

TEST_F(IEViewTest, HeldInterfacesFailCleanlyAfterTheViewIsGone) {
    CComRef<IDispatch> external = External(), sink;
    sink.Set(m_view.GetEventSink());
    auto handler = Site<IDocHostUIHandler>(IID_IDocHostUIHandler);
    auto frame = Site<IOleInPlaceFrame>(IID_IOleInPlaceFrame);
    ASSERT_TRUE(external && sink && handler && frame);
    CBstr name(L"x");
    {
        // A second view, destroyed as a holder destroys its member view.
        auto* gone = new TestView;
        ASSERT_TRUE(gone->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, &m_holder, 7));
        CComRef<IDispatch> goneExternal;
        goneExternal.Set(gone->GetIDispatch(FALSE));
        delete gone;
        EXPECT_EQ(E_UNEXPECTED, Call(goneExternal.Get(), 3, {Var(VT_BSTR, name.Get())}));
        EXPECT_TRUE(m_client.m_gsNames.empty());
    }
    // As a page's script may, hold the control itself past its view.
    CComRef<IWebBrowser2> control;
    control.Set(m_view.GetBrowser());
    m_view.DestroyWindow();
    EXPECT_FALSE(m_view.GetBrowser());
    // Neither the control nor the view keeps the site or the sink: ours (two on the site) are the last.
    EXPECT_EQ(3u, handler->AddRef());
    handler->Release();
    EXPECT_EQ(2u, sink->AddRef());
    sink->Release();
    DOCHOSTUIINFO info = {};
    EXPECT_EQ(E_UNEXPECTED, handler->GetHostInfo(&info));
    CComRef<KeyRecorder> active;
    active.Attach(new KeyRecorder);
    EXPECT_EQ(E_UNEXPECTED, frame->SetActiveObject(active.Get(), nullptr));
    EXPECT_EQ(S_OK, frame->SetActiveObject(nullptr, nullptr));
    CBstr title(L"late");
    EXPECT_EQ(E_UNEXPECTED, Call(sink.Get(), DISPID_TITLECHANGE, {Var(VT_BSTR, title.Get())}));
    EXPECT_TRUE(m_holder.m_titles.empty());
    // The view object itself still answers window.external until it is destroyed.
    EXPECT_EQ(S_OK, Call(external.Get(), 3, {Var(VT_BSTR, name.Get())}));
}

TEST(IEViewLifetime, ManyViewsLeaveNoHandlesBehind) {
    RecordingPageClient client;
    HolderWnd holder;
    ASSERT_TRUE(holder.Create());
    auto cycle = [&holder](int count) {
        for (int i = 0; i < count; ++i) {
            CIEView view;
            ASSERT_TRUE(
                view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1}, &holder, IDC_WEBVIEW));
            view.MoveWindow(0, 0, 200, 100);
            view.Navigate(L"about:blank");
            PumpUntil(nullptr, 10);
            if (i % 2) view.DestroyWindow(); // the other half goes with the object
        }
        PumpUntil(nullptr, 100);
    };
    cycle(5); // the first views load the control's libraries and caches
    DWORD handles = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    cycle(40);
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handles + 10);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 10);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 10);
}

} // namespace
