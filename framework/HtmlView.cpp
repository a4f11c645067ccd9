#include "framework/HtmlView.h"

#include "framework/DispArgs.h"
#include "framework/OleVariant.h"

#include <exdispid.h>

#include <new>

IMPLEMENT_DYNAMIC(CHtmlView, CWnd)

CHtmlView::CHtmlView() = default;

CHtmlView::~CHtmlView() {
    // CWnd's destructor unbinds before it destroys the window, so WM_DESTROY never reaches us then.
    DestroyControl();
    if (m_pDispatch) m_pDispatch->Detach();
    m_pDispatch.Release();
}

BOOL CHtmlView::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                       CWnd* parent, UINT id) {
    CString plainClass;
    if (!className) {
        plainClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
        className = plainClass;
    }
    return CWnd::Create(className, windowName, style, rect, parent, id);
}

BOOL CHtmlView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= WS_CLIPCHILDREN;
    return CWnd::PreCreateWindow(cs);
}

int CHtmlView::OnCreate(LPCREATESTRUCTW cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    if (!CreateControl()) {
        DestroyControl();
        return -1;
    }
    return 0;
}

void CHtmlView::OnDestroy() {
    DestroyControl();
    CWnd::OnDestroy();
}

void CHtmlView::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    FitControl();
}

// The one place the control is sized: exactly the client area, never enlarged to push the control's
// border out of sight (the host asks the control for no border instead).
void CHtmlView::FitControl() {
    if (!m_pCtrlCont) return;
    RECT rc = m_pCtrlCont->GetControlRect();
    if (m_pInPlaceObject) m_pInPlaceObject->SetObjectRects(&rc, &rc);
}

HWND CHtmlView::GetBrowserWindow() const {
    if (!m_pInPlaceObject) return nullptr;
    HWND wnd = nullptr;
    if (FAILED(m_pInPlaceObject->GetWindow(&wnd))) return nullptr;
    return wnd;
}

BOOL CHtmlView::CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT, REFCLSID) {
    if (!site) return FALSE;
    *site = new (std::nothrow) COleControlSite(container);
    return *site != nullptr;
}

BOOL CHtmlView::CreateControl() {
    m_pCtrlCont.reset(new (std::nothrow) COleControlContainer(m_hWnd));
    if (!m_pCtrlCont) return FALSE;
    COleControlSite* site = nullptr;
    if (!CreateControlSite(m_pCtrlCont.get(), &site, AFX_IDW_PANE_FIRST, CLSID_WebBrowser) || !site)
        return FALSE;
    m_pSite.Attach(site);

    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(m_pOleObject.Out()))))
        return FALSE;
    IOleClientSite* clientSite = static_cast<IOleClientSite*>(m_pSite.Get());
    if (FAILED(m_pOleObject->SetClientSite(clientSite))) return FALSE;
    m_pOleObject.QueryInto(m_pBrowserApp, IID_IWebBrowser2);
    if (!m_pBrowserApp) return FALSE;

    // Listen before activation so no early event is lost.
    CComRef<IConnectionPointContainer> points;
    m_pOleObject.QueryInto(points, IID_IConnectionPointContainer);
    m_pSink.Attach(CBrowserEventSink::Create(this));
    if (!points || !m_pSink ||
        FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, m_pEventPoint.Out())))
        return FALSE;
    if (FAILED(m_pEventPoint->Advise(m_pSink.Get(), &m_dwEventCookie))) {
        m_dwEventCookie = 0;
        return FALSE;
    }

    RECT rc = m_pCtrlCont->GetControlRect();
    if (FAILED(m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, m_hWnd, &rc)))
        return FALSE;
    m_pOleObject.QueryInto(m_pInPlaceObject, IID_IOleInPlaceObject);
    HWND browser = GetBrowserWindow();
    if (!browser) return FALSE;
    SetWindowLongPtrW(browser, GWLP_ID, AFX_IDW_PANE_FIRST);
    // The control may not name an active object of its own before a document is up; keys still go to it.
    if (!m_pCtrlCont->GetActiveObject()) {
        CComRef<IOleInPlaceActiveObject> active;
        m_pOleObject.QueryInto(active, IID_IOleInPlaceActiveObject);
        m_pCtrlCont->SetActiveObject(active.Get());
    }
    FitControl();
    return TRUE;
}

void CHtmlView::DestroyControl() {
    if (m_pSink) m_pSink->Detach();
    if (m_pEventPoint && m_dwEventCookie) m_pEventPoint->Unadvise(m_dwEventCookie);
    m_dwEventCookie = 0;
    m_pEventPoint.Release();
    m_pSink.Release();
    if (m_pCtrlCont) m_pCtrlCont->SetActiveObject(nullptr);
    if (m_pInPlaceObject) m_pInPlaceObject->InPlaceDeactivate();
    m_pInPlaceObject.Release();
    if (m_pOleObject) {
        m_pOleObject->Close(OLECLOSE_NOSAVE);
        m_pOleObject->SetClientSite(nullptr);
    }
    m_pBrowserApp.Release();
    m_pOleObject.Release();
    if (m_pSite) m_pSite->Detach();
    m_pSite.Release();
    if (m_pCtrlCont) m_pCtrlCont->Clear();
    m_pCtrlCont.reset();
}

BOOL CHtmlView::PreTranslateMessage(MSG* msg) {
    if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_pCtrlCont || !m_hWnd)
        return FALSE;
    if (msg->hwnd != m_hWnd && !IsChild(m_hWnd, msg->hwnd)) return FALSE;
    // Keep the object alive across the call: the control may tear the view down from inside it.
    CComRef<IOleInPlaceActiveObject> active;
    active.Set(m_pCtrlCont->GetActiveObject());
    return active && active->TranslateAccelerator(msg) == S_OK;
}

void CHtmlView::EnableAutomation() {
    if (m_pDispatch) return;
    size_t count = 0;
    const DispatchEntry* entries = GetDispatchMap(&count);
    m_pDispatch.Attach(CDispatchTable::Create(entries, entries ? count : 0, this));
}

IDispatch* CHtmlView::GetIDispatch(BOOL addRef) {
    if (m_pDispatch && addRef) m_pDispatch->AddRef();
    return m_pDispatch.Get();
}

const DispatchEntry* CHtmlView::GetDispatchMap(size_t* count) const {
    if (count) *count = 0;
    return nullptr;
}

HRESULT CHtmlView::InvokeEntry(DISPID, DISPPARAMS*, VARIANT*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CHtmlView::OnShowContextMenu(DWORD, LPPOINT, LPUNKNOWN, LPDISPATCH) {
    return S_FALSE;
}
HRESULT CHtmlView::OnGetHostInfo(DOCHOSTUIINFO*) {
    return E_NOTIMPL;
}
HRESULT CHtmlView::OnShowUI(DWORD, LPOLEINPLACEACTIVEOBJECT, LPOLECOMMANDTARGET, LPOLEINPLACEFRAME,
                            LPOLEINPLACEUIWINDOW) {
    return S_FALSE;
}
HRESULT CHtmlView::OnHideUI() {
    return S_OK;
}
HRESULT CHtmlView::OnUpdateUI() {
    return S_OK;
}
HRESULT CHtmlView::OnEnableModeless(BOOL) {
    return S_OK;
}
HRESULT CHtmlView::OnDocWindowActivate(BOOL) {
    return S_OK;
}
HRESULT CHtmlView::OnFrameWindowActivate(BOOL) {
    return S_OK;
}
HRESULT CHtmlView::OnResizeBorder(LPCRECT, LPOLEINPLACEUIWINDOW, BOOL) {
    return S_OK;
}
HRESULT CHtmlView::OnGetOptionKeyPath(LPOLESTR*, DWORD) {
    return S_FALSE;
}
HRESULT CHtmlView::OnGetDropTarget(LPDROPTARGET, LPDROPTARGET*) {
    return S_FALSE;
}
HRESULT CHtmlView::OnGetExternal(LPDISPATCH* dispatch) {
    if (dispatch) *dispatch = nullptr;
    return E_NOTIMPL;
}
HRESULT CHtmlView::OnTranslateUrl(DWORD, OLECHAR*, OLECHAR**) {
    return S_FALSE;
}
HRESULT CHtmlView::OnFilterDataObject(LPDATAOBJECT, LPDATAOBJECT*) {
    return S_FALSE;
}

void CHtmlView::OnBrowserEvent(DISPID id, DISPPARAMS* params) {
    UINT argErr = 0;
    CDispArgs args(params);
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        FireBeforeNavigate2(params, &argErr);
        break;
    case DISPID_DOCUMENTCOMPLETE:
        FireDocumentComplete(params, &argErr);
        break;
    case DISPID_NAVIGATECOMPLETE2:
        if (args.Expect(2) == S_OK) OnNavigateComplete2(args.Text(1));
        break;
    case DISPID_TITLECHANGE:
        if (args.Expect(1) == S_OK) OnTitleChange(args.Text(0));
        break;
    default:
        break;
    }
}

HRESULT CHtmlView::FireBeforeNavigate2(DISPPARAMS* params, UINT* argErr) {
    CDispArgs args(params);
    HRESULT hr = args.Expect(7);
    if (FAILED(hr)) return hr;
    if (!args.IsObjectOrNothing(0)) {
        *argErr = 6;
        return DISP_E_TYPEMISMATCH;
    }
    COleVariant url(args.Text(1));
    COleVariant nothing[4];
    VARIANT* rest[4];
    for (UINT i = 0; i < 4; ++i) {
        rest[i] = args.Value(2 + i);
        if (!rest[i]) rest[i] = &nothing[i];
    }
    VARIANT_BOOL* target = args.BoolRef(6);
    VARIANT_BOOL cancel = target ? *target : VARIANT_FALSE;
    BeforeNavigate2(args.Dispatch(0), &url, rest[0], rest[1], rest[2], rest[3], &cancel);
    // Only a real by-reference flag is written; script has nothing to write back into.
    if (target) *target = cancel;
    return S_OK;
}

HRESULT CHtmlView::FireDocumentComplete(DISPPARAMS* params, UINT* argErr) {
    CDispArgs args(params);
    HRESULT hr = args.Expect(2);
    if (FAILED(hr)) return hr;
    if (!args.IsObjectOrNothing(0)) {
        *argErr = 1;
        return DISP_E_TYPEMISMATCH;
    }
    COleVariant url(args.Text(1));
    DocumentComplete(args.Dispatch(0), &url);
    return S_OK;
}

void CHtmlView::BeforeNavigate2(LPDISPATCH, VARIANT* url, VARIANT* flags, VARIANT* targetFrameName, VARIANT*,
                                VARIANT* headers, VARIANT_BOOL* cancel) {
    long flagValue = 0;
    VariantToLong(flags, &flagValue);
    BOOL cancelled = cancel && *cancel != VARIANT_FALSE;
    OnBeforeNavigate2(VariantToText(url), static_cast<DWORD>(flagValue), VariantToText(targetFrameName),
                      VariantToText(headers), &cancelled);
    if (cancel) *cancel = cancelled ? VARIANT_TRUE : VARIANT_FALSE;
}

void CHtmlView::DocumentComplete(LPDISPATCH, VARIANT* url) {
    OnDocumentComplete(VariantToText(url));
}

void CHtmlView::OnBeforeNavigate2(const wchar_t*, DWORD, const wchar_t*, const wchar_t*, BOOL*) {}
void CHtmlView::OnDocumentComplete(const wchar_t*) {}
void CHtmlView::OnNavigateComplete2(const wchar_t*) {}
void CHtmlView::OnTitleChange(const wchar_t*) {}
