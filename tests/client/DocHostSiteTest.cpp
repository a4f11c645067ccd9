#include "BrowserTestHost.h"

#include "client/DocHostSite.h"
#include "framework/ComRef.h"

#include <gtest/gtest.h>

namespace {

::testing::Environment* const g_ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

// A site under a view that has no window: the site's answers do not need one.
class DocHostSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_site = new CDocHostSite(&m_container);
        m_site->m_pView = &m_view;
        ASSERT_HRESULT_SUCCEEDED(
            m_site->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(m_unknown.Out())));
        m_site->Release();
    }
    template <class T> CComRef<T> Query(REFIID iid) {
        CComRef<T> p;
        m_unknown->QueryInterface(iid, reinterpret_cast<void**>(p.Out()));
        return p;
    }

    COleControlContainer m_container{nullptr};
    CIEView m_view;
    CDocHostSite* m_site = nullptr;
    CComRef<IUnknown> m_unknown;
};

TEST_F(DocHostSiteTest, AllPartsShareOneIdentityAndOneCount) {
    const IID* iids[] = {&IID_IDocHostShowUI,           &IID_IDocHostUIHandler, &IID_IDocHostUIHandler2,
                         &IID_IInternetSecurityManager, &IID_IServiceProvider,  &IID_IOleCommandTarget,
                         &IID_IOleClientSite,           &IID_IOleInPlaceSite,   &IID_IOleInPlaceFrame};
    for (const IID* iid : iids) {
        CComRef<IUnknown> part = Query<IUnknown>(*iid);
        ASSERT_TRUE(part);
        CComRef<IUnknown> back;
        ASSERT_HRESULT_SUCCEEDED(part->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(back.Out())));
        EXPECT_EQ(m_unknown.Get(), back.Get());
    }
    // A reference taken through one part is given back through another.
    CComRef<IOleCommandTarget> target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
    ULONG base = m_unknown->AddRef();
    EXPECT_EQ(base + 1, target->AddRef());
    IServiceProvider* provider = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        target->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&provider)));
    EXPECT_EQ(base + 1, provider->Release());
    EXPECT_EQ(base, target->Release());
    EXPECT_EQ(base - 1, m_unknown->Release());
    CComRef<IUnknown> none;
    EXPECT_EQ(E_NOINTERFACE, m_unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(none.Out())));
    EXPECT_FALSE(none);
}

TEST_F(DocHostSiteTest, UrlActionPolicy) {
    CComRef<IInternetSecurityManager> manager = Query<IInternetSecurityManager>(IID_IInternetSecurityManager);
    ASSERT_TRUE(manager);
    struct {
        DWORD action;
        HRESULT answer;
    } cases[] = {{0x11FF, INET_E_DEFAULT_ACTION},
                 {0x1200, S_OK},
                 {0x13FF, S_OK},
                 {0x1400, S_OK},
                 {0x1406, S_OK},
                 {0x15FF, S_OK},
                 {0x1600, INET_E_DEFAULT_ACTION}};
    for (const auto& c : cases) {
        DWORD policy = 0xDEADBEEF;
        EXPECT_EQ(c.answer,
                  manager->ProcessUrlAction(L"http://x/", c.action, reinterpret_cast<BYTE*>(&policy),
                                            sizeof policy, nullptr, 0, 0, 0))
            << std::hex << c.action;
        EXPECT_EQ(c.answer == S_OK ? DWORD(URLPOLICY_ALLOW) : 0xDEADBEEF, policy) << std::hex << c.action;
    }
    BYTE small[4] = {0xAA, 0xBB, 0xCC, 0xDD};
    EXPECT_EQ(S_FALSE, manager->ProcessUrlAction(L"http://x/", 0x1400, small, 3, nullptr, 0, 0, 0));
    EXPECT_EQ(0xAA, small[0]);
    EXPECT_EQ(0xCC, small[2]);
    EXPECT_EQ(S_FALSE, manager->ProcessUrlAction(L"http://x/", 0x1400, nullptr, 4, nullptr, 0, 0, 0));

    DWORD zone = 7;
    EXPECT_EQ(INET_E_DEFAULT_ACTION, manager->MapUrlToZone(L"http://x/", &zone, 0));
    EXPECT_EQ(7u, zone);
    EXPECT_EQ(INET_E_DEFAULT_ACTION, manager->SetSecuritySite(nullptr));
    EXPECT_EQ(INET_E_DEFAULT_ACTION, manager->SetZoneMapping(0, L"x", 0));
}

TEST_F(DocHostSiteTest, SecurityManagerService) {
    CComRef<IServiceProvider> provider = Query<IServiceProvider>(IID_IServiceProvider);
    CComRef<IInternetSecurityManager> manager;
    ASSERT_EQ(S_OK, provider->QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager,
                                           reinterpret_cast<void**>(manager.Out())));
    EXPECT_EQ(Query<IInternetSecurityManager>(IID_IInternetSecurityManager).Get(), manager.Get());

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, provider->QueryService(SID_SInternetSecurityManager, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, provider->QueryService(IID_IWebBrowser2, IID_IInternetSecurityManager, &out));
    EXPECT_EQ(nullptr, out);
}

TEST_F(DocHostSiteTest, ScriptErrorsAreSwallowedAndNothingElse) {
    CComRef<IOleCommandTarget> target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
    COleVariant out(L"untouched");
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, target->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out));
    EXPECT_EQ(S_OK, target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out));
    EXPECT_EQ(VT_BSTR, V_VT(&out));
    EXPECT_STREQ(L"untouched", V_BSTR(&out));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, target->Exec(&CGID_DocHostCommandHandler, 41, 0, nullptr, nullptr));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED,
              target->Exec(&IID_IUnknown, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
    OLECMD cmd = {OLECMDID_SHOWSCRIPTERROR, 0};
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, target->QueryStatus(&CGID_DocHostCommandHandler, 1, &cmd, nullptr));
}

TEST_F(DocHostSiteTest, HostInformationOnlyThroughTheFirstHandler) {
    CComRef<IDocHostUIHandler> first = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    CComRef<IDocHostUIHandler2> second = Query<IDocHostUIHandler2>(IID_IDocHostUIHandler2);
    ASSERT_TRUE(first && second);
    OLECHAR css[] = L"css";
    DOCHOSTUIINFO info = {};
    info.dwFlags = 0x1234;
    info.dwDoubleClick = 9;
    info.pchHostCss = css;
    EXPECT_EQ(S_FALSE, second->GetHostInfo(&info));
    EXPECT_EQ(0x1234u, info.dwFlags);
    EXPECT_EQ(9u, info.dwDoubleClick);

    EXPECT_EQ(S_OK, first->GetHostInfo(&info));
    EXPECT_EQ(sizeof(DOCHOSTUIINFO), info.cbSize);
    EXPECT_EQ(0x0404400Cu, info.dwFlags);
    EXPECT_EQ(0u, info.dwDoubleClick);
    EXPECT_EQ(css, info.pchHostCss);

    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(S_FALSE, second->GetExternal(&external));
    EXPECT_EQ(reinterpret_cast<IDispatch*>(1), external);
    EXPECT_EQ(S_FALSE, second->GetOverrideKeyPath(nullptr, 0));
    EXPECT_EQ(S_FALSE, second->HideUI());
    EXPECT_EQ(S_FALSE, second->ShowContextMenu(0, nullptr, nullptr, nullptr));

    ASSERT_EQ(S_OK, first->GetExternal(&external));
    EXPECT_EQ(m_view.GetIDispatch(FALSE), external);
    external->Release();
}

TEST_F(DocHostSiteTest, UserInterfaceAnswersOfTheBrowserView) {
    CComRef<IDocHostUIHandler> handler = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    POINT pt = {};
    EXPECT_EQ(S_FALSE, handler->ShowContextMenu(0, &pt, nullptr, nullptr));
    EXPECT_EQ(S_FALSE, handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, handler->HideUI());
    EXPECT_EQ(S_OK, handler->UpdateUI());
    EXPECT_EQ(S_OK, handler->EnableModeless(TRUE));
    EXPECT_EQ(S_OK, handler->OnDocWindowActivate(TRUE));
    EXPECT_EQ(S_OK, handler->OnFrameWindowActivate(FALSE));
    EXPECT_EQ(S_OK, handler->ResizeBorder(nullptr, nullptr, TRUE));
    EXPECT_EQ(S_FALSE, handler->GetOptionKeyPath(nullptr, 0));
    EXPECT_EQ(S_FALSE, handler->GetDropTarget(nullptr, nullptr));
    EXPECT_EQ(S_FALSE, handler->TranslateUrl(0, nullptr, nullptr));
    EXPECT_EQ(S_FALSE, handler->FilterDataObject(nullptr, nullptr));
    MSG msg = {nullptr, WM_KEYDOWN, VK_F5, 0};
    EXPECT_EQ(E_NOTIMPL, handler->TranslateAccelerator(&msg, nullptr, 0));
    msg.message = WM_CHAR;
    EXPECT_EQ(E_NOTIMPL, handler->TranslateAccelerator(&msg, &CGID_DocHostCommandHandler, 1));

    CComRef<IDocHostShowUI> show = Query<IDocHostShowUI>(IID_IDocHostShowUI);
    LRESULT result = 5;
    EXPECT_EQ(S_FALSE, show->ShowMessage(nullptr, nullptr, nullptr, MB_OK, nullptr, 0, &result));
    EXPECT_EQ(5, result);
    EXPECT_EQ(E_NOTIMPL, show->ShowHelp(nullptr, nullptr, 0, 0, POINT{}, nullptr));
}

TEST_F(DocHostSiteTest, DetachedSiteNoLongerReachesTheView) {
    CComRef<IDocHostUIHandler> handler = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    CComRef<IOleInPlaceSite> inPlace = Query<IOleInPlaceSite>(IID_IOleInPlaceSite);
    m_site->Detach();
    DOCHOSTUIINFO info = {};
    EXPECT_EQ(E_UNEXPECTED, handler->GetHostInfo(&info));
    EXPECT_EQ(0u, info.dwFlags);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(E_UNEXPECTED, handler->GetExternal(&external));
    EXPECT_EQ(nullptr, external);
    EXPECT_EQ(E_UNEXPECTED, handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr));
    HWND wnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(E_UNEXPECTED, inPlace->GetWindow(&wnd));
    EXPECT_EQ(nullptr, wnd);
    EXPECT_EQ(E_UNEXPECTED, inPlace->CanInPlaceActivate());
    // The fixed policy needs no view and stays.
    CComRef<IOleCommandTarget> target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
    EXPECT_EQ(S_OK, target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
}

} // namespace
