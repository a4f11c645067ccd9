// The host site's answers through each of its interfaces, under a view that has no window.
#include "BrowserTestHost.h"

#include "client/DocHostSite.h"

namespace {

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
    for (const IID* iid : {&IID_IDocHostShowUI, &IID_IDocHostUIHandler, &IID_IDocHostUIHandler2,
                           &IID_IInternetSecurityManager, &IID_IServiceProvider, &IID_IOleCommandTarget,
                           &IID_IOleClientSite, &IID_IOleInPlaceSite, &IID_IOleInPlaceFrame}) {
        CComRef<IUnknown> part = Query<IUnknown>(*iid), back;
        ASSERT_TRUE(part);
        part->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(back.Out()));
        EXPECT_EQ(m_unknown.Get(), back.Get());
    }
    // A reference taken through one part is given back through another.
    CComRef<IOleCommandTarget> target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
    const ULONG base = m_unknown->AddRef();
    EXPECT_EQ(base + 1, target->AddRef());
    IServiceProvider* provider = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        target->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&provider)));
    EXPECT_EQ(base + 1, provider->Release());
    EXPECT_EQ(base, target->Release());
    EXPECT_EQ(base - 1, m_unknown->Release());
    EXPECT_FALSE(Query<IDispatch>(IID_IDispatch));
}

TEST_F(DocHostSiteTest, UrlActionsAndTheSecurityManagerService) {
    CComRef<IInternetSecurityManager> manager = Query<IInternetSecurityManager>(IID_IInternetSecurityManager);
    ASSERT_TRUE(manager);
    const struct {
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
    // Too small a buffer, or none, is left alone.
    BYTE small[4] = {0xAA, 0xBB, 0xCC, 0xDD};
    EXPECT_EQ(S_FALSE, manager->ProcessUrlAction(L"http://x/", 0x1400, small, 3, nullptr, 0, 0, 0));
    EXPECT_EQ(0xAA, small[0]);
    EXPECT_EQ(0xCC, small[2]);
    EXPECT_EQ(S_FALSE, manager->ProcessUrlAction(L"http://x/", 0x1400, nullptr, 4, nullptr, 0, 0, 0));
    DWORD zone = 7;
    EXPECT_EQ(INET_E_DEFAULT_ACTION, manager->MapUrlToZone(L"http://x/", &zone, 0));
    EXPECT_EQ(7u, zone);
    EXPECT_EQ(INET_E_DEFAULT_ACTION, manager->SetSecuritySite(nullptr));

    CComRef<IServiceProvider> provider = Query<IServiceProvider>(IID_IServiceProvider);
    CComRef<IInternetSecurityManager> served;
    ASSERT_EQ(S_OK, provider->QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager,
                                           reinterpret_cast<void**>(served.Out())));
    EXPECT_EQ(manager.Get(), served.Get());
    for (auto ids : {std::make_pair(SID_SInternetSecurityManager, IID_IUnknown),
                     std::make_pair(IID_IWebBrowser2, IID_IInternetSecurityManager)}) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, provider->QueryService(ids.first, ids.second, &out));
        EXPECT_EQ(nullptr, out);
    }
}

TEST_F(DocHostSiteTest, ScriptErrorsAreSwallowedAndNothingElse) {
    CComRef<IOleCommandTarget> target = Query<IOleCommandTarget>(IID_IOleCommandTarget);
    const struct {
        const GUID* group;
        DWORD id;
        HRESULT answer;
    } cases[] = {{nullptr, OLECMDID_SHOWSCRIPTERROR, OLECMDERR_E_NOTSUPPORTED},
                 {&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, S_OK},
                 {&CGID_DocHostCommandHandler, 41, OLECMDERR_E_NOTSUPPORTED},
                 {&IID_IUnknown, OLECMDID_SHOWSCRIPTERROR, OLECMDERR_E_NOTSUPPORTED}};
    for (const auto& c : cases) {
        COleVariant out(L"untouched");
        EXPECT_EQ(c.answer, target->Exec(c.group, c.id, 0, nullptr, &out)) << c.id;
        EXPECT_STREQ(L"untouched", V_BSTR(&out));
    }
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
    EXPECT_EQ(S_OK, first->GetHostInfo(&info));
    EXPECT_EQ(sizeof(DOCHOSTUIINFO), info.cbSize);
    EXPECT_EQ(0x0404400Cu, info.dwFlags);
    EXPECT_EQ(0u, info.dwDoubleClick);
    EXPECT_EQ(css, info.pchHostCss);

    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(S_FALSE, second->GetExternal(&external));
    EXPECT_EQ(nullptr, external) << "S_FALSE is success to the caller: no stale pointer";
    ASSERT_EQ(S_OK, first->GetExternal(&external));
    EXPECT_EQ(m_view.GetIDispatch(FALSE), external);
    external->Release();
}

// The answers the control acts on: S_FALSE lets it do its default, E_NOTIMPL leaves keys to it.
TEST_F(DocHostSiteTest, UserInterfaceAnswers) {
    CComRef<IDocHostUIHandler> handler = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    CComRef<IDocHostUIHandler2> second = Query<IDocHostUIHandler2>(IID_IDocHostUIHandler2);
    CComRef<IDocHostShowUI> show = Query<IDocHostShowUI>(IID_IDocHostShowUI);
    POINT pt = {};
    MSG key = {nullptr, WM_KEYDOWN, VK_F5, 0}, chr = {nullptr, WM_CHAR, 'a', 0};
    LRESULT result = 5;
    const std::pair<HRESULT, HRESULT> answers[] = {
        {S_FALSE, handler->ShowContextMenu(0, &pt, nullptr, nullptr)},
        {S_FALSE, handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr)},
        {S_OK, handler->HideUI()},
        {S_FALSE, handler->GetDropTarget(nullptr, nullptr)},
        {S_FALSE, handler->TranslateUrl(0, nullptr, nullptr)},
        {S_FALSE, handler->FilterDataObject(nullptr, nullptr)},
        {E_NOTIMPL, handler->TranslateAccelerator(&key, nullptr, 0)},
        {E_NOTIMPL, handler->TranslateAccelerator(&chr, &CGID_DocHostCommandHandler, 1)},
        {S_FALSE, second->HideUI()},
        {S_FALSE, second->ShowContextMenu(0, nullptr, nullptr, nullptr)},
        {S_FALSE, show->ShowMessage(nullptr, nullptr, nullptr, MB_OK, nullptr, 0, &result)},
        {E_NOTIMPL, show->ShowHelp(nullptr, nullptr, 0, 0, POINT{}, nullptr)},
    };
    for (size_t i = 0; i < std::size(answers); ++i)
        EXPECT_EQ(answers[i].first, answers[i].second) << "answer " << i;
    EXPECT_EQ(5, result);
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
    EXPECT_EQ(S_OK, Query<IOleCommandTarget>(IID_IOleCommandTarget)
                        ->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
}

} // namespace
