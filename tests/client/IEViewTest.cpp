#include "BrowserTestHost.h"

#include "framework/ComRef.h"
#include "framework/DispatchTable.h"

#include <exdispid.h>
#include <mshtmhst.h>

#include <gtest/gtest.h>

namespace {

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

    // window.external as the page gets it: from the control's client site.
    CComRef<IDispatch> External() {
        CComRef<IOleObject> object;
        CComRef<IOleClientSite> site;
        CComRef<IDocHostUIHandler> handler;
        CComRef<IDispatch> external;
        if (FAILED(m_view.GetBrowser()->QueryInterface(IID_IOleObject,
                                                       reinterpret_cast<void**>(object.Out()))) ||
            FAILED(object->GetClientSite(site.Out())) ||
            FAILED(site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(handler.Out()))))
            return external;
        handler->GetExternal(external.Out());
        return external;
    }
    static DISPID IdOf(IDispatch* disp, const wchar_t* name) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 0;
        HRESULT hr = disp->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        return SUCCEEDED(hr) ? id : DISPID_UNKNOWN;
    }
    static HRESULT Call(IDispatch* disp, DISPID id, EventArgs& args, UINT* argErr = nullptr) {
        UINT err = 0;
        return disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, args.Get(), nullptr, nullptr,
                            argErr ? argErr : &err);
    }
    HRESULT Fire(DISPID id, EventArgs& args) { return Call(m_view.GetEventSink(), id, args); }

    static HolderWnd* s_holder;
    RecordingPageClient m_client;
    HolderWnd& m_holder = *s_holder;
    TestView m_view;
};

HolderWnd* IEViewTest::s_holder = nullptr;

TEST_F(IEViewTest, ControlIsHostedByTheClientSite) {
    HWND browser = m_view.GetBrowserWindow();
    ASSERT_TRUE(browser);
    EXPECT_EQ(m_view.m_hWnd, GetParent(browser));
    EXPECT_EQ(static_cast<LONG_PTR>(AFX_IDW_PANE_FIRST), GetWindowLongPtrW(browser, GWLP_ID));
    EXPECT_TRUE(m_view.GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_EQ(static_cast<int>(IDC_WEBVIEW), m_view.GetDlgCtrlID());

    CComRef<IOleObject> object;
    ASSERT_HRESULT_SUCCEEDED(
        m_view.GetBrowser()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.Out())));
    CComRef<IOleClientSite> site;
    ASSERT_HRESULT_SUCCEEDED(object->GetClientSite(site.Out()));
    CComRef<IDocHostUIHandler> handler;
    ASSERT_HRESULT_SUCCEEDED(
        site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(handler.Out())));
    DOCHOSTUIINFO info = {};
    ASSERT_EQ(S_OK, handler->GetHostInfo(&info));
    EXPECT_EQ(0x0404400Cu, info.dwFlags);
    CComRef<IOleInPlaceSite> inPlace;
    ASSERT_HRESULT_SUCCEEDED(
        site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(inPlace.Out())));
    HWND host = nullptr;
    EXPECT_EQ(S_OK, inPlace->GetWindow(&host));
    EXPECT_EQ(m_view.m_hWnd, host);
}

TEST_F(IEViewTest, ExternalNamesMatchInAnyCase) {
    CComRef<IDispatch> external = External();
    ASSERT_TRUE(external);
    EXPECT_EQ(m_view.GetIDispatch(FALSE), external.Get());
    EXPECT_EQ(1, IdOf(external.Get(), L"invoke_client"));
    EXPECT_EQ(2, IdOf(external.Get(), L"GETNEWMSG"));
    EXPECT_EQ(3, IdOf(external.Get(), L"GetGsName"));
    EXPECT_EQ(4, IdOf(external.Get(), L"gamefullscreen"));
    EXPECT_EQ(250, IdOf(external.Get(), L"beforeNavigate2"));
    EXPECT_EQ(259, IdOf(external.Get(), L"DOCUMENTCOMPLETE"));
    EXPECT_EQ(DISPID_UNKNOWN, IdOf(external.Get(), L"getGsNam"));
    EXPECT_EQ(DISPID_UNKNOWN, IdOf(external.Get(), L""));

    CBstr name(L"服务器一");
    EventArgs one({VarBstr(name.Get())});
    EXPECT_EQ(S_OK, Call(external.Get(), IdOf(external.Get(), L"getgsname"), one));
    ASSERT_EQ(1u, m_client.m_gsNames.size());
    EXPECT_STREQ(L"服务器一", m_client.m_gsNames[0]);
    EventArgs nullText({VarBstr(nullptr)});
    EXPECT_EQ(S_OK, Call(external.Get(), 3, nullText));
    EXPECT_STREQ(L"", m_client.m_gsNames.at(1));
    EventArgs number({VarI4(42)});
    EXPECT_EQ(S_OK, Call(external.Get(), 3, number));
    EXPECT_STREQ(L"42", m_client.m_gsNames.at(2));
    EXPECT_EQ(S_OK, Call(external.Get(), IdOf(external.Get(), L"GetNewMsg"), nullText));
    EXPECT_EQ(S_OK, Call(external.Get(), 4, nullText));
    EXPECT_EQ(1, m_client.m_newMsgs);
    EXPECT_EQ(1, m_client.m_fullScreens);

    EventArgs none({});
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(external.Get(), 3, none));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(external.Get(), 5, one));
    EXPECT_EQ(3u, m_client.m_gsNames.size());
}

TEST_F(IEViewTest, InvokeClientNeedsACallback) {
    CComRef<IDispatch> external = External();
    ASSERT_TRUE(external);
    CBstr text(L"hello");
    EventArgs noCallback({VarBstr(text.Get()), VarDispatch(nullptr)});
    EXPECT_EQ(E_POINTER, Call(external.Get(), 1, noCallback));
    EventArgs emptyCallback({VarBstr(text.Get()), Var(VT_NULL)});
    EXPECT_EQ(E_POINTER, Call(external.Get(), 1, emptyCallback));
    EventArgs numberCallback({VarBstr(text.Get()), VarI4(7)});
    EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(external.Get(), 1, numberCallback));
    EXPECT_TRUE(m_view.m_invokeTexts.empty());
    EventArgs withCallback({VarBstr(text.Get()), VarDispatch(external.Get())});
    EXPECT_EQ(S_OK, Call(external.Get(), 1, withCallback));
    ASSERT_EQ(1u, m_view.m_invokeTexts.size());
    EXPECT_STREQ(L"hello", m_view.m_invokeTexts[0]);
}

TEST_F(IEViewTest, ScriptCallsOfTheEventMethodsAreChecked) {
    CComRef<IDispatch> external = External();
    ASSERT_TRUE(external);
    m_client.m_cancelText = L"cancel";
    // Script passes plain values where the event has pointers: nothing is read through them.
    CBstr url(L"http://host/cancel");
    EventArgs plain({Var(VT_NULL), VarBstr(url.Get()), VarI4(0x1000), VarI4(0x2000), VarI4(0x3000),
                     VarI4(0x4000), VarI4(0x5000)});
    EXPECT_EQ(S_OK, Call(external.Get(), 250, plain));
    ASSERT_EQ(1u, m_client.m_before.size());
    EXPECT_STREQ(L"http://host/cancel", m_client.m_before[0]);
    EXPECT_EQ(0x5000, V_I4(&plain.Get()->rgvarg[0]));

    // A number as the address is read through a conversion; a real flag receives the cancel.
    VARIANT_BOOL flag = VARIANT_FALSE;
    EventArgs numbers({VarDispatch(nullptr), VarI4(12345), Var(VT_EMPTY), Var(VT_EMPTY), Var(VT_EMPTY),
                       Var(VT_EMPTY), VarBoolRef(&flag)});
    EXPECT_EQ(S_OK, Call(external.Get(), 250, numbers));
    EXPECT_STREQ(L"12345", m_client.m_before.at(1));
    EXPECT_EQ(VARIANT_FALSE, flag);
    CBstr cancelUrl(L"x-cancel");
    VARIANT inner = VarBstr(cancelUrl.Get());
    EventArgs cancelled({VarDispatch(nullptr), VarRef(&inner), Var(VT_EMPTY), Var(VT_EMPTY), Var(VT_EMPTY),
                         Var(VT_EMPTY), VarBoolRef(&flag)});
    EXPECT_EQ(S_OK, Call(external.Get(), 250, cancelled));
    EXPECT_NE(VARIANT_FALSE, flag);
    // A null flag pointer and null texts are survived.
    EventArgs nulls({VarDispatch(nullptr), VarBstr(nullptr), Var(VT_EMPTY), Var(VT_EMPTY), Var(VT_EMPTY),
                     Var(VT_EMPTY), VarBoolRef(nullptr)});
    EXPECT_EQ(S_OK, Call(external.Get(), 250, nulls));
    EXPECT_STREQ(L"", m_client.m_before.at(3));

    UINT argErr = 99;
    EventArgs wrongCount({VarBstr(url.Get())});
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(external.Get(), 250, wrongCount));
    EventArgs notAnObject({VarI4(1), VarBstr(url.Get()), Var(VT_EMPTY), Var(VT_EMPTY), Var(VT_EMPTY),
                           Var(VT_EMPTY), Var(VT_EMPTY)});
    EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(external.Get(), 250, notAnObject, &argErr));
    EXPECT_EQ(6u, argErr);
    EXPECT_EQ(4u, m_client.m_before.size());

    CBstr page(L"http://host/page");
    EventArgs complete({Var(VT_NULL), VarBstr(page.Get())});
    EXPECT_EQ(S_OK, Call(external.Get(), 259, complete));
    EventArgs completeNumber({VarDispatch(nullptr), VarI4(5)});
    EXPECT_EQ(S_OK, Call(external.Get(), 259, completeNumber));
    EventArgs completeObject({VarDispatch(nullptr), VarDispatch(external.Get())});
    EXPECT_EQ(S_OK, Call(external.Get(), 259, completeObject));
    ASSERT_EQ(3u, m_client.m_complete.size());
    EXPECT_STREQ(L"http://host/page", m_client.m_complete[0]);
    EXPECT_STREQ(L"5", m_client.m_complete[1]);
    EXPECT_STREQ(L"", m_client.m_complete[2]);
    EventArgs completeShort({VarBstr(page.Get())});
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(external.Get(), 259, completeShort));
}

TEST_F(IEViewTest, EventsArriveWithTheControlsArgumentLayout) {
    ASSERT_TRUE(m_view.GetEventSink());
    CComRef<IDispatch> frame = External(); // any object stands in for the frame's dispatch
    CBstr url(L"http://host/done");
    VARIANT urlValue = VarBstr(url.Get());
    EventArgs navigated({VarDispatch(frame.Get()), VarRef(&urlValue)});
    EXPECT_EQ(S_OK, Fire(DISPID_NAVIGATECOMPLETE2, navigated));
    EventArgs completed({VarDispatch(frame.Get()), VarRef(&urlValue)});
    EXPECT_EQ(S_OK, Fire(DISPID_DOCUMENTCOMPLETE, completed));
    ASSERT_EQ(1u, m_client.m_navigated.size());
    EXPECT_STREQ(L"http://host/done", m_client.m_navigated[0]);
    ASSERT_EQ(1u, m_client.m_complete.size());
    EXPECT_STREQ(L"http://host/done", m_client.m_complete[0]);

    CBstr title(L"标题 Title");
    EventArgs titled({VarBstr(title.Get())});
    EXPECT_EQ(S_OK, Fire(DISPID_TITLECHANGE, titled));
    ASSERT_EQ(1u, m_holder.m_titles.size());
    EXPECT_STREQ(L"标题 Title", m_holder.m_titles[0]);

    m_client.m_cancelText = L"popup";
    CBstr context(L"http://host/");
    CBstr popup(L"http://host/popup");
    CBstr other(L"http://host/other");
    IDispatch* newDisp = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT flags = Var(VT_UI4);
    V_UI4(&flags) = 0x80000006;
    VARIANT dispRef = Var(VT_BYREF | VT_DISPATCH);
    V_DISPATCHREF(&dispRef) = &newDisp;
    EventArgs newWindow({dispRef, VarBoolRef(&cancel), flags, VarBstr(context.Get()), VarBstr(popup.Get())});
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3, newWindow));
    EXPECT_NE(VARIANT_FALSE, cancel);
    cancel = VARIANT_FALSE;
    EventArgs otherWindow({dispRef, VarBoolRef(&cancel), VarI4(0), VarBstr(nullptr), VarBstr(other.Get())});
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3, otherWindow));
    EXPECT_EQ(VARIANT_FALSE, cancel);
    ASSERT_EQ(2u, m_client.m_newWindows.size());
    EXPECT_STREQ(L"http://host/popup", m_client.m_newWindows[0]);
    EXPECT_STREQ(L"http://host/other", m_client.m_newWindows[1]);
    EXPECT_EQ(nullptr, newDisp);

    // Malformed events are dropped, not read.
    EventArgs shortNewWindow({VarBoolRef(&cancel)});
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3, shortNewWindow));
    EXPECT_EQ(2u, m_client.m_newWindows.size());
    EventArgs shortTitle({});
    EXPECT_EQ(S_OK, Fire(DISPID_TITLECHANGE, shortTitle));
    EXPECT_EQ(1u, m_holder.m_titles.size());
}

TEST_F(IEViewTest, EventsWithoutPageRulesDoNothing) {
    SetPageClient(nullptr);
    CBstr url(L"http://host/popup");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT urlValue = VarBstr(url.Get());
    EventArgs before({VarDispatch(nullptr), VarRef(&urlValue), Var(VT_EMPTY), Var(VT_EMPTY), Var(VT_EMPTY),
                      Var(VT_EMPTY), VarBoolRef(&cancel)});
    EXPECT_EQ(S_OK, Fire(DISPID_BEFORENAVIGATE2, before));
    EventArgs newWindow({Var(VT_EMPTY), VarBoolRef(&cancel), VarI4(0), VarBstr(nullptr), VarBstr(url.Get())});
    EXPECT_EQ(S_OK, Fire(DISPID_NEWWINDOW3, newWindow));
    EXPECT_EQ(VARIANT_FALSE, cancel);
    EXPECT_FALSE(m_view.IsGameView());
    EXPECT_TRUE(m_client.m_before.empty());
    EXPECT_TRUE(m_client.m_newWindows.empty());
    SetPageClient(&m_client);
}

TEST_F(IEViewTest, GameViewOnlyInsideTheGameWindow) {
    EXPECT_FALSE(m_view.IsGameView());
    HolderWnd game;
    ASSERT_TRUE(game.Create());
    m_client.m_gameWnd = game.m_hWnd;
    EXPECT_FALSE(m_view.IsGameView());
    SetParent(m_view.m_hWnd, game.m_hWnd);
    EXPECT_TRUE(m_view.IsGameView());
    // Title changes go to whichever window holds the view now.
    CBstr title(L"in game");
    EventArgs titled({VarBstr(title.Get())});
    Fire(DISPID_TITLECHANGE, titled);
    EXPECT_EQ(1u, game.m_titles.size());
    EXPECT_TRUE(m_holder.m_titles.empty());
    m_client.m_gameWnd = nullptr;
    EXPECT_FALSE(m_view.IsGameView());
    SetParent(m_view.m_hWnd, m_holder.m_hWnd);
}

TEST_F(IEViewTest, ControlFillsTheClientAreaAfterEverySize) {
    const SIZE sizes[] = {{300, 200}, {640, 480}, {1, 1}, {123, 457}};
    for (SIZE size : sizes) {
        m_view.MoveWindow(5, 7, size.cx, size.cy);
        RECT client;
        m_view.GetClientRect(&client);
        RECT browser;
        GetWindowRect(m_view.GetBrowserWindow(), &browser);
        MapWindowPoints(nullptr, m_view.m_hWnd, reinterpret_cast<POINT*>(&browser), 2);
        EXPECT_EQ(client.left, browser.left);
        EXPECT_EQ(client.top, browser.top);
        EXPECT_EQ(client.right, browser.right) << size.cx;
        EXPECT_EQ(client.bottom, browser.bottom) << size.cy;
    }
}

// An in-place active object that eats F5 and counts what it was offered.
class FakeActiveObject : public IOleInPlaceActiveObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) ||
            IsEqualIID(riid, IID_IOleInPlaceActiveObject)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override {
        if (msg->message != WM_KEYDOWN) return S_FALSE;
        m_keys.push_back(static_cast<UINT>(msg->wParam));
        return msg->wParam == VK_F5 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    ULONG m_refs = 1;
    std::vector<UINT> m_keys;
};

// Records the keys that reach the control's window.
WNDPROC g_browserProc = nullptr;
std::vector<UINT> g_delivered;
LRESULT CALLBACK RecordKeys(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN) g_delivered.push_back(static_cast<UINT>(wParam));
    return CallWindowProcW(g_browserProc, wnd, msg, wParam, lParam);
}

TEST_F(IEViewTest, KeysGoToTheControlFromTheMessageLoop) {
    FakeActiveObject active;
    CComRef<IOleObject> object;
    ASSERT_HRESULT_SUCCEEDED(
        m_view.GetBrowser()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.Out())));
    CComRef<IOleClientSite> site;
    ASSERT_HRESULT_SUCCEEDED(object->GetClientSite(site.Out()));
    CComRef<IOleInPlaceFrame> frame;
    ASSERT_HRESULT_SUCCEEDED(
        site->QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame.Out())));

    HWND browser = m_view.GetBrowserWindow();
    g_delivered.clear();
    g_browserProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(browser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordKeys)));
    // The control itself lets ordinary keys through to its window.
    PostMessageW(browser, WM_KEYDOWN, 'B', 0);
    PumpFor(100);
    EXPECT_EQ(std::vector<UINT>{'B'}, g_delivered);
    g_delivered.clear();

    ASSERT_EQ(S_OK, frame->SetActiveObject(&active, nullptr));
    PostMessageW(browser, WM_KEYDOWN, VK_F5, 0);
    PostMessageW(browser, WM_KEYDOWN, 'A', 0);
    PumpFor(200);
    SetWindowLongPtrW(browser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_browserProc));

    EXPECT_EQ((std::vector<UINT>{VK_F5, 'A'}), active.m_keys);
    EXPECT_EQ(std::vector<UINT>{'A'}, g_delivered); // the accelerator was eaten
    // Messages for windows outside the view are not offered.
    MSG elsewhere = {m_holder.m_hWnd, WM_KEYDOWN, VK_F5, 0};
    EXPECT_FALSE(m_view.PreTranslateMessage(&elsewhere));
    EXPECT_EQ(2u, active.m_keys.size());
    frame->SetActiveObject(nullptr, nullptr);
    EXPECT_EQ(1u, active.m_refs);
}

TEST_F(IEViewTest, HeldInterfacesFailCleanlyAfterTheViewIsGone) {
    CComRef<IDispatch> external = External();
    CComRef<IDispatch> sink;
    sink.Set(m_view.GetEventSink());
    CComRef<IOleObject> object;
    ASSERT_HRESULT_SUCCEEDED(
        m_view.GetBrowser()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.Out())));
    CComRef<IOleClientSite> site;
    ASSERT_HRESULT_SUCCEEDED(object->GetClientSite(site.Out()));
    CComRef<IDocHostUIHandler> handler;
    ASSERT_HRESULT_SUCCEEDED(
        site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(handler.Out())));
    ASSERT_TRUE(external && sink && handler);

    {
        // A second view, destroyed as a holder destroys its member view.
        auto* gone = new TestView;
        ASSERT_TRUE(gone->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, &m_holder, 7));
        CComRef<IDispatch> goneExternal;
        goneExternal.Set(gone->GetIDispatch(FALSE));
        delete gone;
        CBstr name(L"x");
        EventArgs one({VarBstr(name.Get())});
        EXPECT_EQ(E_UNEXPECTED, Call(goneExternal.Get(), 3, one));
        EXPECT_TRUE(m_client.m_gsNames.empty());
    }

    m_view.DestroyWindow();
    EXPECT_FALSE(m_view.GetBrowser());
    // Neither the control nor the view keeps the site or the sink: ours are the last references.
    object.Release();
    site.Release();
    EXPECT_EQ(2u, handler->AddRef());
    handler->Release();
    EXPECT_EQ(2u, sink->AddRef());
    sink->Release();
    DOCHOSTUIINFO info = {};
    EXPECT_EQ(E_UNEXPECTED, handler->GetHostInfo(&info));
    CBstr title(L"late");
    EventArgs titled({VarBstr(title.Get())});
    EXPECT_EQ(E_UNEXPECTED, Call(sink.Get(), DISPID_TITLECHANGE, titled));
    EXPECT_TRUE(m_holder.m_titles.empty());
    // The view object itself still answers window.external until it is destroyed.
    CBstr name(L"still here");
    EventArgs one({VarBstr(name.Get())});
    EXPECT_EQ(S_OK, Call(external.Get(), 3, one));
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
            PumpFor(10);
            if (i % 2) view.DestroyWindow(); // the other half goes with the object
        }
        PumpFor(100);
    };
    cycle(5); // the first views load the control's libraries and caches
    DWORD handles = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    cycle(40);
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handles + 10);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 10);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 10);
    holder.DestroyWindow();
}

} // namespace
