#include "client/IEView.h"

#include "client/DocHostSite.h"
#include "client/PageClient.h"
#include "framework/DispArgs.h"
#include "framework/OleVariant.h"

#include <exdispid.h>

#include <new>

IMPLEMENT_DYNAMIC(CIEView, CHtmlView)

namespace {
const DispatchEntry kExternal[] = {
    {L"Invoke_Client", 0},
    {L"getNewMsg", 0},
    {L"getGsName", 0},
    {L"gameFullScreen", 0},
    {L"BeforeNavigate2", CIEView::dispidBeforeNavigate2},
    {L"DocumentComplete", CIEView::dispidDocumentComplete},
};

// Any value other than VARIANT_FALSE cancels; the control takes 1 like VARIANT_TRUE.
constexpr VARIANT_BOOL kCancel = 1;
} // namespace

CIEView::CIEView()
    : m_dwDocHostFlags(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO |
                       DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE | DOCHOSTUIFLAG_THEME |
                       DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION) {
    EnableAutomation();
}

CIEView::~CIEView() = default;

BOOL CIEView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

BOOL CIEView::CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT, REFCLSID) {
    if (!site) return FALSE;
    CDocHostSite* docHost = new (std::nothrow) CDocHostSite(container);
    if (docHost) docHost->m_pView = this;
    *site = docHost;
    return docHost != nullptr;
}

void CIEView::OnDestroy() {
    m_pBrowserApp.Release();
    CHtmlView::OnDestroy();
}

void CIEView::Navigate(const wchar_t* url) {
    if (!m_pBrowserApp) return;
    CBstr address(url ? url : L"");
    COleVariant flags(0L);
    COleVariant target(static_cast<const wchar_t*>(nullptr));
    COleVariant postData;
    COleVariant headers(static_cast<const wchar_t*>(nullptr));
    m_pBrowserApp->Navigate(address.Get(), &flags, &target, &postData, &headers);
}

CString CIEView::GetLocationURL() {
    if (!m_pBrowserApp) return CString();
    CBstr location;
    if (FAILED(m_pBrowserApp->get_LocationURL(location.Out()))) return CString();
    return location.Text();
}

BOOL CIEView::IsGameView() {
    IPageClient* client = GetPageClient();
    HWND game = client ? client->GetGameWindow() : nullptr;
    return game && m_hWnd && ::GetParent(m_hWnd) == game;
}

HRESULT CIEView::OnGetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    info->cbSize = sizeof(DOCHOSTUIINFO);
    info->dwFlags = m_dwDocHostFlags;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT CIEView::OnGetExternal(LPDISPATCH* dispatch) {
    if (!dispatch) return E_POINTER;
    *dispatch = GetIDispatch(TRUE);
    return *dispatch ? S_OK : E_OUTOFMEMORY;
}

void CIEView::OnTitleChange(const wchar_t* title) {
    if (m_hWnd) ::SendMessageW(::GetParent(m_hWnd), WM_TITLE_CHANGED, 0, reinterpret_cast<LPARAM>(title));
    CHtmlView::OnTitleChange(title);
}

void CIEView::OnNavigateComplete2(const wchar_t* url) {
    if (IPageClient* client = GetPageClient()) client->NavigateComplete2(*this, url);
}

void CIEView::BeforeNavigate2(LPDISPATCH, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                              VARIANT_BOOL* cancel) {
    IPageClient* client = GetPageClient();
    if (!client) return;
    BOOL cancelled = FALSE;
    client->BeforeNavigate2(*this, VariantToText(url), &cancelled);
    if (cancelled && cancel) *cancel = kCancel;
}

void CIEView::DocumentComplete(LPDISPATCH, VARIANT* url) {
    if (IPageClient* client = GetPageClient()) client->DocumentComplete(*this, VariantToText(url));
}

void CIEView::OnInvokeClient(const wchar_t*, IDispatch*) {}

void CIEView::OnNewWindow3(IDispatch**, VARIANT_BOOL* cancel, long, const wchar_t*, const wchar_t* url) {
    IPageClient* client = GetPageClient();
    if (!client) return;
    BOOL cancelled = FALSE;
    client->NewWindow3(*this, url ? url : L"", &cancelled);
    if (cancelled && cancel) *cancel = kCancel;
}

void CIEView::OnBrowserEvent(DISPID id, DISPPARAMS* params) {
    if (id != DISPID_NEWWINDOW3) {
        CHtmlView::OnBrowserEvent(id, params);
        return;
    }
    CDispArgs args(params);
    if (args.Expect(5) != S_OK) return;
    long flags = 0;
    args.Long(2, &flags);
    VARIANT_BOOL* target = args.BoolRef(1);
    VARIANT_BOOL cancel = target ? *target : VARIANT_FALSE;
    OnNewWindow3(args.DispatchRef(0), &cancel, flags, args.Text(3), args.Text(4));
    if (target) *target = cancel;
}

const DispatchEntry* CIEView::GetDispatchMap(size_t* count) const {
    *count = sizeof kExternal / sizeof kExternal[0];
    return kExternal;
}

HRESULT CIEView::InvokeEntry(DISPID id, DISPPARAMS* params, VARIANT*, UINT* argErr) {
    CDispArgs args(params);
    switch (id) {
    case dispidBeforeNavigate2:
        return FireBeforeNavigate2(params, argErr);
    case dispidDocumentComplete:
        return FireDocumentComplete(params, argErr);
    case dispidInvokeClient: {
        HRESULT hr = args.Expect(2);
        if (FAILED(hr)) return hr;
        if (!args.IsObjectOrNothing(1)) {
            *argErr = 0;
            return DISP_E_TYPEMISMATCH;
        }
        IDispatch* callback = args.Dispatch(1);
        if (!callback) return E_POINTER;
        OnInvokeClient(args.Text(0), callback);
        return S_OK;
    }
    case dispidGetNewMsg:
    case dispidGetGsName:
    case dispidGameFullScreen: {
        HRESULT hr = args.Expect(1);
        if (FAILED(hr)) return hr;
        IPageClient* client = GetPageClient();
        if (!client) return S_OK;
        if (id == dispidGetNewMsg)
            client->GetNewMsg(*this);
        else if (id == dispidGetGsName)
            client->GetGsName(*this, args.Text(0));
        else
            client->GameFullScreen(*this);
        return S_OK;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
